#pragma once

#include <optional>
#include <string>
#include <vector>

#include "design/DesignMessages.h"
#include "design/WordChoice.h"
#include "document/HdlFilterPlan.h"
#include "dsp/MaskDerivation.h"
#include "dsp/OrderEstimate.h"
#include "dsp/Multirate.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// Export for a target: the profiles, what the user chose, what the design
// was, and the words each profile writes. Make File stays as it is; this is
// the second command beside it.

// The profiles; each has its row of traits in ExportProfileTraits.
enum class ExportProfile {
    CmsisF32,
    CmsisQ31,
    CmsisQ15,
    CmsisQ7,
    CFixed,
    CFloat,
    CDouble,
    Csv,
    Json,
    Coe,
    Vhdl,
    Verilog,
    CmsisDecimateF32,
    CmsisDecimateQ31,
    CmsisDecimateQ15,
    CmsisInterpolateF32,
    CmsisInterpolateQ31,
    CmsisInterpolateQ15,
    CPolyphase,
    VhdlFir,
    VerilogFir,
    Count,  // not a profile: how many there are; stays last
};
inline constexpr int kExportProfileCount = static_cast<int>(ExportProfile::Count);

inline constexpr int kMinExportBlockSize = 1;
inline constexpr int kMaxExportBlockSize = 65536;
inline constexpr int kDefaultExportBlockSize = 32;

// Texts of the export command.
inline constexpr const char* kMsgExportNoRoot = "Please specify a file name root.";
inline constexpr const char* kMsgExportRootFolder = "The file name root %s names a folder: please add a file name.";
inline constexpr const char* kMsgExportWordLength = "Please enter an integer between 2 and 32.";
inline constexpr const char* kMsgExportBlockSize = "Please enter an integer between 1 and 65536.";
inline constexpr const char* kMsgExportOutputBits = "Please enter an integer between 2 and 128.";
inline constexpr const char* kMsgExportClocks = "Please enter an integer between 1 and 1024.";

// What the user chose. wordLength (2..32) and rounding apply to c-fixed,
// coe, vhdl, verilog, vhdl-fir, verilog-fir and json's quantised figures;
// the CMSIS fixed-point profiles take the rounding with their own word (8,
// 16, 32 bits). blockSize (samples per call) and helium apply to the CMSIS
// profiles, inputBits, outputBits and testbench to vhdl-fir and verilog-fir.
struct ExportOptions {
    ExportProfile profile = ExportProfile::CmsisQ15;
    std::string root = "Outfile";  // path and name of the files, without extension
    int wordLength = 16;
    QuantRounding rounding = QuantRounding::Nearest;
    int blockSize = kDefaultExportBlockSize;
    bool helium = false;
    // The FPGA filters: input width (2..32), output width (2..128, or 0 for
    // the accumulator's, exact), the architecture, whether an AXI4-Stream
    // wrapper and whether a testbench with its stimulus and expected
    // outputs are written too.
    int inputBits = kDefaultHdlInputBits;
    int outputBits = 0;
    bool testbench = false;
    HdlFilterOptions filter;
    bool stream = false;
};

// What the design was, for the comments and the json profile: read from
// the form after a valid design.
struct ExportDesign {
    DesignOutline outline;          // kinds are the form's indices; taps is the count designed
    int irScaling = 0;              // the form's scaling index
    bool sinXComp = false;
    double variance = 0.0;          // Gaussian sigma
    int gridDensity = 0;            // Remez
    std::vector<double> taps;       // the design's taps, natural order
    std::vector<MaskBand> bands;    // the mask the figures are measured on
    bool bandsDerived = true;       // the mask derived from the design (not the user's)
    bool crossings = false;         // -3/-6 dB frequencies measured
    ResponseFigures figures;        // of the double taps
    // A lowpass for a rate change (taps at the high rate): what the
    // multirate profiles need; the others export the taps unchanged.
    std::optional<MultirateDesign> multirate;
    // A method beside the form's four (least squares, minimum phase, a
    // pulse, a shaped Remez pass band) as the comment names it, in place of
    // the method list's entry; empty for the form's own methods.
    std::string methodName;
    // Taps designed elsewhere (ForeignTaps.h): where they came from, named
    // in place of the design's parameters; empty for Zantro's own designs.
    std::string foreignSource;
    // A requirement the taps are judged against, double precision and as
    // exported (pass bands: ripple at most limitDb; stop bands: attenuation
    // at least limitDb); empty when none was given.
    std::vector<SpecBand> requirement;
    // The Remez exchange that made the taps converged (true for designs
    // without one and for taps designed elsewhere).
    bool converged = true;
    // Fixed-point words chosen for a requirement rather than rounded: the
    // fixed-point profiles write them (chosen again for a profile's own
    // format when theirs differs); none: the profiles round.
    std::optional<ChosenWords> chosenWords;
};

// The words of one export, natural order, before any reversal or padding.
struct ExportWords {
    bool fixedPoint = false;
    QuantResult quant;             // fixed-point profiles (and json's quantised figures)
    // The design's chosen words in the profile's format: a fixed-point
    // profile writes them (quant holds them), json adds them to its figures.
    std::optional<ChosenWords> chosen;
    std::vector<double> values;    // the values the target holds: quantised, float-rounded or exact
    ResponseFigures figures;       // of values, on the design's mask
};

bool IsCmsisProfile(ExportProfile p);
// The CMSIS profiles and c-fixed, c-float, c-double write <root>.h and <root>.c.
bool IsCProfile(ExportProfile p);
// The profiles whose word length the user chooses.
bool TakesWordLength(ExportProfile p);
// The profiles whose rounding the user chooses.
bool TakesRounding(ExportProfile p);
// The profiles that take a block size and Helium padding (the CMSIS ones).
bool TakesBlock(ExportProfile p);
bool TakesHelium(ExportProfile p);
// The profiles that take the input and output bits and the testbench (the FPGA filters).
bool TakesFilterOptions(ExportProfile p);
std::optional<ExportProfile> ParseExportProfile(const std::string& name);
const char* ExportProfileName(ExportProfile p);
// The extension of the one file of a non-C profile (".csv", ".json", ".coe",
// ".vhd", ".vh", ".v"); ".h" for the C profiles (which also write ".c").
const char* ExportExtension(ExportProfile p);
// The files an export writes, in writing order: <root>.h and <root>.c, or
// <root> with the profile's extension, then an FPGA filter's stream wrapper
// <root>_axis with the extension when options.stream, and its testbench
// <root>_tb with the extension, <root>_in.txt and <root>_expected.txt when
// options.testbench.
std::vector<std::string> ExportFilePaths(const ExportOptions& options);

// The quantisation a profile uses: CMSIS q31/q15/q7 are 32/16/8-bit words
// with 31/15/7 fraction bits; c-fixed, coe, vhdl, verilog and json the
// chosen word length with the largest fraction length that holds the peak
// tap; both with the chosen rounding. nullopt for the float profiles.
std::optional<QuantSpec> ExportQuantSpec(const ExportOptions& options);
// The words the profile writes and their measured figures: the design's
// chosen words where it has them and the profile writes words, else the
// taps rounded (or truncated) to the profile's format.
ExportWords ComputeExportWords(const ExportDesign& design, const ExportOptions& options);

// The CMSIS tap count to pass to arm_fir_init_*: the design's count, or one
// more for an odd q15 count, at least 4 for q15. The array length adds
// Helium's zero padding to a multiple of 4 (f32, q31), 8 (q15) or 16 (q7).
int CmsisNumTaps(ExportProfile p, int taps);
int CmsisArrayLength(ExportProfile p, int taps, bool helium);

// The root's file name as a C identifier (as Make File names its array),
// and its upper case for the macros.
std::string ExportName(const std::string& root);
std::string ExportMacroName(const std::string& root);

// The summary a reviewer reads at the top of every file: program and
// version, design, coefficient order, number format and rounding, and the
// measured figures of the exported values beside the double-precision
// ones. One line per entry, without comment markers.
std::vector<std::string> ExportSummary(const ExportDesign& design, const ExportOptions& options,
                                       const ExportWords& words);

// Why the design is not fit to ship as it is (UnsoundDesignWarnings of
// its convergence and figures), each line starting "WARNING: "; empty for
// a sound design. Every header states them; fixed-point profiles refuse.
std::vector<std::string> ExportWarningLines(const ExportDesign& design);
// The export's refusal of fixed-point words for an unsound design: its
// first warning, then why the words are refused.
std::string UnsoundFixedPointMessage(const ExportDesign& design);

// The summary's description of the design: filter, window, rate, band
// table or corners, scaling; one line per entry.
std::vector<std::string> ExportDesignLines(const ExportDesign& design);

// Locale-independent number texts: shortest round trip, or fixed decimals.
// The whole response as the headers state it, double precision beside the
// exported values: "  outside the stop bands: peak +0.0000 dB over the
// pass band at 1000 Hz | +0.0000 dB at 1000 Hz"; empty when not measured.
std::string WholeResponseLine(const ResponseFigures& exact, const ResponseFigures& target);

std::string NumberText(double v);
std::string FixedDecimals(double v, int decimals);
