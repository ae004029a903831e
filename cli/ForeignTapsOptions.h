#pragma once

#include <string>

#include "cli/CliOptions.h"

namespace CLI {
class App;
}

// --coefficients FILE: taps designed elsewhere, measured, judged and
// exported instead of a design (ForeignTapsRun.h).
void AddForeignTapsOption(CLI::App& app, CliOptions& options);

// The options that go with --coefficients: --fs, --mask, --pass-band,
// --stop-band, --quantize, --rounding, --json and the export options.
// Empty when the parsed options fit; otherwise the usage error's reason,
// naming the first option that designs (or a requirement without
// --to-spec or --coefficients).
std::string CheckForeignTapsOptions(const CLI::App& app, const CliOptions& options);
