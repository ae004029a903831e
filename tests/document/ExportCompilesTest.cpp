#include <cmath>
#include <functional>
#include <map>

#include "ExportTestSupport.h"
#include "PythonReference.h"
#include "document/ForeignTaps.h"
#include "dsp/CPoints.h"
#include "dsp/RemezDesign.h"

namespace fs = std::filesystem;

namespace {

// CMSIS-DSP's arm_math.h as far as the exports use it: the types
// (Include/arm_math_types.h) and FIR prototypes
// (Include/dsp/filtering_functions.h), declared as the library declares
// them, with a model of its scalar FIR arithmetic written from the
// library's documentation: the coefficients are time-reversed, pCoeffs[0]
// meets the oldest sample; q15 accumulates 1.15 x 1.15 products in a 34.30
// accumulator, then truncates and saturates to 1.15; q31 keeps a 2.62
// accumulator and truncates to 1.31; q7 keeps an 18.14 accumulator,
// truncated and saturated to 1.7.
const char* kArmMath = R"(#ifndef ARM_MATH_H
#define ARM_MATH_H
#include <stdint.h>
typedef int8_t q7_t;
typedef int16_t q15_t;
typedef int32_t q31_t;
typedef int64_t q63_t;
typedef float float32_t;

typedef enum { ARM_MATH_SUCCESS = 0, ARM_MATH_ARGUMENT_ERROR = -1 } arm_status;
typedef struct { uint16_t numTaps; float32_t * pState; const float32_t * pCoeffs; } arm_fir_instance_f32;
typedef struct { uint16_t numTaps; q31_t * pState; const q31_t * pCoeffs; } arm_fir_instance_q31;
typedef struct { uint16_t numTaps; q15_t * pState; const q15_t * pCoeffs; } arm_fir_instance_q15;
typedef struct { uint16_t numTaps; q7_t * pState; const q7_t * pCoeffs; } arm_fir_instance_q7;

void arm_fir_init_f32(arm_fir_instance_f32 * S, uint16_t numTaps, const float32_t * pCoeffs, float32_t * pState, uint32_t blockSize);
void arm_fir_init_q31(arm_fir_instance_q31 * S, uint16_t numTaps, const q31_t * pCoeffs, q31_t * pState, uint32_t blockSize);
arm_status arm_fir_init_q15(arm_fir_instance_q15 * S, uint16_t numTaps, const q15_t * pCoeffs, q15_t * pState, uint32_t blockSize);
void arm_fir_init_q7(arm_fir_instance_q7 * S, uint16_t numTaps, const q7_t * pCoeffs, q7_t * pState, uint32_t blockSize);
void arm_fir_f32(const arm_fir_instance_f32 * S, const float32_t * pSrc, float32_t * pDst, uint32_t blockSize);
void arm_fir_q31(const arm_fir_instance_q31 * S, const q31_t * pSrc, q31_t * pDst, uint32_t blockSize);
void arm_fir_q15(const arm_fir_instance_q15 * S, const q15_t * pSrc, q15_t * pDst, uint32_t blockSize);
void arm_fir_q7(const arm_fir_instance_q7 * S, const q7_t * pSrc, q7_t * pDst, uint32_t blockSize);
#endif
)";

const char* kCmsisModel = R"(#include <stdio.h>
#include <string.h>
#include "arm_math.h"

#define MODEL_INIT(S, numTaps, pCoeffs, pState, blockSize) \
    S->numTaps = numTaps; S->pCoeffs = pCoeffs; S->pState = pState; \
    memset(pState, 0, (numTaps + blockSize - 1u) * sizeof(*pState))

void arm_fir_init_f32(arm_fir_instance_f32 * S, uint16_t numTaps, const float32_t * pCoeffs, float32_t * pState, uint32_t blockSize)
{ MODEL_INIT(S, numTaps, pCoeffs, pState, blockSize); }
void arm_fir_init_q31(arm_fir_instance_q31 * S, uint16_t numTaps, const q31_t * pCoeffs, q31_t * pState, uint32_t blockSize)
{ MODEL_INIT(S, numTaps, pCoeffs, pState, blockSize); }
void arm_fir_init_q7(arm_fir_instance_q7 * S, uint16_t numTaps, const q7_t * pCoeffs, q7_t * pState, uint32_t blockSize)
{ MODEL_INIT(S, numTaps, pCoeffs, pState, blockSize); }
arm_status arm_fir_init_q15(arm_fir_instance_q15 * S, uint16_t numTaps, const q15_t * pCoeffs, q15_t * pState, uint32_t blockSize)
{
    if (numTaps < 4u || numTaps % 2u != 0u)
        return ARM_MATH_ARGUMENT_ERROR;
    MODEL_INIT(S, numTaps, pCoeffs, pState, blockSize);
    return ARM_MATH_SUCCESS;
}

void arm_fir_f32(const arm_fir_instance_f32 * S, const float32_t * pSrc, float32_t * pDst, uint32_t blockSize)
{
    uint32_t n, k, N = S->numTaps;
    for (n = 0; n < blockSize; n++) {
        float32_t acc = 0.0f;
        S->pState[N - 1u + n] = pSrc[n];
        for (k = 0; k < N; k++)
            acc += S->pState[n + k] * S->pCoeffs[k];
        pDst[n] = acc;
    }
    memmove(S->pState, S->pState + blockSize, (N - 1u) * sizeof(float32_t));
}

void arm_fir_q31(const arm_fir_instance_q31 * S, const q31_t * pSrc, q31_t * pDst, uint32_t blockSize)
{
    uint32_t n, k, N = S->numTaps;
    for (n = 0; n < blockSize; n++) {
        q63_t acc = 0;
        S->pState[N - 1u + n] = pSrc[n];
        for (k = 0; k < N; k++)
            acc += (q63_t)S->pState[n + k] * S->pCoeffs[k];
        pDst[n] = (q31_t)(acc >> 31);
    }
    memmove(S->pState, S->pState + blockSize, (N - 1u) * sizeof(q31_t));
}

void arm_fir_q15(const arm_fir_instance_q15 * S, const q15_t * pSrc, q15_t * pDst, uint32_t blockSize)
{
    uint32_t n, k, N = S->numTaps;
    for (n = 0; n < blockSize; n++) {
        q63_t acc = 0;
        S->pState[N - 1u + n] = pSrc[n];
        for (k = 0; k < N; k++)
            acc += (q31_t)S->pState[n + k] * S->pCoeffs[k];
        acc >>= 15;
        pDst[n] = (q15_t)(acc > 32767 ? 32767 : acc < -32768 ? -32768 : acc);
    }
    memmove(S->pState, S->pState + blockSize, (N - 1u) * sizeof(q15_t));
}

void arm_fir_q7(const arm_fir_instance_q7 * S, const q7_t * pSrc, q7_t * pDst, uint32_t blockSize)
{
    uint32_t n, k, N = S->numTaps;
    for (n = 0; n < blockSize; n++) {
        q31_t acc = 0;
        S->pState[N - 1u + n] = pSrc[n];
        for (k = 0; k < N; k++)
            acc += (q15_t)S->pState[n + k] * S->pCoeffs[k];
        acc >>= 7;
        pDst[n] = (q7_t)(acc > 127 ? 127 : acc < -128 ? -128 : acc);
    }
    memmove(S->pState, S->pState + blockSize, (N - 1u) * sizeof(q7_t));
}
)";

// Feeds the largest positive and the most negative sample as impulses and
// prints every output of the first NUM_TAPS + 4 samples.
const char* kCmsisFirRun = R"(
static @T@ state_@N@[@M@_STATE_LEN(@M@_BLOCK_SIZE)];
static void run_@N@(@T@ impulse, const char* label)
{
    arm_fir_instance_@S@ fir;
    @T@ in[@M@_BLOCK_SIZE], out[@M@_BLOCK_SIZE];
    int i, total = 0;
    @INIT@
    while (total < @M@_NUM_TAPS + 4) {
        for (i = 0; i < @M@_BLOCK_SIZE; i++)
            in[i] = (@T@)(total == 0 && i == 0 ? impulse : 0);
        arm_fir_@S@(&fir, in, out, @M@_BLOCK_SIZE);
        for (i = 0; i < @M@_BLOCK_SIZE; i++, total++)
            printf("@N@ %s %d %@FMT@\n", label, total, @CAST@out[i]);
    }
}
)";

const char* kFixedPrint = R"(
static void print_@N@(void)
{
    int i;
    printf("@N@ format %d %d %d %d\n", @M@_WORD_BITS, @M@_FRAC_BITS, @M@_SHIFT, (int)sizeof(@N@_coefficients[0]));
    for (i = 0; i < @M@_NUM_TAPS; i++)
        printf("@N@ tap %d %ld\n", i, (long)@N@_coefficients[i]);
}
)";

const char* kFloatPrint = R"(
static void print_@N@(void)
{
    int i;
    for (i = 0; i < @M@_NUM_TAPS; i++)
        printf("@N@ tap %d %a\n", i, (double)@N@_coefficients[i]);
}
)";

std::string Replace(std::string text, const std::map<std::string, std::string>& values)
{
    for (const auto& [key, value] : values)
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    return text;
}

struct CmsisKind {
    ExportProfile profile;
    const char* suffix;
    const char* type;
    const char* high;  // the largest positive sample
    const char* low;   // the most negative sample
    int fraction;      // 0 for float
};

const CmsisKind kCmsisKinds[] = {
    {ExportProfile::CmsisF32, "f32", "float32_t", "1.0f", "-1.0f", 0},
    {ExportProfile::CmsisQ31, "q31", "q31_t", "2147483647", "(-2147483647 - 1)", 31},
    {ExportProfile::CmsisQ15, "q15", "q15_t", "32767", "-32768", 15},
    {ExportProfile::CmsisQ7, "q7", "q7_t", "127", "-128", 7},
};

const ExportProfile kPlainProfiles[] = {ExportProfile::CFixed, ExportProfile::CFloat, ExportProfile::CDouble};

std::string RootName(const std::string& caseName, ExportProfile p)
{
    std::string name = caseName + "_" + ExportProfileName(p);
    for (char& ch : name)
        ch = ch == '-' ? '_' : ch;
    return name;
}

// Word lengths of c-fixed, one per case: int8_t, int16_t and int32_t words.
int FixedWordLength(size_t caseIndex)
{
    static const int lengths[] = {12, 16, 24, 7};
    return lengths[caseIndex % 4];
}

// How many state samples a build of CMSIS-DSP 1.9's FIR touches (writes or
// reads) for numTaps taps and blockSize samples a call, the most of its
// builds, modelled on its sources. Scalar and DSP-extension builds: the
// documented numTaps + blockSize - 1, q15 with ARM_MATH_DSP numTaps +
// blockSize (arm_fir_init_q15.c clears that much). Helium (ARM_MATH_MVEI/F):
// f32 and q31 as arm_fir_init_f32.c and arm_fir_init_q31.c document and
// clear, numTaps + 2*blockSize - 1 and numTaps + blockSize - 1 +
// 8*ceil(blockSize/4); q15 and q7 as arm_fir_q15.c and arm_fir_q7.c run:
// up to 32 (64) taps their kernels store 4 samples a round (numTaps - 1 +
// blockSize written) and read whole vectors of the padded tap count; beyond,
// each round of 4 outputs stores a whole vector of 8 (16) samples, the tail
// one more vector, and the copy back loads whole vectors unpredicated.
int HeliumStateTouched(ExportProfile p, int numTaps, int blockSize)
{
    const int rounds = (blockSize + 3) / 4;  // rounds of 4 outputs, the tail included
    if (p == ExportProfile::CmsisF32)
        return numTaps + 2 * blockSize - 1;
    if (p == ExportProfile::CmsisQ31)
        return numTaps + blockSize - 1 + 8 * rounds;
    const int lanes = p == ExportProfile::CmsisQ15 ? 8 : 16;
    const int vectors = (numTaps + lanes - 1) / lanes;
    int touched = numTaps + blockSize - 1 + (p == ExportProfile::CmsisQ15 ? 1 : 0);
    if (numTaps <= 4 * lanes) {
        // The last output reads lanes * vectors samples from blockSize - 1.
        return std::max(touched, blockSize - 1 + lanes * vectors);
    }
    // Writes: from numTaps - 1, one vector per round.
    touched = std::max(touched, numTaps - 1 + lanes * rounds);
    // Reads: the last round starts at 4 * (rounds - 1) and loads vectors up
    // to offset 3 (the tail's widest stride: 2 * (3 - 1) for q15, 4 * 2 for q7).
    const int tailReach = p == ExportProfile::CmsisQ15 ? 4 : 8;
    touched = std::max(touched, 4 * (rounds - 1) + lanes * (vectors - 1) + std::max(3, tailReach) + lanes);
    // The copy back: whole vectors from blockSize.
    return std::max(touched, blockSize + lanes * vectors);
}

class ExportCompiles : public TempDirTest {
protected:
    // Exports every C profile of the case into out/ through write and writes
    // a client that runs the CMSIS model on each and prints the plain
    // profiles' values.
    void ExportAll(const std::string& c, int fixedWordLength, const std::function<bool(const ExportOptions&)>& write,
                   bool helium, int blockSize, QuantRounding rounding)
    {
        fs::create_directories(m_dir / "out");
        std::ofstream(m_dir / "arm_math.h") << kArmMath;
        std::string includes, functions, calls;
        for (const CmsisKind& k : kCmsisKinds) {
            ExportOptions o{k.profile, (m_dir / "out" / RootName(c, k.profile)).string(), 16, rounding,
                            blockSize, helium};
            ASSERT_TRUE(write(o)) << RootName(c, k.profile);
            const std::string name = ExportName(o.root);
            const std::string init =
                k.profile == ExportProfile::CmsisQ15
                    ? "if (arm_fir_init_q15(&fir, @M@_NUM_TAPS, @N@_coefficients, state_@N@, @M@_BLOCK_SIZE) != "
                      "ARM_MATH_SUCCESS) { printf(\"@N@ refused\\n\"); return; }"
                    : "arm_fir_init_@S@(&fir, @M@_NUM_TAPS, @N@_coefficients, state_@N@, @M@_BLOCK_SIZE);";
            const std::map<std::string, std::string> values = {
                {"@INIT@", init},
                {"@N@", name},
                {"@M@", ExportMacroName(o.root)},
                {"@T@", k.type},
                {"@S@", k.suffix},
                {"@FMT@", k.fraction ? "ld" : "a"},
                {"@CAST@", k.fraction ? "(long)" : "(double)"}};
            includes += "#include \"out/" + name + ".h\"\n";
            functions += Replace(Replace(kCmsisFirRun, {{"@INIT@", init}}), values);
            calls += Replace("    printf(\"@N@ numtaps %d %d %d\\n\", @M@_NUM_TAPS, @M@_ARRAY_LEN, "
                             "(int)(sizeof state_@N@ / sizeof state_@N@[0]));\n"
                             "    run_@N@(" + std::string(k.high) + ", \"high\");\n    run_@N@(" + k.low +
                                 ", \"low\");\n",
                             values);
        }
        for (ExportProfile p : kPlainProfiles) {
            ExportOptions o{p, (m_dir / "out" / RootName(c, p)).string(), fixedWordLength, rounding, blockSize, false};
            ASSERT_TRUE(write(o)) << RootName(c, p);
            const std::map<std::string, std::string> values = {{"@N@", ExportName(o.root)},
                                                               {"@M@", ExportMacroName(o.root)}};
            includes += "#include \"out/" + ExportName(o.root) + ".h\"\n";
            functions += Replace(p == ExportProfile::CFixed ? kFixedPrint : kFloatPrint, values);
            calls += Replace("    print_@N@();\n", values);
        }
        std::ofstream(m_dir / "client.c") << kCmsisModel << includes << functions << "\nint main(void)\n{\n"
                                          << calls << "    return 0;\n}\n";
    }

    // Builds the client with the exported sources as C99 or C++17 and runs it.
    std::map<std::string, std::vector<std::string>> BuildAndRun(bool cpp)
    {
        const std::string compiler = cpp ? "c++ -std=c++17 -x c++" : "cc -std=c99 -pedantic";
        std::string output;
        const int status = RunIn(m_dir,
                                 compiler + " -Wall -Wextra -Werror -I. -o client client.c out/*.c && ./client",
                                 output);
        EXPECT_EQ(status, 0) << output;
        std::map<std::string, std::vector<std::string>> byName;
        for (const std::string& line : Lines(output))
            byName[line.substr(0, line.find(' '))].push_back(line.substr(line.find(' ') + 1));
        return byName;
    }
};

// "label index value" lines of one name, as value[label][index].
std::map<std::string, std::vector<double>> Outputs(const std::vector<std::string>& lines)
{
    std::map<std::string, std::vector<double>> out;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string label, value;
        int index = 0;
        in >> label >> index >> value;
        if (label == "high" || label == "low" || label == "tap") {
            out[label].resize(static_cast<size_t>(index) + 1);
            out[label][static_cast<size_t>(index)] = std::strtod(value.c_str(), nullptr);
        }
    }
    return out;
}

// The largest distance of a word from its tap (LSB): half for rounding to
// nearest, under one for truncation, which also never grows a magnitude.
bool WithinRounding(double word, double scaled, QuantRounding rounding)
{
    if (rounding == QuantRounding::Nearest)
        return std::abs(word - scaled) <= 0.5;
    return std::abs(word - scaled) < 1.0 && std::abs(word) <= std::abs(scaled);
}

void CheckCmsis(const std::string& c, const CmsisKind& k, const std::vector<double>& taps,
                const std::vector<std::string>& lines, int blockSize, bool helium, QuantRounding rounding)
{
    SCOPED_TRACE(c + " " + k.suffix);
    ASSERT_FALSE(lines.empty());
    std::istringstream head(lines[0]);
    std::string word;
    int numTaps = 0, arrayLength = 0, stateLength = 0;
    head >> word >> numTaps >> arrayLength >> stateLength;
    ASSERT_EQ(word, "numtaps");
    const int n = static_cast<int>(taps.size());
    if (k.profile == ExportProfile::CmsisQ15) {
        EXPECT_EQ(numTaps % 2, 0);
        EXPECT_GE(numTaps, 4);
        EXPECT_EQ(numTaps, n + n % 2);
    } else {
        EXPECT_EQ(numTaps, n);
    }
    const int multiple = !helium ? 1 : k.profile == ExportProfile::CmsisQ15 ? 8 : k.profile == ExportProfile::CmsisQ7 ? 16 : 4;
    EXPECT_EQ(arrayLength % multiple, 0);
    EXPECT_LT(arrayLength - numTaps, multiple);
    EXPECT_GE(stateLength, HeliumStateTouched(k.profile, numTaps, blockSize));

    const auto out = Outputs(lines);
    ASSERT_GE(out.at("high").size(), static_cast<size_t>(numTaps + 4));
    ASSERT_GE(out.at("low").size(), static_cast<size_t>(numTaps + 4));
    QuantSpec quantSpec;
    quantSpec.format = QuantFormat::Bits;
    quantSpec.wordLength = k.fraction + 1;
    quantSpec.rounding = rounding;
    for (int i = 0; i < numTaps + 4; ++i) {
        const double x = i < n ? taps[static_cast<size_t>(i)] : 0.0;
        const double high = out.at("high")[static_cast<size_t>(i)];
        const double low = out.at("low")[static_cast<size_t>(i)];
        if (k.fraction == 0) {
            // One product with +-1.0 and sums of zeros: exactly the float tap.
            EXPECT_EQ(high, static_cast<double>(static_cast<float>(x))) << i;
            EXPECT_EQ(low, -static_cast<double>(static_cast<float>(x))) << i;
            continue;
        }
        const double scaled = std::ldexp(x, k.fraction);
        const long long w = QuantizeValue(x, quantSpec, k.fraction);
        // -1.0 in gives exactly the negated words: the taps in natural
        // order, within half an LSB of the design, with their sign.
        EXPECT_EQ(-low, static_cast<double>(w)) << i;
        EXPECT_TRUE(WithinRounding(-low, scaled, rounding)) << i << ": " << -low << " for " << scaled;
        // The largest positive sample (1 - 2^-F) gives each word within one LSB.
        EXPECT_LE(std::abs(high - static_cast<double>(w)), 1.0) << i;
        if (std::abs(scaled) >= 2.0) {
            EXPECT_EQ(high > 0, x > 0) << i;
        }
    }
}

void CheckPlain(const std::string& c, ExportProfile p, int wordLength, const std::vector<double>& taps,
                const std::vector<std::string>& lines, QuantRounding rounding)
{
    SCOPED_TRACE(c + " " + ExportProfileName(p));
    const auto out = Outputs(lines);
    ASSERT_EQ(out.at("tap").size(), taps.size());
    if (p != ExportProfile::CFixed) {
        for (size_t i = 0; i < taps.size(); ++i) {
            // The literal compiles to exactly the nearest value of its type.
            const double expected = p == ExportProfile::CFloat ? static_cast<double>(static_cast<float>(taps[i]))
                                                              : taps[i];
            EXPECT_EQ(out.at("tap")[i], expected) << i;
        }
        return;
    }
    std::istringstream head(lines[0]);
    std::string word;
    int bits = 0, fraction = 0, shift = 0, bytes = 0;
    head >> word >> bits >> fraction >> shift >> bytes;
    ASSERT_EQ(word, "format");
    EXPECT_EQ(bits, wordLength);
    EXPECT_EQ(bytes, wordLength <= 8 ? 1 : wordLength <= 16 ? 2 : 4);  // the smallest <stdint.h> word
    EXPECT_EQ(shift, fraction - (bits - 1));
    double peak = 0;
    for (double t : taps)
        peak = std::max(peak, std::abs(t));
    // The fraction is the largest that holds the peak tap.
    auto quantize = [rounding](double v) { return rounding == QuantRounding::Nearest ? std::round(v) : std::trunc(v); };
    EXPECT_LE(quantize(std::ldexp(peak, fraction)), std::ldexp(1.0, bits - 1));
    EXPECT_GT(quantize(std::ldexp(peak, fraction + 1)), std::ldexp(1.0, bits - 1) - 1);
    for (size_t i = 0; i < taps.size(); ++i) {
        const double v = out.at("tap")[i];
        const double scaled = std::ldexp(taps[i], fraction);
        EXPECT_TRUE(WithinRounding(v, scaled, rounding)) << i << ": " << v << " for " << scaled;  // no wrap, no clip
        EXPECT_GE(v, -std::ldexp(1.0, bits - 1)) << i;
        EXPECT_LE(v, std::ldexp(1.0, bits - 1) - 1) << i;
    }
}

}  // namespace

TEST_F(ExportCompiles, EveryCProfileOfEveryFirTypeCompilesAndRunsAsDesigned)
{
    if (!HaveTool("cc") || !HaveTool("c++"))
        GTEST_SKIP() << "no C or C++ compiler";
    for (size_t ci = 0; ci < ExportCases().size(); ++ci) {
        const ExportCase& c = ExportCases()[ci];
        SCOPED_TRACE(c.name);
        ExportFixture f(c);
        ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
        ASSERT_EQ(CZantroView::GetFirType(c.type, c.taps) + 1, c.firType);
        // Small blocks on two cases, so the state carries across calls;
        // Helium padding on the even ones.
        const int blockSize = ci % 2 ? 32 : 5;
        const bool helium = c.taps % 2 == 0;
        // Truncation on the differentiator, rounding to nearest elsewhere.
        const QuantRounding rounding = c.type == FT_DIFFERENTIATOR ? QuantRounding::Truncate : QuantRounding::Nearest;
        fs::remove_all(m_dir / "out");
        ExportAll(c.name, FixedWordLength(ci), [&f](const ExportOptions& o) { return ExportDesignFiles(f.view, o); },
                  helium, blockSize, rounding);
        const std::vector<double> taps = f.Taps();
        for (bool cpp : {false, true}) {
            SCOPED_TRACE(cpp ? "C++17" : "C99");
            auto byName = BuildAndRun(cpp);
            for (const CmsisKind& k : kCmsisKinds)
                CheckCmsis(c.name, k, taps, byName[RootName(c.name, k.profile)], blockSize, helium, rounding);
            for (ExportProfile p : kPlainProfiles)
                CheckPlain(c.name, p, FixedWordLength(ci), taps, byName[RootName(c.name, p)], rounding);
        }
    }
}

// Taps designed by scipy.signal, read from the text scipy prints, run on
// the CMSIS model and compiled from the plain profiles as Zantro's own: a
// type I lowpass (firwin) and a minimum-phase filter of no symmetry and an
// even count (minimum_phase of a remez lowpass).
TEST_F(ExportCompiles, TapsDesignedElsewhereCompileAndRunAsGiven)
{
    if (!HaveTool("cc") || !HaveTool("c++") || !HaveScipy())
        GTEST_SKIP() << "no C or C++ compiler, or no scipy";
    const struct {
        const char* name;
        const char* scipy;
        int wordLength;
    } cases[] = {
        {"scipy_firwin", "s.firwin(31, 0.3)", 12},
        {"scipy_minphase", "s.minimum_phase(s.remez(63, [0, 0.1, 0.15, 0.5], [1, 0]))", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output;
        ASSERT_EQ(RunIn(m_dir,
                        std::string(kPython) + " -c 'import scipy.signal as s; print(chr(10).join(repr(float(t)) for t in " +
                            c.scipy + "))' > taps.txt",
                        output),
                  0)
            << output;
        const TapsFile file = ReadTapsFile((m_dir / "taps.txt").string());
        ASSERT_EQ(file.status, TapsFileStatus::Ok) << TapsFileMessage(file, "taps.txt");
        const ExportDesign design = ForeignExportDesign(file.taps, 48000.0, "taps.txt", {}, {});
        fs::remove_all(m_dir / "out");
        ExportAll(c.name, c.wordLength, [&design](const ExportOptions& o) { return WriteExport(design, o, nullptr); },
                  file.taps.size() % 2 == 0, 7, QuantRounding::Nearest);
        auto byName = BuildAndRun(false);
        for (const CmsisKind& k : kCmsisKinds)
            CheckCmsis(c.name, k, file.taps, byName[RootName(c.name, k.profile)], 7, file.taps.size() % 2 == 0,
                       QuantRounding::Nearest);
        for (ExportProfile p : kPlainProfiles)
            CheckPlain(c.name, p, c.wordLength, file.taps, byName[RootName(c.name, p)], QuantRounding::Nearest);
    }
}

// Words chosen for a requirement rather than rounded: every fixed-point C
// profile writes the words chosen for its own format, and the CMSIS model
// driven by -1.0 gives back exactly those words; the summary says so.
TEST_F(ExportCompiles, ChosenWordsAreTheWordsWrittenAndRun)
{
    if (!HaveTool("cc"))
        GTEST_SKIP() << "no C compiler";
    const std::vector<SpecBand> requirement = {{BandKind::Pass, 0, 4800, 0.2}, {BandKind::Stop, 8000, 24000, 50}};
    WordRequirement req;
    req.fs = 48000.0;
    for (const SpecBand& b : requirement)
        req.bands.push_back({{b.kind, b.loHz, b.hiHz, b.kind == BandKind::Pass ? 1.0 : 0.0}, b.limitDb});
    CPoints coeffs;
    DesignRemezEdges(47, FT_LOWPASS, 0, RemezEdgesOf(req), 16, coeffs);
    std::vector<double> taps;
    for (int i = 0; i < 47; ++i)
        taps.push_back(coeffs[i].real());
    ExportDesign design = ForeignExportDesign(taps, 48000.0, "remez.txt", {}, requirement);
    QuantSpec q15;
    design.chosenWords = ChooseWords(taps, 48000.0, design.bands, {q15, requirement});
    ExportAll("chosen", 12, [&design](const ExportOptions& o) { return WriteExport(design, o, nullptr); }, false, 8,
              QuantRounding::Nearest);
    auto byName = BuildAndRun(false);
    for (const CmsisKind& k : kCmsisKinds) {
        if (k.fraction == 0)
            continue;
        SCOPED_TRACE(k.suffix);
        const ExportOptions o{k.profile, (m_dir / "out" / RootName("chosen", k.profile)).string()};
        const ChosenWords words = ChooseWordsAgain(taps, *design.chosenWords, *ExportQuantSpec(o));
        ASSERT_EQ(words.result.words.taps.size(), taps.size());
        EXPECT_EQ(words.result.words.fractionLength, k.fraction);
        const auto out = Outputs(byName[RootName("chosen", k.profile)]);
        ASSERT_GE(out.at("low").size(), taps.size());
        for (size_t i = 0; i < taps.size(); ++i)
            EXPECT_EQ(-out.at("low")[i], static_cast<double>(words.result.words.taps[i])) << i;
        EXPECT_NE(ReadText(o.root + ".h").find("Quantisation: optimised words, chosen to meet the requirement"),
                  std::string::npos);
    }
    QuantSpec bits12;
    bits12.format = QuantFormat::Bits;
    bits12.wordLength = 12;
    const ChosenWords fixed = ChooseWordsAgain(taps, *design.chosenWords, bits12);
    const auto out = Outputs(byName[RootName("chosen", ExportProfile::CFixed)]);
    ASSERT_EQ(out.at("tap").size(), taps.size());
    for (size_t i = 0; i < taps.size(); ++i)
        EXPECT_EQ(out.at("tap")[i], static_cast<double>(fixed.result.words.taps[i])) << i;
}

// The Helium loops' reach: q15 with 64 taps at block 32 touches 127
// samples, q7 with 101 taps 228; q31 needs 64 words more than its scalar
// build at block 32 (arm_fir_init_q31.c). Every STATE_LEN, with or without
// --helium, holds what each build touches, over tap counts across the
// kernels' bounds and blocks with every tail.
TEST_F(ExportCompiles, StateBuffersHoldWhatEveryBuildTouches)
{
    EXPECT_EQ(HeliumStateTouched(ExportProfile::CmsisQ15, 64, 32), 127);
    EXPECT_EQ(HeliumStateTouched(ExportProfile::CmsisQ7, 101, 32), 228);
    EXPECT_EQ(HeliumStateTouched(ExportProfile::CmsisQ31, 64, 32) - (64 + 32 - 1), 64);
    if (!HaveTool("cc"))
        GTEST_SKIP() << "no C compiler";
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    std::ofstream(m_dir / "arm_math.h") << kArmMath;
    std::string includes, prints;
    for (const CmsisKind& k : kCmsisKinds)
        for (bool helium : {false, true}) {
            const std::string root = std::string("s_") + k.suffix + (helium ? "_mve" : "");
            ASSERT_TRUE(ExportDesignFiles(f.view, {k.profile, (m_dir / root).string(), 16, QuantRounding::Nearest,
                                                   32, helium}));
            includes += "#include \"" + root + ".h\"\n";
            const std::string m = ExportMacroName(root);
            prints += "    for (b = 1; b <= 70; ++b) printf(\"" + std::string(k.suffix) + " %d %d %d\\n\", b, (int)" +
                      m + "_STATE_LEN(b), " + m + "_STATE_LEN(b) == " + m + "_STATE_LEN(b) + 0);\n";
        }
    std::ofstream(m_dir / "state.c") << "#include <stdio.h>\n" << includes << "int main(void)\n{\n    int b;\n"
                                     << prints << "    return 0;\n}\n";
    std::string output;
    ASSERT_EQ(RunIn(m_dir, "cc -std=c99 -Wall -Werror -I. -o state state.c && ./state", output), 0) << output;
    // STATE_LEN(b) - NUM_TAPS per format and block, one line per export.
    std::map<std::string, std::map<int, std::vector<int>>> extra;
    const int taps = f.view.m_nTaps;
    for (const std::string& line : Lines(output)) {
        std::istringstream in(line);
        std::string suffix;
        int b = 0, length = 0, same = 0;
        in >> suffix >> b >> length >> same;
        const int numTaps = suffix == "q15" ? taps + taps % 2 : taps;
        extra[suffix][b].push_back(length - numTaps);
    }
    for (const CmsisKind& k : kCmsisKinds) {
        SCOPED_TRACE(k.suffix);
        ASSERT_EQ(extra[k.suffix].size(), 70u);
        for (const auto& [b, lengths] : extra[k.suffix]) {
            ASSERT_EQ(lengths.size(), 2u);
            EXPECT_EQ(lengths[0], lengths[1]) << "block " << b << ": --helium changes STATE_LEN";
            // The macro is NUM_TAPS plus a term of the block alone: check it
            // against the model for tap counts around every kernel bound.
            for (int numTaps : {4, 8, 16, 17, 24, 31, 32, 33, 34, 48, 63, 64, 65, 66, 100, 101, 102, 256, 1026})
                EXPECT_GE(numTaps + lengths[0], HeliumStateTouched(k.profile, numTaps, b))
                    << numTaps << " taps, block " << b;
        }
        if (k.profile == ExportProfile::CmsisQ31) {
            EXPECT_EQ(extra["q31"][32][0], 32 - 1 + 64);  // arm_fir_init_q31.c at block 32
        }
        if (k.profile == ExportProfile::CmsisF32) {
            EXPECT_EQ(extra["f32"][32][0], 2 * 32 - 1);
        }
    }
}

// A Helium build stops at an array exported without --helium; with it, or
// in a scalar build, the header compiles.
TEST_F(ExportCompiles, HeliumBuildsRefuseArraysWithoutHeliumPadding)
{
    if (!HaveTool("cc"))
        GTEST_SKIP() << "no C compiler";
    ExportFixture f(ExportCases()[0]);
    ASSERT_EQ(f.view.m_bDesignValid, 1);
    std::ofstream(m_dir / "arm_math.h") << kArmMath;
    for (const CmsisKind& k : kCmsisKinds)
        for (bool helium : {false, true}) {
            SCOPED_TRACE(std::string(k.suffix) + (helium ? " --helium" : ""));
            const std::string root = std::string("e_") + k.suffix + (helium ? "_mve" : "");
            ASSERT_TRUE(ExportDesignFiles(f.view, {k.profile, (m_dir / root).string(), 16, QuantRounding::Nearest,
                                                   32, helium}));
            for (const char* define : {"", "-DARM_MATH_MVEI", "-DARM_MATH_MVEF",
                                       "-DARM_MATH_MVEI -DARM_MATH_AUTOVECTORIZE"}) {
                std::string output;
                const int status =
                    RunIn(m_dir, std::string("cc -std=c99 -Wall -Werror -I. -c ") + define + " " + root + ".c", output);
                const bool refused = !helium && std::string(define).find("AUTOVECTORIZE") == std::string::npos &&
                                     *define;
                EXPECT_EQ(status != 0, refused) << define << "\n" << output;
                if (refused) {
                    EXPECT_NE(output.find("exported without Helium padding: export it again with --helium"),
                              std::string::npos)
                        << output;
                }
            }
        }
}
