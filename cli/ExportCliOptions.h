#pragma once

#include <optional>
#include <string>

#include "document/ExportProfile.h"

namespace CLI {
class App;
}

// What --export asks for: the profile and root, with the word length, the
// block size and Helium padding. The rounding is --rounding's, shared with
// the analysis.
struct ExportRequest {
    std::optional<ExportProfile> profile;
    std::string root;
    int wordLength = 16;
    int blockSize = kDefaultExportBlockSize;
    bool helium = false;
    int inputBits = 16;
    int outputBits = 0;  // the accumulator's width
    HdlFilterOptions filter;
    bool stream = false;
    bool testbench = false;
};

// Adds --export, --export-root, --word-length, --block, --helium and the
// FPGA filters' --input-bits, --output-bits, --architecture,
// --clocks-per-sample, --pipeline, --stream and --testbench; --export and
// --export-root need each other.
void AddExportOptions(CLI::App& app, ExportRequest& request);

// Refuses --word-length, --block, --helium or an FPGA filter's option given
// with a profile they do not apply to (as the profile's traits say), and
// --clocks-per-sample or --pipeline with an architecture they do not apply
// to; "" when all apply.
std::string CheckExportOptions(const CLI::App& app, const ExportRequest& request);

// The export's options: the request's, with the rounding of --rounding.
ExportOptions ExportOptionsOf(const ExportRequest& request, QuantRounding rounding);
