#pragma once

#include <optional>
#include <string>

#include "dsp/Multirate.h"

namespace CLI {
class App;
}
struct CliOptions;

// A lowpass for a rate change: --decimate M, --interpolate L or --halfband,
// with --alias-bands, and --to-spec's --stop-band alias:ATTEN.
struct MultirateCliRequest {
    std::optional<MultirateKind> kind;
    int factor = 0;
    int kindsGiven = 0;  // of the three options (more than one is refused)
    bool aliasBands = false;
    // --stop-band alias:ATTEN: every derived stop band at least ATTEN dB down.
    std::optional<double> aliasAttenuationDb;
};

// Adds --decimate, --interpolate, --halfband and --alias-bands.
void AddMultirateOptions(CLI::App& app, CliOptions& options);

// "alias:DB" with DB a decimal number above 0: DB; nullopt otherwise.
std::optional<double> ParseAliasStopBand(const std::string& text);

// What is wrong with the multirate options as a whole (an option the
// design has no use for, a missing one, the --to-spec bands); empty when
// nothing is or no rate change was asked for.
std::string CheckMultirateOptions(const CliOptions& options);
