#include "document/ExportProfile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "document/CoefficientFiles.h"
#include "document/ExportProfileTraits.h"
#include "dsp/DesignKinds.h"
#include "dsp/FewestTapsSearch.h"

#ifndef ZANTRO_VERSION
#define ZANTRO_VERSION "0"
#endif

namespace {

// The index of a kind in a name table, or "?" outside it.
template <size_t N>
std::string NameOf(const char* const (&names)[N], int index)
{
    return index >= 0 && index < static_cast<int>(N) ? names[index] : "?";
}

// Whole hertz as integers, band edges between them to 0.1 Hz.
std::string HzNumber(double v)
{
    return v == std::floor(v) && std::abs(v) < 1e15 ? NumberText(v) : FixedDecimals(v, 1);
}

// A linear-phase delay, (N - 1) / 2, is a whole or half sample and is
// printed exactly; any other (a minimum-phase mean) to four decimals, as
// the milliseconds beside it.
std::string SamplesNumber(double v)
{
    return 2.0 * v == std::floor(2.0 * v) && std::abs(v) < 1e15 ? NumberText(v) : FixedDecimals(v, 4);
}

std::string Hz(double v)
{
    return HzNumber(v) + " Hz";
}

std::string RoundingText(QuantRounding r)
{
    return r == QuantRounding::Nearest ? "rounded to nearest (halves away from zero)" : "truncated toward zero";
}

std::vector<std::string> OrderLines(const ExportOptions& o, int taps)
{
    if (TraitsOf(o.profile).family != ExportFamily::Cmsis)
        return {"Coefficient order: natural, b[0] first (b[0] meets the newest sample)"};
    const int numTaps = CmsisNumTaps(o.profile, taps);
    const int length = CmsisArrayLength(o.profile, taps, o.helium);
    std::vector<std::string> lines = {"Coefficient order: time-reversed as CMSIS-DSP takes it, coefficients[k] = b[" +
                                      std::to_string(numTaps) + "-1-k]"};
    if (numTaps > taps)
        lines.push_back("Padding: b[" + std::to_string(taps) +
                        (numTaps - taps > 1 ? ".." + std::to_string(numTaps - 1) : "") +
                        "] = 0, after the last tap (first in the array): the count is even and at least 4, "
                        "the delay stays");
    if (length > numTaps)
        lines.push_back("Helium: " + std::to_string(length - numTaps) + " zeros at the end pad the array to " +
                        std::to_string(length));
    return lines;
}

std::string FormatText(const ExportOptions& o, const ExportWords& w)
{
    const ExportProfileTraits& t = TraitsOf(o.profile);
    if (!w.fixedPoint) {
        if (t.numbers == ExportNumbers::Single)
            return "Number format: single precision, 9 significant digits (each literal is the nearest float)";
        if (t.numbers == ExportNumbers::Shortest)
            return "Number format: double precision taps (shortest round trip)";
        return "Number format: double precision, 17 significant digits (each literal is the nearest double)";
    }
    const QuantResult& q = w.quant;
    std::string text = "Number format: " + std::to_string(q.wordLength) + "-bit two's complement words, " +
                       std::to_string(q.fractionLength) + " fraction bits (value = word * 2^-" +
                       std::to_string(q.fractionLength) + ")";
    if (t.family != ExportFamily::Cmsis)
        text += "; shift " + std::to_string(q.shift) + " after a Q" + std::to_string(q.wordLength - 1) +
                " product";
    return text;
}

std::string BandLabel(const MaskBand& b)
{
    const char* kind = b.kind == BandKind::Pass ? "pass" : b.kind == BandKind::Stop ? "stop" : "slope";
    return std::string(kind) + " " + HzNumber(b.loHz) + " - " + Hz(b.hiHz);
}

// The chosen words' lines: how they were chosen, for what, how far they
// stray from the taps, and their margin beside rounding's.
std::vector<std::string> ChosenWordsLines(const ChosenWords& c)
{
    const WordResult& r = c.result;
    std::vector<std::string> lines = {
        "Quantisation: optimised words, chosen " +
        std::string(c.derived ? "to come closest to the design's own figures" : "to meet the requirement below") +
        " rather than rounded (lattice basis reduction, then a local search); largest distance from the taps " +
        FixedDecimals(r.words.maxErrorLsb, 3) + " LSB"};
    std::string bands = "Words' requirement:";
    for (const WordBand& b : c.requirement.bands) {
        const bool stop = b.band.kind == BandKind::Stop;
        bands += ' ';
        bands += BandLabel(b.band);
        bands += stop ? " attenuation at least " : " ripple at most ";
        bands += FixedDecimals(b.limitDb, stop ? 2 : 4);
        bands += " dB;";
    }
    lines.push_back(bands + " the whole response below the pass band's upper ripple limit");
    lines.push_back("Words' margin (the share of the tightest band's allowed deviation left, negative: exceeded): " +
                    FixedDecimals(r.judgement.margin, 4) + " " + (r.judgement.met ? "(met)" : "(missed)") +
                    "; the taps rounded: " + FixedDecimals(r.roundedJudgement.margin, 4) + " " +
                    (r.roundedJudgement.met ? "(met)" : "(missed)"));
    return lines;
}

// A requirement's verdict on the double taps beside the exported values:
// one line a band with its limit and margin, then the whole.
std::vector<std::string> RequirementLines(const ExportDesign& d, const ExportWords& w)
{
    const SpecRequirement requirement{d.outline.fs, d.requirement};
    const TrialVerdict exact = JudgeTaps(d.taps, requirement, std::nullopt);
    const TrialVerdict target = JudgeTaps(w.values, requirement, std::nullopt);
    std::vector<std::string> lines = {"Requirement, double precision | as exported:"};
    if (exact.bands.size() != d.requirement.size() || target.bands.size() != d.requirement.size())
        return {"Requirement: not judged, the bands could not be measured"};
    auto verdict = [](const BandVerdict& v, int decimals) {
        return v.met ? "met, margin " + FixedDecimals(v.marginDb, decimals) + " dB"
                     : "missed by " + FixedDecimals(-v.marginDb, decimals) + " dB";
    };
    for (size_t i = 0; i < d.requirement.size(); ++i) {
        const SpecBand& b = d.requirement[i];
        const bool pass = b.kind == BandKind::Pass;
        const int decimals = pass ? 4 : 2;
        lines.push_back("  " + BandLabel({b.kind, b.loHz, b.hiHz, 1.0}) + ", " +
                        (pass ? "ripple at most " : "attenuation at least ") + NumberText(b.limitDb) + " dB: " +
                        verdict(exact.bands[i], decimals) + " | " + verdict(target.bands[i], decimals));
    }
    lines.push_back(exact.met && target.met ? "  Met in double precision and as exported."
                    : exact.met             ? "  Missed as exported (met in double precision)."
                    : target.met            ? "  Missed in double precision (met as exported)."
                                            : "  Missed in double precision and as exported.");
    return lines;
}

// The figure a band is judged by, double precision beside the exported values.
std::string FiguresOf(const BandFigures& exact, const BandFigures& target)
{
    switch (exact.band.kind) {
    case BandKind::Stop:
        return "attenuation " + FixedDecimals(exact.attenuationDb, 2) + " dB | " +
               FixedDecimals(target.attenuationDb, 2) + " dB";
    case BandKind::Pass:
        return "ripple " + FixedDecimals(exact.rippleDb, 4) + " dB | " + FixedDecimals(target.rippleDb, 4) + " dB";
    case BandKind::Slope:
        return "largest deviation " + FixedDecimals(exact.maxDeviation, 6) + " | " +
               FixedDecimals(target.maxDeviation, 6);
    }
    return "";
}

}  // namespace

bool IsCmsisProfile(ExportProfile p)
{
    return TraitsOf(p).family == ExportFamily::Cmsis;
}

bool IsCProfile(ExportProfile p)
{
    const ExportFamily family = TraitsOf(p).family;
    return family == ExportFamily::Cmsis || family == ExportFamily::PlainC || family == ExportFamily::Multirate;
}

bool TakesWordLength(ExportProfile p)
{
    return (TraitsOf(p).options & kExportTakesWordLength) != 0;
}

bool TakesRounding(ExportProfile p)
{
    return (TraitsOf(p).options & kExportTakesRounding) != 0;
}

bool TakesBlock(ExportProfile p)
{
    return (TraitsOf(p).options & kExportTakesBlock) != 0;
}

bool TakesHelium(ExportProfile p)
{
    return (TraitsOf(p).options & kExportTakesHelium) != 0;
}

bool TakesFilterOptions(ExportProfile p)
{
    return (TraitsOf(p).options & kExportTakesFilterOptions) != 0;
}

std::optional<ExportProfile> ParseExportProfile(const std::string& name)
{
    std::string key;
    for (char c : name)
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const ExportProfileTraits& t : AllExportProfileTraits())
        if (key == t.name)
            return t.profile;
    return std::nullopt;
}

const char* ExportProfileName(ExportProfile p)
{
    return TraitsOf(p).name;
}

const char* ExportExtension(ExportProfile p)
{
    return TraitsOf(p).extension;
}

std::vector<std::string> ExportFilePaths(const ExportOptions& o)
{
    if (IsCProfile(o.profile))
        return {o.root + ".h", o.root + ".c"};
    std::vector<std::string> paths = {o.root + ExportExtension(o.profile)};
    if (TakesFilterOptions(o.profile) && o.stream)
        paths.push_back(o.root + "_axis" + ExportExtension(o.profile));
    if (TakesFilterOptions(o.profile) && o.testbench) {
        paths.push_back(o.root + "_tb" + ExportExtension(o.profile));
        paths.push_back(o.root + "_in.txt");
        paths.push_back(o.root + "_expected.txt");
    }
    return paths;
}

std::optional<QuantSpec> ExportQuantSpec(const ExportOptions& o)
{
    const ExportProfileTraits& t = TraitsOf(o.profile);
    if (t.wordRule == ExportWordRule::None)
        return std::nullopt;
    QuantSpec quantSpec;
    quantSpec.format = QuantFormat::Bits;
    quantSpec.rounding = o.rounding;
    if (t.wordRule == ExportWordRule::Chosen) {
        quantSpec.wordLength = o.wordLength;
        return quantSpec;
    }
    quantSpec.wordLength = t.wordBits;
    quantSpec.fractionLength = t.wordBits - 1;
    return quantSpec;
}

ExportWords ComputeExportWords(const ExportDesign& design, const ExportOptions& o)
{
    ExportWords w;
    const std::optional<QuantSpec> quantSpec = ExportQuantSpec(o);
    const ExportNumbers numbers = TraitsOf(o.profile).numbers;
    w.fixedPoint = numbers == ExportNumbers::Words;
    if (quantSpec && design.chosenWords)
        w.chosen = ChooseWordsAgain(design.taps, *design.chosenWords, *quantSpec);
    if (quantSpec && w.fixedPoint && w.chosen) {
        w.quant = w.chosen->result.words;
        w.quant.figures = MeasureResponse(w.quant.values, design.outline.fs, design.bands, design.crossings);
    } else if (quantSpec) {
        w.quant = QuantizeAndMeasure(design.taps, *quantSpec, design.outline.fs, design.bands, design.crossings);
    }
    if (w.fixedPoint) {
        w.values = w.quant.values;
    } else {
        const bool single = numbers == ExportNumbers::Single;
        for (double t : design.taps)
            w.values.push_back(single ? static_cast<double>(static_cast<float>(t)) : t);
    }
    w.figures = MeasureResponse(w.values, design.outline.fs, design.bands, design.crossings);
    return w;
}

int CmsisNumTaps(ExportProfile p, int taps)
{
    const ExportPadding& padding = TraitsOf(p).padding;
    return std::max(padding.minCount, padding.evenCount ? taps + taps % 2 : taps);
}

int CmsisArrayLength(ExportProfile p, int taps, bool helium)
{
    const int numTaps = CmsisNumTaps(p, taps);
    const int multiple = TraitsOf(p).padding.heliumMultiple;
    if (!helium || multiple <= 0)
        return numTaps;
    return (numTaps + multiple - 1) / multiple * multiple;
}

std::string ExportName(const std::string& root)
{
    return CoefficientIdentifier(root);
}

std::string ExportMacroName(const std::string& root)
{
    std::string macro = ExportName(root);
    for (char& c : macro)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return macro;
}

std::vector<std::string> ExportDesignLines(const ExportDesign& d)
{
    const DesignOutline& f = d.outline;
    std::vector<std::string> lines;
    if (!d.foreignSource.empty())
        return {"Filter: " + std::to_string(d.taps.size()) + " taps designed elsewhere, read from " + d.foreignSource,
                "Sampling rate: " + Hz(f.fs)};
    lines.push_back("Filter: " + NameOf(kFilterTypeNames, f.filterType) + ", " +
                    std::to_string(d.taps.size()) + " taps, " +
                    (d.methodName.empty() ? NameOf(kDesignMethodNames, f.designMethod) : d.methodName));
    const bool bandTable = f.designMethod == DM_REMEZ || f.designMethod == IndexOf(DesignMethod::LeastSquares);
    // A pulse has neither window nor corners: its name carries its parameters.
    const bool pulse = f.designMethod == IndexOf(DesignMethod::Pulse);
    if (!bandTable && !pulse) {
        std::string window = "Window: " + NameOf(kWindowTypeNames, f.windowType);
        if (f.windowType == WT_KAISER)
            window += ", beta " + FixedDecimals(f.shapeFactor, 2);
        else if (f.windowType == WT_CHEBYSHEV)
            window += ", " + NumberText(f.stopbandAtt) + " dB";
        lines.push_back(window);
    }
    lines.push_back("Sampling rate: " + Hz(f.fs));
    if (bandTable) {
        lines.push_back("Band table (grid density " + std::to_string(d.gridDensity) + "):");
        for (const RemezBand& b : f.remezBands)
            if (b.m_bUse)
                lines.push_back("  " + std::to_string(b.m_nLowerEdge) + " - " + std::to_string(b.m_nUpperEdge) +
                                " Hz, value " + FixedDecimals(b.m_dValue, 2) + ", weight " +
                                FixedDecimals(b.m_dWeight, 2));
    } else if (f.designMethod == DM_FREQUENCY_SAMPLING) {
        lines.push_back("Input data: " + std::to_string(f.inputData.size()) + " points from 0 to fs/2");
    } else if (!pulse && f.filterType >= FT_BANDPASS && f.filterType <= FT_DIFFERENTIATOR) {
        lines.push_back("Corners: " + Hz(f.firstCorner) + ", " + Hz(f.secondCorner));
    } else if (!pulse && f.filterType != FT_ALLPASS && f.filterType != FT_MOVING_AVERAGE) {
        lines.push_back("Corner: " + Hz(f.firstCorner));
    }
    if (f.filterType == FT_DIFFERENTIATOR)
        lines.push_back("Differentiator gain at fs/2: " + NumberText(f.diffGain));
    if (f.filterType == FT_GAUSSIAN)
        lines.push_back("Gaussian variance: " + NumberText(d.variance));
    lines.push_back("Scaling: " + NameOf(kIRScalingNames, d.irScaling) + ", gain " + NumberText(f.gain) +
                    (d.sinXComp ? ", sin(x)/x compensation on" : ""));
    return lines;
}

std::vector<std::string> ExportSummary(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    const DesignOutline& f = d.outline;
    std::vector<std::string> lines = {std::string("Zantro ") + ZANTRO_VERSION + ", export profile " +
                                      ExportProfileName(o.profile) + ": " + TraitsOf(o.profile).target};
    for (const std::string& line : ExportWarningLines(d))
        lines.push_back(line);
    for (const std::string& line : ExportDesignLines(d))
        lines.push_back(line);
    for (const std::string& line : OrderLines(o, static_cast<int>(d.taps.size())))
        lines.push_back(line);
    lines.push_back(FormatText(o, w));
    if (w.fixedPoint && w.chosen) {
        for (const std::string& line : ChosenWordsLines(*w.chosen))
            lines.push_back(line);
    } else if (w.fixedPoint) {
        lines.push_back("Quantisation: " + RoundingText(w.quant.quantSpec.rounding) + ", saturated at both ends; " +
                        std::to_string(w.quant.saturated) + " taps saturated, largest error " +
                        FixedDecimals(w.quant.maxErrorLsb, 3) + " LSB");
    }
    const ResponseFigures& exact = d.figures;
    const ResponseFigures& target = w.figures;
    if (const char* overflow = TraitsOf(o.profile).overflow; overflow && std::isfinite(target.sumAbsTaps))
        lines.push_back("Headroom: sum|b| = " + FixedDecimals(target.sumAbsTaps, 4) +
                        ", so a full-scale input gives outputs up to " + FixedDecimals(target.sumAbsTaps, 4) +
                        " x full scale (" + std::to_string(target.headroomBits) +
                        (target.headroomBits == 1 ? " bit" : " bits") + " of headroom); " + overflow);
    lines.push_back("Measured on " + std::to_string(exact.gridIntervals) +
                    " intervals from 0 to fs/2, double precision | as exported:");
    if (exact.status != MeasureStatus::Ok || target.status != MeasureStatus::Ok ||
        exact.bands.size() != target.bands.size()) {
        lines.push_back("  (no figures: the bands could not be measured)");
    } else {
        for (size_t i = 0; i < exact.bands.size(); ++i)
            lines.push_back("  " + BandLabel(exact.bands[i].band) + ": " + FiguresOf(exact.bands[i], target.bands[i]));
        if (const std::string whole = WholeResponseLine(exact, target); !whole.empty())
            lines.push_back(whole);
        // The gain at DC only where the design passes DC; elsewhere it is a
        // floor. Of taps designed elsewhere nothing is known: it is stated.
        const bool passesDc = f.filterType == FT_LOWPASS || f.filterType == FT_BANDSTOP ||
                              f.filterType >= FT_GAUSSIAN || !d.foreignSource.empty();
        lines.push_back(std::string("  ") +
                        (passesDc ? "DC gain " + FixedDecimals(exact.dcGainDb, 4) + " dB | " +
                                        FixedDecimals(target.dcGainDb, 4) + " dB; "
                                  : "") +
                        "group delay " + SamplesNumber(exact.groupDelaySamples) + " samples (" +
                        FixedDecimals(exact.groupDelayMs, 4) + " ms)");
    }
    if (!d.requirement.empty())
        for (const std::string& line : RequirementLines(d, w))
            lines.push_back(line);
    return lines;
}

std::vector<std::string> ExportWarningLines(const ExportDesign& d)
{
    std::vector<std::string> lines;
    for (const std::string& warning : UnsoundDesignWarnings(d.converged, d.figures))
        lines.push_back("WARNING: " + warning);
    return lines;
}

std::string UnsoundFixedPointMessage(const ExportDesign& d)
{
    const std::vector<std::string> warnings = UnsoundDesignWarnings(d.converged, d.figures);
    if (warnings.empty())
        return {};
    return warnings.front() +
           "\nFixed-point words sized for the pass band would not hold it: please change the design, or export "
           "a floating-point profile, whose files carry this warning.";
}

std::string WholeResponseLine(const ResponseFigures& exact, const ResponseFigures& target)
{
    if (!exact.whole.measured || !target.whole.measured)
        return {};
    auto peak = [](const WholeResponseFigures& w) {
        std::string text = FixedDecimals(w.peakDb, 4);
        if (w.peakDb >= 0.0)
            text.insert(text.begin(), '+');
        return text + " dB";
    };
    return "  outside the stop bands: peak " + peak(exact.whole) + " over the pass band at " + Hz(exact.whole.peakHz) +
           " | " + peak(target.whole) + " at " + Hz(target.whole.peakHz);
}

std::string NumberText(double v)
{
    std::array<char, 64> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    return ec == std::errc() ? std::string(buf.data(), end) : "?";
}

std::string FixedDecimals(double v, int decimals)
{
    if (!std::isfinite(v))
        return std::isnan(v) ? "-" : (v > 0 ? "inf" : "-inf");
    std::array<char, 400> buf{};
    const auto [end, ec] =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(buf.data(), end) : "?";
}
