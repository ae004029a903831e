#pragma once

#include <optional>
#include <span>
#include <vector>

#include "dsp/MaskDerivation.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"
#include "design/WordChoice.h"
#include "form/RateChangeAnalysis.h"

class CZantroView;

// The achieved figures of the form's last design, in double precision and
// after quantisation, as the analysis window and zantro-cli show them.
struct DesignAnalysis {
    bool valid = false;             // the form holds a valid design
    double fs = 0.0;                // Hz
    std::vector<double> taps;       // real parts of the design's coefficients
    std::vector<MaskBand> bands;    // the mask measured against
    bool bandsDerived = true;       // false when the caller's mask replaced the derived one
    bool crossings = false;         // -3 dB / -6 dB frequencies measured
    ResponseFigures figures;        // of the double taps
    QuantResult quantized;          // of the quantised taps
    // Words chosen for a requirement in the same format (the form's
    // m_WordRequest), and those words measured on bands as the others.
    std::optional<ChosenWords> chosen;
    QuantResult optimized;
    // The alias bands and attenuation of a lowpass made for a rate change.
    std::optional<RateChangeFigures> rateChange;
};

// What the mask derivation reads of the design the plots show (of the
// form's fields before any).
DesignOutline OutlineOf(const CZantroView& view);

// Measures the design the plots show (view.m_design): not valid before the
// first. mask replaces the derived bands when given; without it a design of
// Extras > More Methods is measured on its method's bands (the band table,
// or a raised-cosine pulse's flat and stop bands).
DesignAnalysis AnalyzeDesign(const CZantroView& view, const std::optional<std::vector<MaskBand>>& mask,
                             const QuantSpec& quantSpec);

// Chooses the words of request for the analysis's taps (its bands give a
// derived requirement) and measures them on its bands as the others.
void AddChosenWords(DesignAnalysis& analysis, const WordRequest& request);

// The form's m_WordRequest in format (its own without one), its
// requirement that of the design shown when it names none; none without
// a request.
std::optional<WordRequest> WordRequestOf(const CZantroView& view, const std::optional<QuantSpec>& format = std::nullopt);

// The words the form's m_WordRequest chooses for taps in format: its
// requirement, or the requirement the design shown was made for, or the
// taps' own figures on bands; none without a request.
std::optional<ChosenWords> ChosenWordsOf(const CZantroView& view, std::span<const double> taps, double fs,
                                         std::span<const MaskBand> bands, const QuantSpec& format);

// A design held for comparison measured again on other bands (those of the
// design it is compared with) and with another quantisation; its taps, fs
// and rate-change figures stay as they were.
DesignAnalysis MeasureAgain(const DesignAnalysis& held, const std::vector<MaskBand>& bands, const QuantSpec& quantSpec);
