#include "document/ExportProfileTraits.h"

#include "document/MultirateExport.h"

#include <array>

#include "document/HdlFilterWriter.h"

namespace {

// The one file <root><extension> of a profile whose writer gives its text.
template <std::string (*Text)(const ExportDesign&, const ExportOptions&, const ExportWords&)>
std::vector<ExportFile> OneFile(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return {{o.root + TraitsOf(o.profile).extension, Text(d, o, w)}};
}

constexpr unsigned kCmsisFixedOptions = kExportTakesRounding | kExportTakesBlock | kExportTakesHelium;
constexpr unsigned kChosenWordOptions = kExportTakesWordLength | kExportTakesRounding;
constexpr unsigned kFilterOptions = kChosenWordOptions | kExportTakesFilterOptions;

// The state buffers, large enough for every build of CMSIS-DSP (scalar,
// DSP extension, Helium), from CMSIS-DSP's sources (1.10 to 1.17):
// - f32: arm_fir_init_f32.c documents numTaps + 2*blockSize - 1 (blockSize
//   partial sums ahead of the state), but arm_fir_f32.c's Helium kernels
//   reach further: 1-4 taps store a whole vector for the tail, the tail
//   round loads whole shifted vectors, and the copy back (numTaps samples
//   before 1.16.2) loads a whole vector: up to 6 words past, at most
//   numTaps + blockSize + 4*ceil(blockSize/4) + 3 in all.
// - q31: arm_fir_init_q31.c documents numTaps + 8*ceil(blockSize/4) +
//   blockSize - 1; the 1-4 tap kernel and the kernel beyond 32 taps store
//   the tail as a whole vector and the copy back loads one: up to 3 past.
// - q15: arm_fir_init_q15.c clears numTaps + blockSize with ARM_MATH_DSP;
//   arm_fir_q15.c's Helium loop for more than 32 taps stores 8 input samples
//   per 4 outputs from numTaps - 1 (numTaps - 1 + 8*ceil(blockSize/4)
//   written) and reads up to blockSize + 8*ceil(numTaps/8) (its unpredicated
//   vld1q in the copy back): numTaps + 8*ceil(blockSize/4) + 7 covers both.
// - q7: arm_fir_q7.c likewise stores 16 per 4 outputs beyond 64 taps and
//   reads up to blockSize + 16*ceil(numTaps/16): numTaps + 16*ceil(blockSize/4) + 15.
constexpr const char* kIntegerSums = "integer sums wrap around in an accumulator without these bits above the "
                                     "input's";
constexpr const char* kFloats = "floating point does not overflow; outputs scale with sum|b|";
constexpr const char* kWraps = "arm_fir_q31 wraps around on overflow (the sign flips), so keep the input below "
                               "full scale / sum|b|";

using P = ExportProfile;
using F = ExportFamily;
using Num = ExportNumbers;
using R = ExportWordRule;

constexpr std::array kTraits = {
    ExportProfileTraits{P::CmsisF32, "cmsis-f32", ".h", F::Cmsis, Num::Single, R::None, 0,
                        kExportTakesBlock | kExportTakesHelium, {false, 0, 4}, "float32_t", "f32",
                        "(NUM_TAPS + (block_size) + 4 * (((block_size) + 3) / 4) + 3)",
                        "State buffer length for block_size samples a call, for every build: numTaps + blockSize + "
                        "4 * ceil(blockSize / 4) + 3 (Helium keeps blockSize samples of working memory ahead of the "
                        "state and its vector loads reach up to 6 words past the documented numTaps + 2 * blockSize "
                        "- 1)",
                        "", "CMSIS-DSP arm_fir_f32 (float32_t)", CExportFiles,
                        "single precision does not overflow; outputs scale with sum|b|"},
    ExportProfileTraits{P::CmsisQ31, "cmsis-q31", ".h", F::Cmsis, Num::Words, R::Fixed, 32, kCmsisFixedOptions,
                        {false, 0, 4}, "q31_t", "q31", "(NUM_TAPS + (block_size) + 8 * (((block_size) + 3) / 4) + 2)",
                        "State buffer length for block_size samples a call, for every build: numTaps + blockSize + 8 "
                        "* ceil(blockSize / 4) + 2 (Helium keeps 8 * ceil(blockSize / 4) words of working memory "
                        "ahead of the state and its whole-vector tail reaches up to 3 words past the documented "
                        "length)",
                        "", "CMSIS-DSP arm_fir_q31 (q31_t, Q1.31, 2.62 accumulator)", CExportFiles, kWraps},
    ExportProfileTraits{P::CmsisQ15, "cmsis-q15", ".h", F::Cmsis, Num::Words, R::Fixed, 16, kCmsisFixedOptions,
                        {true, 4, 8}, "q15_t", "q15", "(NUM_TAPS + 8 * (((block_size) + 3) / 4) + 7)",
                        "State buffer length for block_size samples a call, for every build: numTaps + 8 * "
                        "ceil(blockSize / 4) + 7 (Helium stores 8 input samples per 4 outputs beyond 32 taps)",
                        "", "CMSIS-DSP arm_fir_q15 (q15_t, Q1.15, 34.30 accumulator)", CExportFiles,
                        "arm_fir_q15 saturates on overflow (clips at full scale)"},
    ExportProfileTraits{P::CmsisQ7, "cmsis-q7", ".h", F::Cmsis, Num::Words, R::Fixed, 8, kCmsisFixedOptions,
                        {false, 0, 16}, "q7_t", "q7", "(NUM_TAPS + 16 * (((block_size) + 3) / 4) + 15)",
                        "State buffer length for block_size samples a call, for every build: numTaps + 16 * "
                        "ceil(blockSize / 4) + 15 (Helium stores 16 input samples per 4 outputs beyond 64 taps)",
                        "", "CMSIS-DSP arm_fir_q7 (q7_t, Q1.7, 18.14 accumulator)", CExportFiles,
                        "arm_fir_q7 saturates on overflow (clips at full scale)"},
    ExportProfileTraits{P::CFixed, "c-fixed", ".h", F::PlainC, Num::Words, R::Chosen, 0, kChosenWordOptions, {},
                        nullptr, nullptr, nullptr, nullptr, "", "plain C, <stdint.h> fixed-point words",
                        CExportFiles, kIntegerSums},
    ExportProfileTraits{P::CFloat, "c-float", ".h", F::PlainC, Num::Single, R::None, 0, 0u, {}, "float", nullptr,
                        nullptr, nullptr, "", "plain C, float", CExportFiles, kFloats},
    ExportProfileTraits{P::CDouble, "c-double", ".h", F::PlainC, Num::Double, R::None, 0, 0u, {}, "double", nullptr,
                        nullptr, nullptr, "", "plain C, double", CExportFiles, kFloats},
    ExportProfileTraits{P::Csv, "csv", ".csv", F::Data, Num::Shortest, R::None, 0, 0u, {}, nullptr, nullptr, nullptr,
                        nullptr, "# ", "CSV, one tap a line, double precision", OneFile<CsvExportText>, kFloats},
    ExportProfileTraits{P::Json, "json", ".json", F::Data, Num::Shortest, R::Chosen, 0, kChosenWordOptions, {},
                        nullptr, nullptr, nullptr, nullptr, "", "JSON: taps, parameters and analysis",
                        OneFile<JsonExportText>, kFloats},
    ExportProfileTraits{P::Coe, "coe", ".coe", F::Hdl, Num::Words, R::Chosen, 0, kChosenWordOptions, {}, nullptr,
                        nullptr, nullptr, nullptr, "; ", "Xilinx coefficient file (radix 10)",
                        OneFile<CoeExportText>, kIntegerSums},
    ExportProfileTraits{P::Vhdl, "vhdl", ".vhd", F::Hdl, Num::Words, R::Chosen, 0, kChosenWordOptions, {}, nullptr,
                        nullptr, nullptr, nullptr, "-- ", "VHDL package, constant integer array",
                        OneFile<VhdlExportText>, kIntegerSums},
    ExportProfileTraits{P::Verilog, "verilog", ".vh", F::Hdl, Num::Words, R::Chosen, 0, kChosenWordOptions, {},
                        nullptr, nullptr, nullptr, nullptr, "// ", "Verilog include, localparam vector",
                        OneFile<VerilogExportText>, kIntegerSums},
    ExportProfileTraits{P::CmsisDecimateF32, "cmsis-decimate-f32", ".h", F::Multirate, Num::Single, R::None, 0,
                        kExportTakesBlock, {}, "float32_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_decimate_f32 (float32_t)", MultirateExportFiles},
    ExportProfileTraits{P::CmsisDecimateQ31, "cmsis-decimate-q31", ".h", F::Multirate, Num::Words, R::Fixed, 32,
                        kExportTakesBlock | kExportTakesRounding, {}, "q31_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_decimate_q31 (q31_t, Q1.31, 2.62 accumulator)", MultirateExportFiles},
    ExportProfileTraits{P::CmsisDecimateQ15, "cmsis-decimate-q15", ".h", F::Multirate, Num::Words, R::Fixed, 16,
                        kExportTakesBlock | kExportTakesRounding, {}, "q15_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_decimate_q15 (q15_t, Q1.15, 34.30 accumulator)", MultirateExportFiles},
    ExportProfileTraits{P::CmsisInterpolateF32, "cmsis-interpolate-f32", ".h", F::Multirate, Num::Single, R::None, 0,
                        kExportTakesBlock, {}, "float32_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_interpolate_f32 (float32_t)", MultirateExportFiles},
    ExportProfileTraits{P::CmsisInterpolateQ31, "cmsis-interpolate-q31", ".h", F::Multirate, Num::Words, R::Fixed, 32,
                        kExportTakesBlock | kExportTakesRounding, {}, "q31_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_interpolate_q31 (q31_t, Q1.31, 2.62 accumulator)", MultirateExportFiles},
    ExportProfileTraits{P::CmsisInterpolateQ15, "cmsis-interpolate-q15", ".h", F::Multirate, Num::Words, R::Fixed, 16,
                        kExportTakesBlock | kExportTakesRounding, {}, "q15_t", nullptr, nullptr, nullptr, "",
                        "CMSIS-DSP arm_fir_interpolate_q15 (q15_t, Q1.15, 34.30 accumulator)", MultirateExportFiles},
    ExportProfileTraits{P::CPolyphase, "c-polyphase", ".h", F::Multirate, Num::Single, R::None, 0, 0u, {}, "float",
                        nullptr, nullptr, nullptr, "", "plain C polyphase arrays, float", MultirateExportFiles},
    ExportProfileTraits{P::VhdlFir, "vhdl-fir", ".vhd", F::Hdl, Num::Words, R::Chosen, 0, kFilterOptions, {},
                        nullptr, nullptr, nullptr, nullptr, "-- ",
                        "synthesizable VHDL-2008 FIR filter of the c-fixed words", VhdlFilterExportFiles},
    ExportProfileTraits{P::VerilogFir, "verilog-fir", ".v", F::Hdl, Num::Words, R::Chosen, 0, kFilterOptions, {},
                        nullptr, nullptr, nullptr, nullptr, "// ",
                        "synthesizable Verilog-2001 FIR filter of the c-fixed words", VerilogFilterExportFiles},
};

constexpr bool IsC(F family)
{
    return family == F::Cmsis || family == F::PlainC;
}

constexpr bool Has(const ExportProfileTraits& t, unsigned option)
{
    return (t.options & option) != 0;
}

// What must hold of every row; each clause names a fault a new row could bring.
constexpr bool RowsAgree()
{
    for (size_t i = 0; i < kTraits.size(); ++i) {
        const ExportProfileTraits& t = kTraits[i];
        if (t.profile != static_cast<ExportProfile>(i) || !t.name || !t.extension || !t.target || !t.writer ||
            !t.commentMarker)
            return false;
        // Words come from a quantisation; the word length applies exactly to the user's word.
        if ((t.numbers == Num::Words && t.wordRule == R::None) || (t.wordRule == R::Fixed) != (t.wordBits > 0) ||
            Has(t, kExportTakesWordLength) != (t.wordRule == R::Chosen) ||
            Has(t, kExportTakesRounding) != (t.wordRule != R::None))
            return false;
        // Block, Helium, padding and the state buffer are CMSIS-DSP's.
        const bool cmsis = t.family == F::Cmsis;
        // A multirate CMSIS profile takes a block size (no Helium padding, no state text of the table).
        const bool blocks = cmsis || (t.family == F::Multirate && std::string_view(t.name).starts_with("cmsis-"));
        if (Has(t, kExportTakesBlock) != blocks || Has(t, kExportTakesHelium) != cmsis ||
            (t.padding.heliumMultiple > 0) != cmsis || (t.cmsisSuffix != nullptr) != cmsis ||
            (t.stateLength != nullptr) != cmsis || (t.stateComment != nullptr) != cmsis)
            return false;
        // A filter is built from the user's words, for an FPGA flow.
        if (Has(t, kExportTakesFilterOptions) && (t.family != F::Hdl || t.wordRule != R::Chosen))
            return false;
        // A C array has a type, or is a word typed by its length.
        if (IsC(t.family) && !t.cType && t.numbers != Num::Words)
            return false;
        for (size_t j = 0; j < i; ++j)
            if (std::string_view(kTraits[j].name) == t.name)
                return false;
    }
    return true;
}

static_assert(kTraits.size() == static_cast<size_t>(ExportProfile::Count),
              "every export profile needs its row in kTraits");
static_assert(RowsAgree(), "the export profile rows are out of order, named twice or contradict themselves");

}  // namespace

const ExportProfileTraits& TraitsOf(ExportProfile p)
{
    return kTraits[static_cast<size_t>(p)];
}

std::span<const ExportProfileTraits> AllExportProfileTraits()
{
    return kTraits;
}
