#include <cmath>
#include <iostream>
#include <map>

#include "TestPaths.h"
#include "ExportTestSupport.h"
#include "document/MultirateExport.h"
#include "dsp/CPoints.h"
#include "dsp/HalfbandDesign.h"
#include "dsp/RemezDesign.h"

namespace fs = std::filesystem;

namespace {

// A model of CMSIS-DSP's FIR decimator and interpolator, written from the
// library's documentation (FIR_decimate and FIR_Interpolate groups): the
// coefficients time-reversed; the decimator keeps numTaps - 1 old samples
// before the block and computes one output from every M inputs, the first
// from the first input of the block; the interpolator keeps phaseLength - 1
// and computes L outputs per input, output j from the coefficients
// L-1-j, 2L-1-j, ... of the array; q15 sums 1.15 x 1.15 products in a
// 34.30 accumulator, drops 15 bits and saturates; q31 sums in 2.62 and
// keeps the upper 32 bits; f32 sums in float.
const char* kModel = R"(#include <stdio.h>
#include <string.h>
#include "arm_math_types.h"
typedef enum { ARM_MATH_SUCCESS = 0, ARM_MATH_LENGTH_ERROR = -2 } arm_status;
#define FINISH_f32(acc) (acc)
#define FINISH_q31(acc) ((q31_t)((acc) >> 31))
#define FINISH_q15(acc) ((q15_t)(((acc) >> 15) > 32767 ? 32767 : ((acc) >> 15) < -32768 ? -32768 : ((acc) >> 15)))
#define MODEL(S, T, ACC) \
typedef struct { uint8_t M; uint16_t numTaps; const T *pCoeffs; T *pState; } arm_fir_decimate_instance_##S; \
typedef struct { uint8_t L; uint16_t phaseLength; const T *pCoeffs; T *pState; } arm_fir_interpolate_instance_##S; \
static arm_status arm_fir_decimate_init_##S(arm_fir_decimate_instance_##S *I, uint16_t numTaps, uint8_t M, \
    const T *pCoeffs, T *pState, uint32_t blockSize) \
{ \
    if (blockSize % M != 0u) return ARM_MATH_LENGTH_ERROR; \
    I->M = M; I->numTaps = numTaps; I->pCoeffs = pCoeffs; I->pState = pState; \
    memset(pState, 0, (numTaps + blockSize - 1u) * sizeof(T)); \
    return ARM_MATH_SUCCESS; \
} \
static arm_status arm_fir_interpolate_init_##S(arm_fir_interpolate_instance_##S *I, uint8_t L, uint16_t numTaps, \
    const T *pCoeffs, T *pState, uint32_t blockSize) \
{ \
    if (numTaps % L != 0u) return ARM_MATH_LENGTH_ERROR; \
    I->L = L; I->phaseLength = (uint16_t)(numTaps / L); I->pCoeffs = pCoeffs; I->pState = pState; \
    memset(pState, 0, (I->phaseLength + blockSize - 1u) * sizeof(T)); \
    return ARM_MATH_SUCCESS; \
} \
static void arm_fir_decimate_##S(const arm_fir_decimate_instance_##S *I, const T *pSrc, T *pDst, uint32_t blockSize) \
{ \
    uint32_t i, k, N = I->numTaps, M = I->M; \
    for (i = 0; i < blockSize / M; i++) { \
        ACC acc = 0; \
        memcpy(I->pState + N - 1u + i * M, pSrc + i * M, M * sizeof(T)); \
        for (k = 0; k < N; k++) acc += (ACC)I->pState[i * M + k] * I->pCoeffs[k]; \
        pDst[i] = FINISH_##S(acc); \
    } \
    memmove(I->pState, I->pState + blockSize, (N - 1u) * sizeof(T)); \
} \
static void arm_fir_interpolate_##S(const arm_fir_interpolate_instance_##S *I, const T *pSrc, T *pDst, \
    uint32_t blockSize) \
{ \
    uint32_t n, j, k, P = I->phaseLength, L = I->L; \
    for (n = 0; n < blockSize; n++) { \
        I->pState[P - 1u + n] = pSrc[n]; \
        for (j = 0; j < L; j++) { \
            ACC acc = 0; \
            for (k = 0; k < P; k++) acc += (ACC)I->pState[n + k] * I->pCoeffs[(L - 1u - j) + k * L]; \
            pDst[n * L + j] = FINISH_##S(acc); \
        } \
    } \
    memmove(I->pState, I->pState + blockSize, (P - 1u) * sizeof(T)); \
}
MODEL(f32, float32_t, float32_t)
MODEL(q31, q31_t, q63_t)
MODEL(q15, q15_t, q63_t)
)";

// Runs the whole input through one export in blocks of B and prints
// "@N@ B index value" for every output.
const char* kCmsisDecimateRun = R"(
static @T@ state_@N@[@M@_STATE_LEN(64)];
static void run_@N@(uint32_t B)
{
    arm_fir_@DIR@_instance_@S@ inst;
    @T@ out[64 * @M@_FACTOR];
    uint32_t start, i, total = 0;
    if (@INIT@ != ARM_MATH_SUCCESS) { printf("@N@ refused\n"); return; }
    for (start = 0; start < INPUT_LEN; start += B) {
        arm_fir_@DIR@_@S@(&inst, input_@S@ + start, out, B);
        for (i = 0; i < @OUTS@; i++, total++)
            printf("@N@ %u %u %@FMT@\n", B, total, @CAST@out[i]);
    }
}
)";

// c-polyphase through the plain loops its header describes.
const char* kPolyphaseRun = R"(
static void run_@N@(void)
{
    int m, p, k, n;
    if (@UP@) {
        for (n = 0; n < INPUT_LEN; n++)
            for (p = 0; p < @M@_FACTOR; p++) {
                float acc = 0.0f;
                for (k = 0; k < @M@_PHASE_LEN && k <= n; k++)
                    acc += @N@_phases[p][k] * input_f32[n - k];
                printf("@N@ 0 %d %a\n", n * @M@_FACTOR + p, (double)acc);
            }
    } else {
        for (m = 0; m * @M@_FACTOR < INPUT_LEN; m++) {
            float acc = 0.0f;
            for (p = 0; p < @M@_FACTOR; p++)
                for (k = 0; k < @M@_PHASE_LEN; k++) {
                    int i = m * @M@_FACTOR - p - k * @M@_FACTOR;
                    if (i >= 0)
                        acc += @N@_phases[p][k] * input_f32[i];
                }
            printf("@N@ 0 %d %a\n", m, (double)acc);
        }
    }
}
)";

std::string Substitute(std::string text, const std::map<std::string, std::string>& values)
{
    for (const auto& [key, value] : values)
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    return text;
}

constexpr int kInputLength = 192;

// Two tones and uniform noise, peak below 0.95.
std::vector<double> Input()
{
    std::vector<double> x;
    unsigned state = 12345u;
    for (int n = 0; n < kInputLength; ++n) {
        state = state * 1103515245u + 12345u;
        const double noise = static_cast<double>((state >> 8) & 0xFFFF) / 32768.0 - 1.0;
        x.push_back(0.45 * std::sin(2 * M_PI * 0.013 * n) + 0.3 * std::sin(2 * M_PI * 0.21 * n) + 0.18 * noise);
    }
    return x;
}

struct RateCase {
    const char* name;
    MultirateDesign rate;
    ExportDesign design;
};

ExportDesign Prototype(const std::vector<double>& taps, double fs, const std::vector<MaskBand>& bands)
{
    ExportDesign d;
    d.outline.filterType = FT_LOWPASS;
    d.outline.designMethod = DM_REMEZ;
    d.outline.fs = fs;
    d.outline.taps = static_cast<int>(taps.size());
    d.gridDensity = 16;
    d.taps = taps;
    d.bands = bands;
    d.figures = MeasureResponse(taps, fs, bands, false);
    return d;
}

RateCase RemezCase(const char* name, MultirateKind kind, int factor, int taps, double pass)
{
    RemezBand table[kBandCount];
    MultirateRemezTable(factor, 48000, pass, false, 10.0, table);
    CPoints h;
    DesignRemez(taps, FT_LOWPASS, FirTypeOf(FT_LOWPASS, taps), 48000, table, 16, h);
    std::vector<double> v;
    for (int i = 0; i < taps; ++i)
        v.push_back(h.GetValue(i, 0));
    std::vector<MaskBand> bands = {{BandKind::Pass, 0, pass, 1.0}};
    for (const MaskBand& b : MultirateStopBands(factor, 48000, pass, false))
        bands.push_back(b);
    RateCase c{name, {kind, factor, pass}, Prototype(v, 48000, bands)};
    c.design.outline.remezBands.assign(table, table + kBandCount);
    return c;
}

RateCase HalfbandCase()
{
    const HalfbandResult r = DesignHalfband(47, 48000, 10000, 16);
    return {"halfband47",
            {MultirateKind::Halfband, 2, 10000},
            Prototype(r.taps, 48000, {{BandKind::Pass, 0, 10000, 1.0}, {BandKind::Stop, 14000, 24000, 0.0}})};
}

struct Export {
    std::string label;
    const RateCase* design;
    MultirateExportOptions options;
    MultirateWords words;
};

const char* WordSuffix(MultirateWord w)
{
    return w == MultirateWord::F32 ? "f32" : w == MultirateWord::Q31 ? "q31" : "q15";
}

}  // namespace

class MultirateExportCompiles : public TempDirTest {};

// Every multirate profile, exported, compiled with the model and run on
// noise and tones in blocks of three sizes: f32 within 1e-6 of upfirdn
// (relative to the output's peak), q15 and q31 equal to an exact integer
// model of the exported words and within 1 LSB of upfirdn; c-polyphase
// through plain loops within 1e-6.
TEST_F(MultirateExportCompiles, ModelOutputsMatchUpfirdn)
{
    if (!HaveTool("cc"))
        GTEST_SKIP() << "no C compiler";
    if (std::system("/usr/bin/python3 -c 'import scipy.signal' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no scipy";
    const RateCase cases[] = {RemezCase("dec3", MultirateKind::Decimate, 3, 48, 5000),
                              RemezCase("int4", MultirateKind::Interpolate, 4, 61, 4000), HalfbandCase()};
    std::vector<Export> exports;
    for (const RateCase& c : cases) {
        const bool up = c.rate.kind == MultirateKind::Interpolate;
        for (MultirateWord w : {MultirateWord::F32, MultirateWord::Q31, MultirateWord::Q15}) {
            if (!up)
                exports.push_back({std::string(c.name) + "_dec_" + WordSuffix(w), &c,
                                   {MultirateTarget::CmsisDecimate, w, "", 48, QuantRounding::Nearest}, {}});
            if (up || c.rate.kind == MultirateKind::Halfband)
                exports.push_back({std::string(c.name) + "_int_" + WordSuffix(w), &c,
                                   {MultirateTarget::CmsisInterpolate, w, "", 48, QuantRounding::Nearest}, {}});
        }
        exports.push_back({std::string(c.name) + "_poly", &c, {MultirateTarget::CPolyphase}, {}});
    }

    const std::vector<double> x = Input();
    fs::create_directories(m_dir / "out");
    std::ofstream(m_dir / "arm_math_types.h")
        << "#include <stdint.h>\ntypedef int16_t q15_t;\ntypedef int32_t q31_t;\ntypedef int64_t q63_t;\n"
           "typedef float float32_t;\n";
    std::string client = std::string(kModel) + "#define INPUT_LEN " + std::to_string(kInputLength) + "\n";
    std::string f32 = "static const float32_t input_f32[] = {", q31 = "static const q31_t input_q31[] = {",
                q15 = "static const q15_t input_q15[] = {";
    for (double v : x) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.9ef,", v);
        f32 += buf;
        q31 += std::to_string(std::llround(v * 2147483648.0)) + ",";
        q15 += std::to_string(std::llround(v * 32768.0)) + ",";
    }
    client += f32 + "};\n" + q31 + "};\n" + q15 + "};\n";
    std::string calls;
    for (Export& e : exports) {
        e.options.root = (m_dir / "out" / e.label).string();
        ASSERT_EQ(CheckMultirateExport(e.design->design, e.design->rate, e.options), "") << e.label;
        e.words = ComputeMultirateWords(e.design->design, e.design->rate, e.options);
        const std::string name = ExportName(e.options.root);
        std::ofstream(e.options.root + ".h")
            << MultirateHeaderText(e.design->design, e.design->rate, e.options, e.words);
        std::ofstream(e.options.root + ".c") << MultirateSourceText(e.options, e.words);
        client += "#include \"out/" + e.label + ".h\"\n";
        const std::string macro = ExportMacroName(e.options.root);
        if (e.options.target == MultirateTarget::CPolyphase) {
            const bool up = e.design->rate.kind == MultirateKind::Interpolate;
            client += Substitute(kPolyphaseRun, {{"@N@", name}, {"@M@", macro}, {"@UP@", up ? "1" : "0"}});
            calls += "    run_" + name + "();\n";
            continue;
        }
        const bool dec = e.options.target == MultirateTarget::CmsisDecimate;
        const std::string s = WordSuffix(e.options.word);
        const std::string init =
            dec ? "arm_fir_decimate_init_" + s + "(&inst, " + macro + "_NUM_TAPS, " + macro + "_FACTOR, " + name +
                      "_coefficients, state_" + name + ", B)"
                : "arm_fir_interpolate_init_" + s + "(&inst, " + macro + "_FACTOR, " + macro + "_NUM_TAPS, " + name +
                      "_coefficients, state_" + name + ", B)";
        client += Substitute(kCmsisDecimateRun,
                             {{"@INIT@", init},
                              {"@N@", name},
                              {"@M@", macro},
                              {"@T@", e.options.word == MultirateWord::F32 ? "float32_t"
                                      : e.options.word == MultirateWord::Q31 ? "q31_t"
                                                                             : "q15_t"},
                              {"@S@", s},
                              {"@DIR@", dec ? "decimate" : "interpolate"},
                              {"@OUTS@", dec ? "B / " + macro + "_FACTOR" : "B * " + macro + "_FACTOR"},
                              {"@FMT@", e.options.word == MultirateWord::F32 ? "a" : "ld"},
                              {"@CAST@", e.options.word == MultirateWord::F32 ? "(double)" : "(long)"}});
        const int m = e.design->rate.factor;
        for (int b : dec ? std::vector<int>{m, 4 * m, 16 * m} : std::vector<int>{1, 6, 32})
            calls += "    run_" + name + "(" + std::to_string(b) + ");\n";
    }
    client += "int main(void)\n{\n" + calls + "    return 0;\n}\n";
    std::ofstream(m_dir / "client.c") << client;
    std::string output;
    ASSERT_EQ(RunIn(m_dir, "cc -std=c99 -Wall -Wextra -Werror -I. -o client client.c out/*.c && ./client", output), 0)
        << output.substr(0, 4000);

    // outputs[label][block] in order
    std::map<std::string, std::map<int, std::vector<std::string>>> outputs;
    for (const std::string& line : Lines(output)) {
        std::istringstream in(line);
        std::string name, value;
        int block = 0, index = 0;
        in >> name >> block >> index >> value;
        outputs[name][block].push_back(value);
    }
    std::string runs = "{\"runs\": [";
    int runCount = 0;
    for (const Export& e : exports) {
        const bool fixed = e.words.fixedPoint;
        const int frac = e.options.word == MultirateWord::Q31 ? 31 : 15;
        const bool up = e.options.target == MultirateTarget::CmsisInterpolate ||
                        (e.options.target == MultirateTarget::CPolyphase &&
                         e.design->rate.kind == MultirateKind::Interpolate);
        const auto& byBlock = outputs[ExportName(e.options.root)];
        ASSERT_FALSE(byBlock.empty()) << e.label;
        for (const auto& [block, ys] : byBlock) {
            EXPECT_EQ(static_cast<int>(ys.size()), up ? kInputLength * e.design->rate.factor
                                                      : kInputLength / e.design->rate.factor)
                << e.label << " block " << block;
            std::ostringstream r;
            r.precision(17);
            r << (runCount++ ? ",\n" : "") << "{\"label\": \"" << e.label << "_b" << block << "\", \"up\": "
              << (up ? e.design->rate.factor : 1) << ", \"down\": " << (up ? 1 : e.design->rate.factor)
              << ", \"frac\": " << frac << ", \"values\": [";
            for (size_t i = 0; i < e.words.values.size(); ++i)
                r << (i ? ", " : "") << e.words.values[i];
            r << "], \"words\": ";
            if (fixed) {
                r << "[";
                for (size_t i = 0; i < e.words.quant.taps.size(); ++i)
                    r << (i ? ", " : "") << e.words.quant.taps[i];
                r << "]";
            } else {
                r << "null";
            }
            r << ", \"x\": [";
            for (size_t i = 0; i < x.size(); ++i) {
                if (fixed)
                    r << (i ? ", " : "") << std::llround(x[i] * std::ldexp(1.0, frac));
                else
                    r << (i ? ", " : "") << static_cast<double>(static_cast<float>(x[i]));
            }
            r << "], \"y\": [";
            for (size_t i = 0; i < ys.size(); ++i)
                {
                r << (i ? ", " : "");
                if (fixed)
                    r << ys[i];
                else
                    r << std::strtod(ys[i].c_str(), nullptr);
            }
            r << "]}";
            runs += r.str();
        }
    }
    runs += "]}\n";
    std::ofstream(m_dir / "runs.json") << runs;
    ASSERT_EQ(RunIn(m_dir,
                    "/usr/bin/python3 " + TestSourceDir() +
                        "/tests/document/multirate_model_reference.py runs.json checks.txt",
                    output),
              0)
        << output;
    int checked = 0;
    for (const std::string& line : Lines(ReadText(m_dir / "checks.txt"))) {
        std::istringstream in(line);
        std::string label;
        double err = 0;
        int mismatches = 0;
        in >> label >> err >> mismatches;
        SCOPED_TRACE(label);
        std::cout << "  " << label << ": " << (mismatches < 0 ? "relative error " : "LSB from upfirdn ") << err
                  << (mismatches >= 0 ? ", " + std::to_string(mismatches) + " off the integer model" : "") << "\n";
        if (mismatches < 0) {
            EXPECT_LE(err, 1e-6);
        } else {
            EXPECT_EQ(mismatches, 0);
            EXPECT_LE(err, 1.0);
        }
        ++checked;
    }
    EXPECT_EQ(checked, runCount);
}

// What the header promises: the block size a decimator takes, the state it
// needs, the padding of an interpolator and how its gain of L is carried.
TEST(MultirateExportText, BlockStatePaddingAndGain)
{
    const RateCase dec = RemezCase("dec3", MultirateKind::Decimate, 3, 48, 5000);
    MultirateExportOptions o{MultirateTarget::CmsisDecimate, MultirateWord::Q15, "/tmp/x/dec3", 32,
                             QuantRounding::Nearest};
    EXPECT_EQ(CheckMultirateExport(dec.design, dec.rate, o),
              "The block size 32 is not a multiple of the decimation factor 3: arm_fir_decimate takes whole groups "
              "of 3 input samples a call (its init function returns ARM_MATH_LENGTH_ERROR otherwise).");
    EXPECT_EQ(CheckMultirateExport(dec.design, std::nullopt, o), kMsgMultirateNoRate);
    o.blockSize = 30;
    EXPECT_EQ(CheckMultirateExport(dec.design, dec.rate, o), "");
    std::string h = MultirateHeaderText(dec.design, dec.rate, o, ComputeMultirateWords(dec.design, dec.rate, o));
    EXPECT_NE(h.find("#define DEC3_STATE_LEN(block_size) (DEC3_NUM_TAPS + (block_size) - 1 + 8)"), std::string::npos);
    EXPECT_NE(h.find("arm_fir_decimate_init_q15(&dec, DEC3_NUM_TAPS, DEC3_FACTOR, dec3_coefficients, state, "
                     "DEC3_BLOCK_SIZE);"),
              std::string::npos);
    EXPECT_NE(h.find("48000 Hz in, 16000 Hz out"), std::string::npos) << h;
    EXPECT_NE(h.find("alias attenuation"), std::string::npos);

    // 61 taps for L = 4: three zeros make 64, the delay stays 30 samples.
    const RateCase up = RemezCase("int4", MultirateKind::Interpolate, 4, 61, 4000);
    o = {MultirateTarget::CmsisInterpolate, MultirateWord::F32, "/tmp/x/int4", 32, QuantRounding::Nearest};
    MultirateWords w = ComputeMultirateWords(up.design, up.rate, o);
    EXPECT_EQ(w.numTaps, 64);
    EXPECT_EQ(w.phaseLength, 16);
    EXPECT_EQ(w.postShift, 0);
    h = MultirateHeaderText(up.design, up.rate, o, w);
    EXPECT_NE(h.find("Padding: b[61..63] = 0"), std::string::npos) << h;
    EXPECT_NE(h.find("#define INT4_STATE_LEN(block_size) (INT4_PHASE_LEN + (block_size) - 1 + 8)"),
              std::string::npos);
    // Each phase of an interpolator sums to its DC gain: 1 with the taps carrying L.
    for (int p = 0; p < 4; ++p) {
        double sum = 0;
        for (int k = p; k < w.numTaps; k += 4)
            sum += w.values[static_cast<size_t>(k)];
        EXPECT_NEAR(sum, 1.0, 0.01) << p;
    }

    // The half-band's centre tap times 2 is 1.0: Q15 holds it halved, and
    // the output is shifted back by one bit.
    const RateCase hb = HalfbandCase();
    o = {MultirateTarget::CmsisInterpolate, MultirateWord::Q15, "/tmp/x/hb", 32, QuantRounding::Nearest};
    w = ComputeMultirateWords(hb.design, hb.rate, o);
    EXPECT_EQ(w.postShift, 1);
    EXPECT_EQ(w.tapGain, 1.0);
    EXPECT_EQ(w.quant.taps[23], 16384);
    EXPECT_EQ(w.quant.taps[21], 0);
    EXPECT_EQ(w.quant.saturated, 0);
    h = MultirateHeaderText(hb.design, hb.rate, o, w);
    EXPECT_NE(h.find("#define HB_POST_SHIFT 1"), std::string::npos);
    EXPECT_NE(h.find("arm_shift_q15(output, HB_POST_SHIFT, output, HB_BLOCK_SIZE * HB_FACTOR);"), std::string::npos);
    EXPECT_NE(h.find("cannot hold"), std::string::npos) << h;
}

// arm_fir_interpolate_q31 keeps the low 32 bits of acc >> 31: with the gain
// L in its taps a phase sums past full scale, and the input that matches
// that phase's signs at full scale wraps. The export scales the words until
// no phase can; on the model of the library's arithmetic each phase's worst
// input then gives exactly acc >> 31, in range.
TEST_F(MultirateExportCompiles, Q31InterpolatorCannotWrap)
{
    if (!HaveTool("cc"))
        GTEST_SKIP() << "no C compiler";
    std::ofstream(m_dir / "arm_math_types.h")
        << "#include <stdint.h>\ntypedef int16_t q15_t;\ntypedef int32_t q31_t;\ntypedef int64_t q63_t;\n"
           "typedef float float32_t;\n";
    for (const RateCase& c : {RemezCase("int4", MultirateKind::Interpolate, 4, 61, 4000), HalfbandCase()}) {
        SCOPED_TRACE(c.name);
        const MultirateExportOptions o{MultirateTarget::CmsisInterpolate, MultirateWord::Q31,
                                       (m_dir / c.name).string(), 32, QuantRounding::Nearest};
        const int L = c.rate.factor;
        EXPECT_GT(MaxPhaseAbsSum(c.design.taps, L) * L, 1.0) << "the unscaled words could wrap";
        const MultirateWords w = ComputeMultirateWords(c.design, c.rate, o);
        EXPECT_GE(w.postShift, 1);
        EXPECT_LE(MaxPhaseAbsSum(w.values, L), 1.0 - std::ldexp(1.0, -31));
        const std::string h = MultirateHeaderText(c.design, c.rate, o, w);
        EXPECT_NE(h.find("Headroom: each output sums one phase"), std::string::npos) << h;
        EXPECT_NE(h.find("no input can wrap"), std::string::npos) << h;
        std::ofstream(o.root + ".h") << h;
        std::ofstream(o.root + ".c") << MultirateSourceText(o, w);

        // pCoeffs is b reversed; output (P-1)*L + j sums x[k] * pCoeffs[L-1-j + k*L].
        const int P = w.phaseLength, NT = w.numTaps;
        std::vector<long long> coeffs;
        for (int i = 0; i < NT; ++i)
            coeffs.push_back(w.quant.taps[static_cast<size_t>(NT - 1 - i)]);
        std::string inputs, expected;
        std::vector<long long> want;
        for (int j = 0; j < L; ++j) {
            // acc = (2^31 - 1) pos + 2^31 neg for the sums of the positive and
            // of |negative| words, so acc >> 31 = pos + neg - ceil(pos / 2^31).
            long long pos = 0, neg = 0;
            inputs += "    {";
            for (int k = 0; k < P; ++k) {
                const long long cw = coeffs[static_cast<size_t>(L - 1 - j + k * L)];
                (cw < 0 ? neg : pos) += std::llabs(cw);
                inputs += (cw < 0 ? "(-2147483647 - 1)" : "2147483647") + std::string(k + 1 < P ? ", " : "");
            }
            inputs += "},\n";
            want.push_back(pos + neg - (pos + 2147483647LL) / 2147483648LL);
        }
        const std::string macro = ExportMacroName(o.root), name = ExportName(o.root);
        std::string client = std::string(kModel) + "#include \"" + c.name + ".h\"\n" +
                             "static const q31_t worst[" + std::to_string(L) + "][" + std::to_string(P) + "] = {\n" +
                             inputs + "};\nstatic q31_t state[" + macro + "_STATE_LEN(" + std::to_string(P) +
                             ")];\nint main(void)\n{\n    int j;\n    q31_t out[" + std::to_string(P * L) +
                             "];\n    for (j = 0; j < " + std::to_string(L) +
                             "; j++) {\n        arm_fir_interpolate_instance_q31 s;\n"
                             "        arm_fir_interpolate_init_q31(&s, " + macro + "_FACTOR, " + macro +
                             "_NUM_TAPS, " + name + "_coefficients, state, " + std::to_string(P) +
                             ");\n        arm_fir_interpolate_q31(&s, worst[j], out, " + std::to_string(P) +
                             ");\n        printf(\"%ld\\n\", (long)out[" + std::to_string((P - 1) * L) +
                             " + j]);\n    }\n    return 0;\n}\n";
        std::ofstream(m_dir / "worst.c") << client;
        std::string output;
        ASSERT_EQ(RunIn(m_dir, "cc -std=c99 -Wall -Wextra -Werror -Wno-unused-function -I. -o worst worst.c " + std::string(c.name) +
                                   ".c && ./worst",
                        output),
                  0)
            << output;
        const std::vector<std::string> lines = Lines(output);
        ASSERT_EQ(lines.size(), static_cast<size_t>(L));
        for (int j = 0; j < L; ++j) {
            EXPECT_EQ(std::stoll(lines[static_cast<size_t>(j)]), want[static_cast<size_t>(j)]) << "phase " << j;
            EXPECT_GT(want[static_cast<size_t>(j)], 0) << "phase " << j;
        }
    }
}
