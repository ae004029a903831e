#include "design/RequirementSearch.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "dsp/DesignKinds.h"

namespace {

bool IsWholeHz(double x)
{
    return std::isfinite(x) && x == std::floor(x) && x <= 10000000.0;
}

// Fixed-point text, independent of the process locale.
std::string Fixed(double value, int decimals)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

double RoundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

std::string BandLine(const BandVerdict& v, const BandVerdict* quant, const std::string& format)
{
    const bool pass = v.required.kind == BandKind::Pass;
    std::string line = std::string(pass ? "Pass band " : "Stop band ") + Fixed(v.required.loHz, 0) + " - " +
                       Fixed(v.required.hiHz, 0) + " Hz: ";
    const int decimals = pass ? 3 : 2;
    auto figure = [&](const BandVerdict& b) {
        return Fixed(pass ? b.figures.rippleDb : b.figures.attenuationDb, decimals) + " dB";
    };
    line += pass ? "ripple " : "attenuation ";
    line += figure(v);
    if (quant)
        line += ", " + format + " " + figure(*quant);
    line += pass ? " (at most " : " (at least ";
    line += Fixed(v.required.limitDb, decimals) + " dB)";
    return line;
}

std::string BandLines(const SpecRequest& request, const TrialVerdict& v)
{
    const std::string format = request.quantize ? QuantFormatName(*request.quantize) : std::string();
    std::string text;
    for (size_t i = 0; i < v.bands.size(); ++i) {
        const BandVerdict* quant = i < v.quantBands.size() ? &v.quantBands[i] : nullptr;
        text += '\n';
        text += BandLine(v.bands[i], quant, format);
    }
    return text;
}

}  // namespace

const char* RefusalOf(const SpecRequest& request)
{
    const SpecRequirement& req = request.requirement;
    if (request.designMethod != DM_SINC && request.designMethod != DM_REMEZ)
        return kMsgSpecMethod;
    if (!IsWholeHz(req.fs) || !(req.fs > 0.0))
        return kMsgSpecRate;
    if (request.designMethod == DM_REMEZ && (request.gridDensity < 8 || request.gridDensity > 64))
        return kMsgSpecGrid;
    for (const SpecBand& b : req.bands)
        if (!IsWholeHz(b.loHz) || !IsWholeHz(b.hiHz))
            return kMsgSpecEdges;
    switch (CheckRequirement(req)) {
    case SpecCheck::Ok:
        return nullptr;
    case SpecCheck::BadRate:
        return kMsgSpecRate;
    case SpecCheck::BadEdges:
        return kMsgSpecEdges;
    case SpecCheck::NoTransition:
        return kMsgSpecTransitions;
    case SpecCheck::BadLimit:
        return kMsgSpecLimits;
    default:
        return kMsgSpecPattern;
    }
}

SpecPlan PlanOf(const SpecRequest& request)
{
    SpecPlan plan;
    plan.filterType = RequirementFilterType(request.requirement);
    if (request.designMethod == DM_REMEZ) {
        plan.remez = EstimateRemezDesign(request.requirement);
        plan.estimatedTaps = plan.remez.taps;
        plan.estimator = plan.remez.usedIchige ? "Ichige" : "Herrmann";
    } else {
        plan.kaiser = EstimateKaiserDesign(request.requirement);
        plan.estimatedTaps = plan.kaiser.taps + (plan.kaiser.taps % 2 == 0 ? 1 : 0);
        plan.estimator = "Kaiser";
    }
    return plan;
}

SpecFormSetting SettingFor(const SpecRequest& request, const SpecPlan& plan, int taps)
{
    const SpecRequirement& req = request.requirement;
    SpecFormSetting s;
    s.filterType = plan.filterType;
    s.designMethod = request.designMethod;
    s.taps = taps;
    s.samplingRate = static_cast<int>(req.fs);
    // Both methods get the transition middles as corners, so the form reads
    // sensibly; only the windowed sinc uses them.
    std::vector<int> corners;
    for (size_t i = 0; i + 1 < req.bands.size(); ++i)
        corners.push_back(static_cast<int>(std::lround(0.5 * (req.bands[i].hiHz + req.bands[i + 1].loHz))));
    s.firstCorner = corners.empty() ? 0 : corners.front();
    s.secondCorner = corners.empty() ? 0 : corners.back();
    if (request.designMethod == DM_REMEZ) {
        s.windowType = -1;
        for (size_t i = 0; i < req.bands.size(); ++i) {
            RemezBand b;
            b.m_bUse = 1;
            b.m_nLowerEdge = static_cast<int>(req.bands[i].loHz);
            b.m_nUpperEdge = static_cast<int>(req.bands[i].hiHz);
            b.m_dValue = req.bands[i].kind == BandKind::Pass ? 1.0 : 0.0;
            const double w = i < plan.remez.weights.size() ? plan.remez.weights[i] : 1.0;
            b.m_dWeight = std::clamp(RoundTo(w, 2), 1.0, 100.0);
            s.bands.push_back(b);
        }
        s.gridDensity = request.gridDensity;
    } else {
        s.windowType = WT_KAISER;
        s.shapeFactor = std::clamp(RoundTo(plan.kaiser.beta, 2), 0.0, 20.0);
    }
    return s;
}

SpecDesignResult FindSpecDesign(const SpecRequest& request, const SpecTrialDesigner& designer)
{
    SpecDesignResult result;
    result.plan = PlanOf(request);
    SpecSearchSettings settings;
    settings.startTaps = result.plan.estimatedTaps;
    // The form's Kaiser window of even length peaks at N/2, half a tap off
    // the sinc's centre, so its taps are not linear phase: odd N only.
    settings.oddOnly = request.designMethod == DM_SINC;
    settings.quantize = request.quantize;
    result.search = SearchFewestTaps(request.requirement, settings, [&](int taps) {
        return designer(SettingFor(request, result.plan, taps));
    });
    result.setting = SettingFor(request, result.plan, result.search.found.taps);
    return result;
}

std::string SpecOutcomeText(const SpecRequest& request, const SpecDesignResult& result)
{
    const SpecSearchResult& s = result.search;
    const std::string estimate = std::to_string(result.plan.estimatedTaps) + " taps by " + result.plan.estimator +
                                 "'s formula";
    const std::string precision = request.quantize ? " in double precision and in " +
                                                         QuantFormatName(*request.quantize)
                                                   : std::string();
    if (s.status == SpecSearchStatus::Met) {
        std::string text = std::to_string(s.found.taps) + " taps meet the requirement" + precision +
                           " (estimate: " + estimate + ").";
        if (s.nextSmaller)
            text += '\n' + std::to_string(s.nextSmaller->taps) +
                    (s.nextSmaller->design == TrialStatus::Designed ? " taps do not." : " taps give no valid design.");
        return text + BandLines(request, s.found);
    }
    if (s.status == SpecSearchStatus::Unreachable) {
        std::string text = "No design up to 1025 taps meets the requirement" + precision + " (estimate: " +
                           estimate + ", " + std::to_string(s.tried.size()) + " designs tried).";
        if (s.found.bands.empty())
            return text + "\nNone of them gave a valid design.";
        return text + "\nBest reached with " + std::to_string(s.found.taps) + " taps:" + BandLines(request, s.found);
    }
    return RefusalOf(request) ? RefusalOf(request) : kMsgSpecPattern;
}
