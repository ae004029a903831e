#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"

// Command-line names of the combo entries, in index order. The form's own
// entry texts ("Hilbert Transformer", "Sync + Window", ...) are accepted too.
inline const std::vector<std::string> kCliFilterTypes = {
    "lowpass", "highpass", "bandpass", "bandstop", "hilbert",
    "differentiator", "gaussian", "allpass", "moving-average"};
inline const std::vector<std::string> kCliDesignMethods = {"sinc", "fsamp", "remez", "direct"};
// --method's names: the form's four, then least squares (kCliLeastSquares).
inline const std::vector<std::string> kCliAllDesignMethods = {"sinc", "fsamp", "remez", "direct", "ls"};
inline const std::vector<std::string> kCliWindowTypes = {
    "rectangular", "hanning", "hamming", "blackman", "chebyshev", "kaiser"};
inline const std::vector<std::string> kCliScalings = {"natural", "normalized", "optimized", "custom"};
// The Make File dialog's lists: command-line names and the dialog's own entries.
inline const std::vector<std::string> kCliExtensions = {"c", "cpp"};
inline const std::vector<std::string> kCliExtensionEntries = {".c", ".cpp"};
inline const std::vector<std::string> kCliNumberFormats = {"q7", "q15", "q31", "float", "double"};
inline const std::vector<std::string> kCliNumberFormatEntries = {"Q7", "Q15", "Q31", "float", "double"};

// Turns argv into CliOptions. Parse errors never throw: they come back as
// a UsageError whose text is the reason followed by the usage.
class CliParser {
public:
    enum class Status { Run, Help, UsageError };
    struct Result {
        Status status = Status::Run;
        std::string text;  // Help: the usage; UsageError: "zantro-cli: <reason>" and the usage
    };

    static Result Parse(int argc, const char* const* argv, CliOptions& options);
    static std::string Usage();
    // zantro-cli(1): the template's options line filled from the options
    // Parse takes, with the texts Usage prints (cli/CliManPage.h).
    static std::string ManPage(const std::string& templateText);

    // Index of text among names (case-insensitive) or among the form's entry
    // texts, or a decimal index below names.size(); nullopt otherwise.
    static std::optional<int> ChoiceIndex(const std::string& text, const std::vector<std::string>& names,
                                          const std::vector<std::string>& entries);
    // "LO:HI:VALUE:WEIGHT" split into the texts typed into one band row;
    // nullopt when a field could not be typed as it stands.
    static std::optional<CliOptions::Band> ParseBand(const std::string& text);
};
