#pragma once

#include <optional>
#include <string>

#include "cli/CliOptions.h"

namespace CLI {
class App;
}

// Adds --to-spec, --pass-band and --stop-band to the command line.
void AddSpecOptions(CLI::App& app, CliOptions& options);

// "LO:HI:DB" with LO and HI whole hertz (LO < HI) and DB a decimal number
// above 0: a band of the given kind; nullopt otherwise.
std::optional<SpecBand> ParseSpecBand(const std::string& text, BandKind kind);

// The bands of the options sorted by their lower edge, as a requirement at fs.
SpecRequirement RequirementOf(const CliOptions& options, double fs);

// What is wrong with the --to-spec options as a whole (an option whose
// field it fills itself, the method, the band pattern, --type against the
// bands); empty when nothing is.
std::string CheckSpecOptions(const CliOptions& options);
