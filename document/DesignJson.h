#pragma once

#include <span>

#include <nlohmann/json.hpp>

#include "design/RequirementSearch.h"
#include "design/WordChoice.h"
#include "dsp/RemezBand.h"
#include "dsp/FewestTapsSearch.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// The JSON objects of a design that zantro-cli's --json and the json export
// profile both write, from the measured values, so the two carry the same
// keys with the same values.

// The figures of one set of taps: "status", "grid_points", the bands
// ("kind", "lo_hz", "hi_hz", "max_db", "min_db", then "attenuation_db" of a
// stop band or "ripple_db", "desired" and "max_deviation"), crossings, group
// delay, gains, peak tap, sum |b| and headroom; then "measured" and
// "grid_intervals" as the first json exports named them.
nlohmann::ordered_json FiguresJson(const ResponseFigures& figures);

// The fixed-point taps: format, word and fraction lengths, shift, rounding,
// the words, their error and symmetry; the figures of the words both
// inline (when quantised) and under "figures".
nlohmann::ordered_json QuantizedJson(const QuantResult& quantized);

// Words chosen to meet a requirement: "status" ("met", "missed",
// "cancelled" or the refusal), what QuantizedJson gives of the words (their
// figures on the requirement's bands) with "rounding" "optimized", then
// "margin" and "rounded_margin" (the share of the tightest band's allowed
// deviation left, negative when exceeded), "met", "rounded_met",
// "band_margins", "whole_response" ("peak_hz", "peak_db" over the pass
// bands' top, "margin"), "requirement" (the bands with "limit_db") and
// "requirement_derived" (the design's own figures).
nlohmann::ordered_json OptimizedJson(const ChosenWords& chosen);

// The fewest bits found at a design's taps: "optimized", "status" ("met" or
// "unreachable"), "bits" and "rounded_bits" (null unless met), "margin" of
// the words found, "message".
nlohmann::ordered_json FewestBitsJson(const FewestBitsResult& run);

// The "analysis" object: "bands_derived" (false when a mask given by the
// user replaced the bands derived from the design), the figures of the
// double taps, "quantized", and "optimized" when words were chosen.
nlohmann::ordered_json AnalysisJson(const ResponseFigures& figures, const QuantResult& quantized, bool bandsDerived,
                                    const ChosenWords* optimized = nullptr);

// The Remez band table as the archive names its fields.
nlohmann::ordered_json RemezBandsJson(std::span<const RemezBand> bands);

// A requirement search: its status name ("met", "unreachable", "bad
// requirement"), one trial, and the required bands beside the figures a
// trial achieved (and, when quantised, its words achieved).
const char* SpecSearchStatusName(SpecSearchStatus status);
nlohmann::ordered_json TrialJson(const TrialVerdict& verdict);
nlohmann::ordered_json RequirementBandsJson(const SpecRequirement& requirement, const TrialVerdict& verdict);

// The result of Design to Requirement ("to_spec"): method, filter type,
// format, estimator and estimate, status, the N found, the next smaller N
// tried, every N tried, the Kaiser beta and corners or the Remez weights
// and grid density, and the bands with their limits and achieved figures.
nlohmann::ordered_json RequirementJson(const SpecRequest& request, const SpecDesignResult& result);
