#pragma once

#include <nlohmann/json.hpp>

#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// The "analysis" object of zantro-cli's JSON for measured taps: the figures
// of the double taps and, under "quantized", of the fixed-point taps.
nlohmann::ordered_json AnalysisObject(bool bandsDerived, const ResponseFigures& figures, const QuantResult& quantized);
