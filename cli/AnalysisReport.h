#pragma once

#include <nlohmann/json.hpp>

#include "cli/AnalysisOptions.h"

struct DesignAnalysis;
class CZantroView;

// The "analysis" object of --json: the figures of the double taps and, under
// "quantized", of the fixed-point taps. null without a valid design.
class AnalysisReport {
public:
    static nlohmann::ordered_json Build(const CZantroView& view, const AnalysisRequest& request);
    static nlohmann::ordered_json Of(const DesignAnalysis& analysis);
};
