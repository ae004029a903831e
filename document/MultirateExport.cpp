#include "document/MultirateExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>

#ifndef ZANTRO_VERSION
#define ZANTRO_VERSION "0"
#endif

namespace {

const char* Suffix(MultirateWord w)
{
    return w == MultirateWord::F32 ? "f32" : w == MultirateWord::Q31 ? "q31" : "q15";
}

bool IsFixed(const MultirateExportOptions& o)
{
    return o.target != MultirateTarget::CPolyphase && o.word != MultirateWord::F32;
}

int FractionBits(MultirateWord w)
{
    return w == MultirateWord::Q31 ? 31 : 15;
}

std::string ElementType(const MultirateExportOptions& o)
{
    if (o.target == MultirateTarget::CPolyphase)
        return "float";
    return o.word == MultirateWord::F32 ? "float32_t" : o.word == MultirateWord::Q31 ? "q31_t" : "q15_t";
}

std::string IntegerLiteral(long long v)
{
    return v == -2147483648LL ? "(-2147483647 - 1)" : std::to_string(v);
}

// 9 significant digits: the compiler reads back the float that was rounded.
std::string FloatLiteral(double v)
{
    std::array<char, 64> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<float>(v),
                                         std::chars_format::scientific, 8);
    return (ec == std::errc() ? std::string(buf.data(), end) : "0") + "f";
}

std::string Literal(const MultirateWords& w, int i)
{
    if (i < 0 || i >= static_cast<int>(w.values.size()))
        return w.fixedPoint ? "0" : FloatLiteral(0.0);
    return w.fixedPoint ? IntegerLiteral(w.quant.taps[static_cast<size_t>(i)])
                        : FloatLiteral(w.values[static_cast<size_t>(i)]);
}

std::string Define(const std::string& name, const std::string& value, const std::string& comment)
{
    return "/* " + comment + " */\n#define " + name + " " + value + "\n";
}

std::string ListText(const std::vector<std::string>& literals, int perLine)
{
    std::string text;
    for (size_t i = 0; i < literals.size(); ++i) {
        text += (i % static_cast<size_t>(perLine) == 0 ? "    " : " ") + literals[i];
        if (i + 1 < literals.size())
            text += ",";
        if ((i + 1) % static_cast<size_t>(perLine) == 0 || i + 1 == literals.size())
            text += "\n";
    }
    return text;
}

std::string Decimals(double v, int decimals)
{
    return FixedDecimals(v, decimals);
}

const char* KindText(MultirateKind k)
{
    switch (k) {
    case MultirateKind::Decimate:
        return "decimation";
    case MultirateKind::Interpolate:
        return "interpolation";
    case MultirateKind::Halfband:
        return "half-band (Vaidyanathan-Nguyen: the band table designs G of (N+1)/2 taps, h = (delta + G(z^2))/2)";
    }
    return "";
}

const char* TargetText(const MultirateExportOptions& o)
{
    if (o.target == MultirateTarget::CPolyphase)
        return "plain C polyphase arrays, float";
    if (o.target == MultirateTarget::CmsisDecimate)
        return o.word == MultirateWord::F32   ? "CMSIS-DSP arm_fir_decimate_f32 (float32_t)"
               : o.word == MultirateWord::Q31 ? "CMSIS-DSP arm_fir_decimate_q31 (q31_t, Q1.31, 2.62 accumulator)"
                                              : "CMSIS-DSP arm_fir_decimate_q15 (q15_t, Q1.15, 34.30 accumulator)";
    return o.word == MultirateWord::F32   ? "CMSIS-DSP arm_fir_interpolate_f32 (float32_t)"
           : o.word == MultirateWord::Q31 ? "CMSIS-DSP arm_fir_interpolate_q31 (q31_t, Q1.31, 2.62 accumulator)"
                                          : "CMSIS-DSP arm_fir_interpolate_q15 (q15_t, Q1.15, 34.30 accumulator)";
}

const char* ProfileName(const MultirateExportOptions& o)
{
    static const char* const names[3][3] = {
        {"cmsis-decimate-f32", "cmsis-decimate-q31", "cmsis-decimate-q15"},
        {"cmsis-interpolate-f32", "cmsis-interpolate-q31", "cmsis-interpolate-q15"},
        {"c-polyphase", "c-polyphase", "c-polyphase"}};
    return names[static_cast<int>(o.target)][static_cast<int>(o.word)];
}

std::string Hz(double v)
{
    return (v == std::floor(v) ? NumberText(v) : Decimals(v, 1)) + " Hz";
}

}  // namespace

std::string MultirateBlockMessage(int blockSize, int factor)
{
    return "The block size " + std::to_string(blockSize) + " is not a multiple of the decimation factor " +
           std::to_string(factor) + ": arm_fir_decimate takes whole groups of " + std::to_string(factor) +
           " input samples a call (its init function returns ARM_MATH_LENGTH_ERROR otherwise).";
}

std::string CheckMultirateExport(const ExportDesign& d, const std::optional<MultirateDesign>& rate,
                                 const MultirateExportOptions& o)
{
    if (!rate)
        return kMsgMultirateNoRate;
    if (o.root.empty())
        return kMsgExportNoRoot;
    if (d.taps.empty())
        return kMsgMultirateNoRate;
    for (double t : d.taps)
        if (!std::isfinite(t))
            return kMsgExportNonFinite;
    if (o.target == MultirateTarget::CPolyphase)
        return {};
    if (o.blockSize < kMinExportBlockSize || o.blockSize > kMaxExportBlockSize)
        return kMsgExportBlockSize;
    if (o.target == MultirateTarget::CmsisDecimate && o.blockSize % rate->factor != 0)
        return MultirateBlockMessage(o.blockSize, rate->factor);
    if (PaddedTapCount(static_cast<int>(d.taps.size()), rate->factor) > 65535)
        return "CMSIS-DSP counts taps in 16 bits: at most 65535.";
    return {};
}

MultirateWords ComputeMultirateWords(const ExportDesign& d, const MultirateDesign& rate,
                                     const MultirateExportOptions& o)
{
    MultirateWords w;
    w.factor = rate.factor;
    const int taps = static_cast<int>(d.taps.size());
    const bool up = o.target == MultirateTarget::CmsisInterpolate ||
                    (o.target == MultirateTarget::CPolyphase && rate.kind == MultirateKind::Interpolate);
    w.numTaps = o.target == MultirateTarget::CmsisInterpolate ? PaddedTapCount(taps, rate.factor) : taps;
    w.phaseLength = PaddedTapCount(taps, rate.factor) / rate.factor;
    w.fixedPoint = IsFixed(o);
    double peak = 0.0;
    for (double t : d.taps)
        peak = std::max(peak, std::abs(t));
    w.tapGain = up ? rate.factor : 1.0;
    if (up && w.fixedPoint) {
        // The largest word is 1 - 2^-F: halve the gain until the peak tap,
        // rounded, stays below it.
        const double top = 1.0 - std::ldexp(1.0, -FractionBits(o.word));
        while (peak * w.tapGain > top - std::ldexp(0.5, -FractionBits(o.word)) && w.postShift < 16) {
            ++w.postShift;
            w.tapGain = std::ldexp(static_cast<double>(rate.factor), -w.postShift);
        }
    }
    std::vector<double> scaled(static_cast<size_t>(w.numTaps), 0.0);
    for (int i = 0; i < taps; ++i)
        scaled[static_cast<size_t>(i)] = d.taps[static_cast<size_t>(i)] * w.tapGain;
    if (w.fixedPoint) {
        QuantSpec words;
        words.format = QuantFormat::Bits;
        words.wordLength = FractionBits(o.word) + 1;
        words.fractionLength = FractionBits(o.word);
        words.rounding = o.rounding;
        w.quant = QuantizeTaps(scaled, words);
        w.values = w.quant.values;
    } else {
        for (double t : scaled)
            w.values.push_back(static_cast<double>(static_cast<float>(t)));
    }
    std::vector<double> unitGain;
    for (double v : w.values)
        unitGain.push_back(v / w.tapGain);
    w.figures = MeasureResponse(unitGain, d.outline.fs, d.bands, d.crossings);
    w.aliasAttenuationDb = AliasAttenuationDb(unitGain, rate.factor, d.outline.fs, rate.passHz);
    return w;
}

std::string MultirateHeaderText(const ExportDesign& d, const MultirateDesign& rate, const MultirateExportOptions& o,
                                const MultirateWords& w)
{
    const std::string name = ExportName(o.root);
    const std::string macro = ExportMacroName(o.root);
    const std::string type = ElementType(o);
    const int taps = static_cast<int>(d.taps.size());
    const int m = rate.factor;
    const double fs = d.outline.fs;
    const bool cmsis = o.target != MultirateTarget::CPolyphase;
    const bool up = o.target == MultirateTarget::CmsisInterpolate ||
                    (!cmsis && rate.kind == MultirateKind::Interpolate);
    const MultirateFigures exact = MeasureMultirate(d.taps, rate.kind, m, fs, rate.passHz, std::nullopt);

    std::vector<std::string> c;
    c.push_back(std::string("Zantro ") + ZANTRO_VERSION + ", export profile " + ProfileName(o) + ": " +
                TargetText(o));
    for (const std::string& line : ExportWarningLines(d))
        c.push_back(line);
    for (const std::string& line : ExportDesignLines(d))
        c.push_back(line);
    c.push_back(std::string("Rate change: ") + KindText(rate.kind) + " by " + std::to_string(m) + ", pass band 0 - " +
                Hz(rate.passHz) + "; " + (up ? Hz(fs / m) + " in, " + Hz(fs) + " out"
                                            : Hz(fs) + " in, " + Hz(fs / m) + " out") +
                " (the taps run at " + Hz(fs) + ")");
    const int macs = o.target == MultirateTarget::CmsisDecimate ? taps
                     : up                                       ? w.phaseLength
                                                                : MacsPerOutput(rate.kind, taps, m);
    c.push_back("Polyphase: " + std::to_string(m) + " phases of " + std::to_string(w.phaseLength) + " taps; " +
                std::to_string(macs) + " multiply-accumulates per output sample");
    if (o.target == MultirateTarget::CmsisDecimate) {
        c.push_back("Coefficient order: time-reversed as CMSIS-DSP takes it, coefficients[k] = b[" +
                    std::to_string(w.numTaps) + "-1-k]");
    } else if (o.target == MultirateTarget::CmsisInterpolate) {
        c.push_back("Coefficient order: time-reversed as CMSIS-DSP takes it, coefficients[k] = b[" +
                    std::to_string(w.numTaps) + "-1-k]");
        if (w.numTaps > taps)
            c.push_back("Padding: b[" + std::to_string(taps) +
                        (w.numTaps - taps > 1 ? ".." + std::to_string(w.numTaps - 1) : "") +
                        "] = 0 after the last tap (first in the array), so the count is a multiple of " +
                        std::to_string(m) + "; the delay stays (N-1)/2 = " + NumberText((taps - 1) / 2.0) +
                        " output samples");
    } else {
        c.push_back("Coefficient order: natural; phase p holds b[p], b[p+" + std::to_string(m) + "], b[p+2*" +
                    std::to_string(m) + "], ..., zero-padded to " + std::to_string(w.phaseLength) + " taps");
    }
    if (w.fixedPoint)
        c.push_back("Number format: " + std::to_string(FractionBits(o.word) + 1) + "-bit words, " +
                    std::to_string(FractionBits(o.word)) + " fraction bits; " +
                    (o.rounding == QuantRounding::Nearest ? "rounded to nearest" : "truncated toward zero") +
                    ", saturated; " + std::to_string(w.quant.saturated) + " taps saturated, largest error " +
                    Decimals(w.quant.maxErrorLsb, 3) + " LSB");
    else
        c.push_back("Number format: single precision, 9 significant digits (each literal is the nearest float)");
    if (up) {
        std::string gain = "Gain: zero stuffing divides the pass band by " + std::to_string(m) +
                           ", so the taps carry the factor " + std::to_string(m) + " and the pass band has unit gain";
        if (w.postShift > 0) {
            gain += ". The taps times " + std::to_string(m) + " reach 1.0, which Q1." +
                    std::to_string(FractionBits(o.word)) + " cannot hold (its largest word is 1 - 2^-" +
                    std::to_string(FractionBits(o.word)) + "): the words hold the taps times " +
                    NumberText(w.tapGain) + " and the output comes out " + Decimals(20 * std::log10(m / w.tapGain), 2) +
                    " dB low; shift it left by " + macro + "_POST_SHIFT = " + std::to_string(w.postShift) +
                    (w.postShift == 1 ? " bit" : " bits") + " (arm_shift_" + Suffix(o.word) +
                    ", saturating) to restore unit gain";
        }
        c.push_back(gain);
    }
    c.push_back("Measured on " + std::to_string(d.figures.gridIntervals) +
                " intervals from 0 to fs/2 at unit pass gain, double precision | as exported:");
    const ResponseFigures& t = w.figures;
    if (d.figures.status == MeasureStatus::Ok && t.status == MeasureStatus::Ok &&
        d.figures.bands.size() == t.bands.size()) {
        for (size_t i = 0; i < t.bands.size(); ++i) {
            const BandFigures& a = d.figures.bands[i];
            const BandFigures& b = t.bands[i];
            if (a.band.kind == BandKind::Pass)
                c.push_back("  pass " + NumberText(a.band.loHz) + " - " + Hz(a.band.hiHz) + ": ripple " +
                            Decimals(a.rippleDb, 4) + " dB | " + Decimals(b.rippleDb, 4) + " dB");
            else if (a.band.kind == BandKind::Stop)
                c.push_back("  stop " + NumberText(a.band.loHz) + " - " + Hz(a.band.hiHz) + ": attenuation " +
                            Decimals(a.attenuationDb, 2) + " dB | " + Decimals(b.attenuationDb, 2) + " dB");
        }
        if (const std::string whole = WholeResponseLine(d.figures, t); !whole.empty())
            c.push_back(whole);
    }
    c.push_back("  alias attenuation (weakest over k fs/" + std::to_string(m) + " -+ " + Hz(rate.passHz) +
                "): " + Decimals(exact.aliasAttenuationDb, 2) + " dB | " + Decimals(w.aliasAttenuationDb, 2) + " dB");
    c.push_back("  group delay " + NumberText((taps - 1) / 2.0) + " samples at " + Hz(fs));

    c.push_back("");
    const std::string s = Suffix(o.word);
    if (o.target == MultirateTarget::CmsisDecimate) {
        c.push_back("Use with CMSIS-DSP (" + macro + "_BLOCK_SIZE samples in, " + macro + "_BLOCK_SIZE / " + macro +
                    "_FACTOR out a call):");
        c.push_back("  static " + type + " state[" + macro + "_STATE_LEN(" + macro + "_BLOCK_SIZE)];");
        c.push_back("  arm_fir_decimate_instance_" + s + " dec;");
        c.push_back("  arm_fir_decimate_init_" + s + "(&dec, " + macro + "_NUM_TAPS, " + macro + "_FACTOR, " + name +
                    "_coefficients, state, " + macro + "_BLOCK_SIZE);");
        c.push_back("  arm_fir_decimate_" + s + "(&dec, input, output, " + macro + "_BLOCK_SIZE);");
    } else if (o.target == MultirateTarget::CmsisInterpolate) {
        c.push_back("Use with CMSIS-DSP (" + macro + "_BLOCK_SIZE samples in, " + macro + "_BLOCK_SIZE * " + macro +
                    "_FACTOR out a call):");
        c.push_back("  static " + type + " state[" + macro + "_STATE_LEN(" + macro + "_BLOCK_SIZE)];");
        c.push_back("  arm_fir_interpolate_instance_" + s + " interp;");
        c.push_back("  arm_fir_interpolate_init_" + s + "(&interp, " + macro + "_FACTOR, " + macro + "_NUM_TAPS, " +
                    name + "_coefficients, state, " + macro + "_BLOCK_SIZE);");
        c.push_back("  arm_fir_interpolate_" + s + "(&interp, input, output, " + macro + "_BLOCK_SIZE);");
        if (w.postShift > 0)
            c.push_back("  arm_shift_" + s + "(output, " + macro + "_POST_SHIFT, output, " + macro + "_BLOCK_SIZE * " +
                        macro + "_FACTOR);");
    } else if (up) {
        c.push_back("Interpolation, one input x[n] to " + macro + "_FACTOR outputs (x[n-k] the k-th newest):");
        c.push_back("  y[n*" + macro + "_FACTOR + p] = sum over k < " + macro + "_PHASE_LEN of " + name +
                    "_phases[p][k] * x[n-k]");
    } else {
        c.push_back("Decimation, " + macro + "_FACTOR inputs to one output (x[i] the input at the high rate):");
        c.push_back("  y[m] = sum over p < " + macro + "_FACTOR, k < " + macro + "_PHASE_LEN of " + name +
                    "_phases[p][k] * x[m*" + macro + "_FACTOR - p - k*" + macro + "_FACTOR]");
    }

    std::string text = "/*\n";
    for (const std::string& line : c)
        text += line.empty() ? " *\n" : " * " + line + "\n";
    text += " */\n";
    const std::string guard = macro + "_COEFFICIENTS_H";
    text += "#ifndef " + guard + "\n#define " + guard + "\n\n";
    text += cmsis ? "#include \"arm_math_types.h\"\n\n" : "";
    text += Define(macro + "_FACTOR", std::to_string(m),
                   up ? "Interpolation factor L" : "Decimation factor M");
    text += Define(macro + "_NUM_TAPS", std::to_string(w.numTaps),
                   w.numTaps > taps ? "Tap count, padded to a multiple of the factor" : "Tap count");
    text += Define(macro + "_PHASE_LEN", std::to_string(w.phaseLength), "Taps of each polyphase component");
    if (cmsis) {
        text += Define(macro + "_BLOCK_SIZE", std::to_string(o.blockSize), "Input samples per call");
        const std::string documented = o.target == MultirateTarget::CmsisDecimate ? macro + "_NUM_TAPS"
                                                                                  : macro + "_PHASE_LEN";
        text += Define(macro + "_STATE_LEN(block_size)",
                       "(" + documented + " + (block_size) - 1 + " + std::to_string(kMultirateStateMargin) + ")",
                       "State buffer length for block_size input samples a call: the documented " +
                           std::string(o.target == MultirateTarget::CmsisDecimate ? "numTaps" : "phaseLength") +
                           " + blockSize - 1 and " + std::to_string(kMultirateStateMargin) +
                           (o.target == MultirateTarget::CmsisInterpolate
                                ? " words past it: the interpolator reads up to 3 beyond (CMSIS-DSP issue 261), "
                                  "vector builds whole vectors"
                                : " words past it for vector builds' whole-vector loads"));
        if (up && w.fixedPoint)
            text += Define(macro + "_POST_SHIFT", std::to_string(w.postShift),
                           "Left shift of the output that restores unit pass-band gain");
    }
    text += "\n#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n";
    if (cmsis)
        text += "extern const " + type + " " + name + "_coefficients[" + macro + "_NUM_TAPS];\n";
    else
        text += "extern const float " + name + "_phases[" + macro + "_FACTOR][" + macro + "_PHASE_LEN];\n";
    text += "\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
    return text;
}

std::string MultirateSourceText(const MultirateExportOptions& o, const MultirateWords& w)
{
    const std::string name = ExportName(o.root);
    const std::string macro = ExportMacroName(o.root);
    const std::string header = std::filesystem::path(o.root + ".h").filename().string();
    std::string text = "/* The coefficients declared and described in " + header + ". */\n#include \"" + header +
                       "\"\n\n";
    const int perLine = w.fixedPoint ? 8 : 4;
    if (o.target != MultirateTarget::CPolyphase) {
        std::vector<std::string> literals;
        for (int k = 0; k < w.numTaps; ++k)
            literals.push_back(Literal(w, w.numTaps - 1 - k));
        return text + "const " + ElementType(o) + " " + name + "_coefficients[" + macro + "_NUM_TAPS] = {\n" +
               ListText(literals, perLine) + "};\n";
    }
    const int factor = w.factor;
    text += "const float " + name + "_phases[" + macro + "_FACTOR][" + macro + "_PHASE_LEN] = {\n";
    for (int p = 0; p < factor; ++p) {
        std::vector<std::string> literals;
        for (int k = 0; k < w.phaseLength; ++k)
            literals.push_back(Literal(w, p + k * factor));
        std::string list;
        const std::string lines = ListText(literals, perLine);
        for (size_t at = 0, end; at < lines.size(); at = end + 1) {
            end = lines.find('\n', at);
            list += "    " + lines.substr(at, end - at + 1);
        }
        text += "    /* phase " + std::to_string(p) + " */\n    {\n" + list + "    }" + (p + 1 < factor ? "," : "") +
                "\n";
    }
    return text + "};\n";
}

MultirateExportOptions MultirateOptionsOf(const ExportOptions& o)
{
    MultirateExportOptions m;
    switch (o.profile) {
    case ExportProfile::CmsisDecimateQ31:
    case ExportProfile::CmsisInterpolateQ31:
        m.word = MultirateWord::Q31;
        break;
    case ExportProfile::CmsisDecimateQ15:
    case ExportProfile::CmsisInterpolateQ15:
        m.word = MultirateWord::Q15;
        break;
    default:
        m.word = MultirateWord::F32;
        break;
    }
    m.target = o.profile == ExportProfile::CPolyphase ? MultirateTarget::CPolyphase
               : o.profile == ExportProfile::CmsisInterpolateF32 || o.profile == ExportProfile::CmsisInterpolateQ31 ||
                       o.profile == ExportProfile::CmsisInterpolateQ15
                   ? MultirateTarget::CmsisInterpolate
                   : MultirateTarget::CmsisDecimate;
    m.root = o.root;
    m.blockSize = o.blockSize;
    m.rounding = o.rounding;
    return m;
}

std::vector<ExportFile> MultirateExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords&)
{
    const MultirateExportOptions m = MultirateOptionsOf(o);
    if (!d.multirate) {
        const std::string text = std::string("/*\n * Zantro ") + ZANTRO_VERSION + ", export profile " +
                                 ProfileName(m) + ": " + TargetText(m) + "\n * " + kMsgMultirateNoRate + "\n */\n";
        return {{o.root + ".h", text}, {o.root + ".c", text}};
    }
    const MultirateWords w = ComputeMultirateWords(d, *d.multirate, m);
    return {{o.root + ".h", MultirateHeaderText(d, *d.multirate, m, w)}, {o.root + ".c", MultirateSourceText(m, w)}};
}
