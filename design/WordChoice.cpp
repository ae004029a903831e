#include "design/WordChoice.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

std::string MarginText(double margin)
{
    if (!std::isfinite(margin))
        return margin > 0 ? "inf" : "-inf";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, margin, std::chars_format::fixed, 3);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

}  // namespace

ChosenWords ChooseWords(std::span<const double> taps, double fs, std::span<const MaskBand> mask,
                        const WordRequest& request, const WordOptions& options)
{
    ChosenWords chosen;
    chosen.request = request;
    if (request.requirement.empty()) {
        chosen.derived = true;
        chosen.requirement = RequirementOfTaps(taps, mask, fs);
    } else {
        SpecRequirement req{fs, request.requirement};
        std::stable_sort(req.bands.begin(), req.bands.end(),
                         [](const SpecBand& a, const SpecBand& b) { return a.loHz < b.loHz; });
        chosen.requirement = WordRequirementOf(req);
    }
    chosen.result = OptimizeWords(taps, chosen.requirement, request.format, options);
    return chosen;
}

ChosenWords ChooseWordsAgain(std::span<const double> taps, const ChosenWords& chosen, const QuantSpec& format)
{
    if (chosen.result.words.status == QuantStatus::Ok && SameWordFormat(chosen.result.words, taps, format))
        return chosen;
    ChosenWords again = chosen;
    again.request.format = format;
    again.result = OptimizeWords(taps, chosen.requirement, format);
    return again;
}

bool SameWordFormat(const QuantResult& words, std::span<const double> taps, const QuantSpec& format)
{
    const QuantResult shape = QuantizeTaps(taps, format);
    return shape.status == QuantStatus::Ok && words.wordLength == shape.wordLength &&
           words.fractionLength == shape.fractionLength && words.quantSpec.format == format.format;
}

std::string ChosenWordsText(const ChosenWords& chosen)
{
    const WordResult& r = chosen.result;
    std::string text = std::string("Words chosen to ") +
                       (chosen.derived ? "come closest to the design's own figures" : "meet the requirement") +
                       " rather than rounded: margin " + MarginText(r.judgement.margin) +
                       " of the tightest band's allowed deviation left (rounded: " +
                       MarginText(r.roundedJudgement.margin) + ")";
    return text;
}

FewestBitsResult FindFewestBits(std::span<const double> taps, const SpecRequirement& requirement, QuantRounding rounding,
                          bool optimise)
{
    FewestBitsResult run;
    run.optimized = optimise;
    const WordRequirement req = WordRequirementOf(requirement);
    QuantSpec format;
    format.format = QuantFormat::Bits;
    format.wordLength = 16;
    format.rounding = rounding;
    run.rounded = SearchFewestBits(taps, req, format, false);
    run.chosen = optimise ? SearchFewestBits(taps, req, format, true) : run.rounded;
    const std::string at = "At " + std::to_string(taps.size()) + " taps ";
    const std::string kind = optimise ? "optimised" : "rounded";
    if (run.chosen.status != WordLengthStatus::Met) {
        // Say when the taps themselves are the reason, not the words.
        const bool tapsMiss = !JudgeWords(taps, req).met;
        run.message = at + "no word of up to 32 bits meets the requirement (" + kind + " words" +
                      (tapsMiss ? "; the double-precision taps miss it too)." : ").");
        return run;
    }
    std::string rounded;
    if (optimise)
        rounded = run.rounded.status == WordLengthStatus::Met
                      ? "; rounded words need " + std::to_string(run.rounded.bits) + " bits"
                      : "; rounded words of up to 32 bits miss it";
    run.message = at + "the fewest bits that meet the requirement are " + std::to_string(run.chosen.bits) + " (" +
                  kind + " words" + rounded + ").";
    return run;
}
