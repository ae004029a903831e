#pragma once

#include <optional>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "design/WordChoice.h"
#include "document/ExportProfile.h"

namespace py = pybind11;

// Fixed-point words chosen for a requirement rather than rounded, in the
// module: zantro.optimize_words, zantro.fewest_bits and the optimize_words
// keywords of zantro.export and zantro.to_requirement.

// ChooseWords with the GIL released, stopped by Ctrl-C (KeyboardInterrupt).
ChosenWords ChooseWordsStoppably(const std::vector<double>& taps, double fs, const std::vector<MaskBand>& mask,
                                 const WordRequest& request);

// A requirement's bands from pass_bands and stop_bands rows (lo_hz, hi_hz,
// limit_db), either None; sorted by their lower edge.
std::vector<SpecBand> RequirementBandsFrom(const py::handle& passBands, const py::handle& stopBands);

// zantro.optimize_words: the words of taps at fs (Hz) in the quantize
// format chosen for the bands' limits, or, without them, for the taps' own
// figures on the measurement bands; zantro-cli's JSON "optimized" object.
py::object OptimizeWordsOf(const py::handle& taps, const py::handle& fs, const py::handle& quantize,
                           const py::handle& passBands, const py::handle& stopBands, const py::handle& bands,
                           const std::string& rounding);

// zantro.fewest_bits: the shortest word whose words (chosen when optimize,
// else rounded) meet the bands at the taps; zantro-cli's JSON
// "fewest_bits" object with "words", the "optimized" (or "quantized")
// object of the words found.
py::object FewestBitsOf(const py::handle& taps, const py::handle& fs, const py::handle& passBands,
                        const py::handle& stopBands, bool optimize, const std::string& rounding);

// zantro.export's optimize_words, pass_bands and stop_bands: the words
// chosen for the exported design in format, for the bands or else for the
// design's own figures on its bands; none when optimize is false (the
// bands then are refused).
std::optional<ChosenWords> ExportWordsOf(const ExportDesign& design, bool optimize, const py::handle& passBands,
                                         const py::handle& stopBands, const QuantSpec& format);
