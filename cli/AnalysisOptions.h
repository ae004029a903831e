#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

namespace CLI {
class App;
}

// What --json's "analysis" object measures: the mask replacing the derived
// bands (none given: derived from the design) and the quantisation.
struct AnalysisRequest {
    std::vector<MaskBand> mask;
    QuantSpec quantize;  // default Q15, rounding to nearest
};

// Adds --mask, --quantize and --rounding to the command line.
void AddAnalysisOptions(CLI::App& app, AnalysisRequest& request);

// "LO:HI:pass|stop" with LO and HI in Hz (finite decimal numbers from 0,
// LO < HI); nullopt otherwise. Edges beyond fs/2 are refused by
// MaskOutsideRate once the design's rate is known.
std::optional<MaskBand> ParseMaskBand(const std::string& text);

// Empty when every band of the mask lies within 0 .. fs/2 (fs in Hz);
// otherwise the usage error naming the first band that does not.
std::string MaskOutsideRate(const std::vector<MaskBand>& mask, int fs);
