#pragma once

#include <string>
#include <vector>

#include "dsp/OrderEstimate.h"
#include "form/DesignAnalysis.h"

// The figures of an analysis as rows of text, double precision beside the
// quantised taps, for the analysis window's table.

// What a band must achieve: a pass band's largest ripple, a stop band's
// smallest attenuation (dB); slope bands have none (NaN).
std::vector<double> DefaultBandLimits(const ResponseFigures& figures);

// A requirement's bands as the mask to measure (a pass band's desired gain
// 1, a stop band's 0) and its limits, one per band.
std::vector<MaskBand> RequirementMask(const SpecRequirement& requirement);
std::vector<double> RequirementLimits(const SpecRequirement& requirement);

struct FigureRow {
    std::string label;
    std::string doubleText;
    std::string quantText;
    bool doubleMisses = false;  // the figure misses its band's limit
    bool quantMisses = false;
};

// One row per band figure (ripple or attenuation, largest and smallest
// gain), then -3 dB and -6 dB frequencies, group delay, DC and fs/2 gains,
// peak tap, sum |h|, headroom bits, and the quantiser's own figures.
// limits: as DefaultBandLimits, one per band (missing ones count as none).
std::vector<FigureRow> FigureRows(const DesignAnalysis& analysis, const std::vector<double>& limits);

// other's rows in the order and with the labels of rows, matched by label;
// a row other lacks shows "-" in both columns.
std::vector<FigureRow> AlignedRows(const std::vector<FigureRow>& rows, const std::vector<FigureRow>& other);

// v with decimals digits after the point, independent of the locale; "-" for NaN.
std::string FixedText(double v, int decimals);
