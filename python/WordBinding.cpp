#include "python/WordBinding.h"

#include <algorithm>
#include <cmath>

#include "document/DesignJson.h"
#include "python/DesignError.h"
#include "python/LongCall.h"
#include "python/PyValues.h"

namespace {

// The refusals of a word search, as the keywords name them.
void RefuseBadInput(WordStatus status)
{
    switch (status) {
    case WordStatus::BadFormat:
        throw DesignError("quantize: the words cannot hold these taps in that format");
    case WordStatus::BadRequirement:
        throw DesignError("the bands must lie inside 0..fs/2 without overlapping, with limits above 0 dB");
    case WordStatus::NonFinite:
        throw DesignError("the taps hold values that are not finite numbers");
    case WordStatus::NoTaps:
        throw DesignError("there are no taps to choose words for");
    default:
        return;
    }
}

double RateFrom(const py::handle& value)
{
    const double fs = NumberFrom(value, "fs");
    if (!std::isfinite(fs) || !(fs > 0.0))
        throw DesignError("fs must be a finite sampling rate above 0 Hz");
    return fs;
}

}  // namespace

ChosenWords ChooseWordsStoppably(const std::vector<double>& taps, double fs, const std::vector<MaskBand>& mask,
                                 const WordRequest& request)
{
    return RunInterruptible([taps, fs, mask, request](const CancelFlag& cancel) {
        WordOptions options;
        // Stops when Ctrl-C left nobody waiting for the words.
        options.progress = [&cancel](double, double) { return !cancel; };
        return ChooseWords(taps, fs, mask, request, options);
    });
}

std::vector<SpecBand> RequirementBandsFrom(const py::handle& passBands, const py::handle& stopBands)
{
    std::vector<SpecBand> bands;
    if (!passBands.is_none())
        bands = SpecBandsFrom(passBands, BandKind::Pass, "pass_bands");
    if (!stopBands.is_none()) {
        const std::vector<SpecBand> stops = SpecBandsFrom(stopBands, BandKind::Stop, "stop_bands");
        bands.insert(bands.end(), stops.begin(), stops.end());
    }
    std::stable_sort(bands.begin(), bands.end(), [](const SpecBand& a, const SpecBand& b) { return a.loHz < b.loHz; });
    return bands;
}

py::object OptimizeWordsOf(const py::handle& taps, const py::handle& rate, const py::handle& quantize,
                           const py::handle& passBands, const py::handle& stopBands, const py::handle& bands,
                           const std::string& rounding)
{
    const std::vector<double> values = TapsFrom(taps, "taps");
    const double fs = RateFrom(rate);
    WordRequest request;
    request.format = QuantSpecFrom(quantize, rounding);
    request.requirement = RequirementBandsFrom(passBands, stopBands);
    const std::vector<MaskBand> mask = MaskBandsFrom(bands);
    if (request.requirement.empty() && mask.empty())
        throw DesignError("optimize_words needs pass_bands and stop_bands, or the bands whose own figures the words "
                          "should come closest to");
    const ChosenWords chosen = ChooseWordsStoppably(values, fs, mask, request);
    RefuseBadInput(chosen.result.status);
    return ToPython(OptimizedJson(chosen));
}

py::object FewestBitsOf(const py::handle& taps, const py::handle& rate, const py::handle& passBands,
                        const py::handle& stopBands, bool optimize, const std::string& rounding)
{
    const std::vector<double> values = TapsFrom(taps, "taps");
    const double fs = RateFrom(rate);
    const SpecRequirement requirement{fs, RequirementBandsFrom(passBands, stopBands)};
    if (requirement.bands.empty())
        throw DesignError("fewest_bits needs pass_bands and stop_bands");
    if (CheckWordRequirement(WordRequirementOf(requirement)) != WordCheck::Ok)
        RefuseBadInput(WordStatus::BadRequirement);
    const QuantRounding round = RoundingFrom(rounding);
    const FewestBitsResult run = RunInterruptible([values, requirement, round, optimize](const CancelFlag&) {
        return FindFewestBits(values, requirement, round, optimize);
    });
    if (run.chosen.status == WordLengthStatus::NonFinite)
        RefuseBadInput(WordStatus::NonFinite);
    py::dict out = ToPython(FewestBitsJson(run));
    out["words"] = ToPython(QuantizedJson(run.chosen.words.words));
    return out;
}

std::optional<ChosenWords> ExportWordsOf(const ExportDesign& design, bool optimize, const py::handle& passBands,
                                         const py::handle& stopBands, const QuantSpec& format)
{
    const std::vector<SpecBand> requirement = RequirementBandsFrom(passBands, stopBands);
    if (!optimize) {
        if (!requirement.empty())
            throw DesignError("pass_bands and stop_bands go with optimize_words=True");
        return std::nullopt;
    }
    WordRequest request;
    request.format = format;
    request.requirement = requirement;
    const ChosenWords chosen = ChooseWordsStoppably(design.taps, design.outline.fs, design.bands, request);
    RefuseBadInput(chosen.result.status);
    return chosen;
}
