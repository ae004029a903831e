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

// "LO:HI:pass|stop" with LO and HI in Hz (decimal numbers, LO < HI);
// nullopt otherwise. Edges beyond fs/2 are refused later by the measurement.
std::optional<MaskBand> ParseMaskBand(const std::string& text);
