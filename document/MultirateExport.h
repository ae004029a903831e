#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/ExportProfile.h"
#include "document/ExportWriters.h"
#include "dsp/Multirate.h"

// Exports of a rate-changing lowpass: CMSIS-DSP's FIR decimator and
// interpolator (arm_fir_decimate_*, arm_fir_interpolate_*) and plain C
// polyphase arrays. The design's taps are the prototype at the high rate;
// the single-rate profiles export it unchanged.

enum class MultirateTarget { CmsisDecimate, CmsisInterpolate, CPolyphase };
// The CMSIS word: float32_t, q31_t (Q1.31) or q15_t (Q1.15); c-polyphase is float.
enum class MultirateWord { F32, Q31, Q15 };

struct MultirateExportOptions {
    MultirateTarget target = MultirateTarget::CmsisDecimate;
    MultirateWord word = MultirateWord::F32;
    std::string root = "Outfile";
    int blockSize = kDefaultExportBlockSize;  // input samples a call (CMSIS)
    QuantRounding rounding = QuantRounding::Nearest;
};

// State buffer words beyond CMSIS-DSP's documented length. Its interpolator
// reads up to 3 words past the documented phaseLength + blockSize - 1 (the
// loop-unrolled f32 code loads four samples for a remainder of fewer taps,
// CMSIS-DSP issue 261); vectorised builds load whole vectors of up to 8
// words. The margin covers both (the decimator gets it too, for vector
// loads at the end of its state); it is never written.
inline constexpr int kMultirateStateMargin = 8;

// The words of a multirate export.
struct MultirateWords {
    int factor = 2;
    int numTaps = 0;      // the design's N; interpolators: padded with zeros to a multiple of L
    int phaseLength = 0;  // numTaps / factor, rounded up
    // Interpolators carry the gain L in their taps so that the pass band has
    // unit gain: tap = L h / 2^postShift, and a fixed-point output is
    // shifted left by postShift to restore it (0 for f32 and decimators;
    // 1 or more where L h would reach 1.0, which Q1.15 and Q1.31 cannot hold).
    double tapGain = 1.0;  // L / 2^postShift for interpolators, else 1
    int postShift = 0;
    bool fixedPoint = false;
    QuantResult quant;          // fixed point: the words of the scaled taps, natural order, padded
    std::vector<double> values; // what the target holds (scaled taps), natural order, padded
    ResponseFigures figures;    // of values / tapGain on the design's mask
    double aliasAttenuationDb = 0.0;  // of values / tapGain
};

// The largest sum of |taps| over the factor's polyphase components (taps
// p, p + factor, ...): an interpolator's largest output for a full-scale input.
double MaxPhaseAbsSum(const std::vector<double>& taps, int factor);

// The refusal of an export (empty when it can go ahead): a design that is
// not multirate, a decimator block size that is not a multiple of M, a
// factor or length CMSIS-DSP cannot take (uint8_t factor, uint16_t taps).
std::string CheckMultirateExport(const ExportDesign& design, const std::optional<MultirateDesign>& rate,
                                 const MultirateExportOptions& options);

MultirateWords ComputeMultirateWords(const ExportDesign& design, const MultirateDesign& rate,
                                     const MultirateExportOptions& options);

// <root>.h: the reviewer's comment (design, factor, rates, format, figures
// before and after quantisation with the alias attenuation, the init call),
// the macros and the declarations; <root>.c: the arrays.
std::string MultirateHeaderText(const ExportDesign& design, const MultirateDesign& rate,
                                const MultirateExportOptions& options, const MultirateWords& words);
std::string MultirateSourceText(const MultirateExportOptions& options, const MultirateWords& words);

// The target and word of a multirate profile (cmsis-decimate-*,
// cmsis-interpolate-*, c-polyphase) with the export's root, block size and rounding.
MultirateExportOptions MultirateOptionsOf(const ExportOptions& options);

// The writer of the multirate profiles' row: <root>.h and <root>.c of
// design.multirate (a design without one, which the export command
// refuses, gets a header that says so and no arrays).
std::vector<ExportFile> MultirateExportFiles(const ExportDesign& design, const ExportOptions& options,
                                             const ExportWords& words);

// The texts of the refusals.
inline constexpr const char* kMsgMultirateNoRate =
    "The multirate profiles need a design made for a rate change (decimation, interpolation or half-band).";
std::string MultirateBlockMessage(int blockSize, int factor);
