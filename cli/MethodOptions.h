#pragma once

#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "dsp/ResponseShape.h"

namespace CLI {
class App;
}

// --method's index for least squares, after the form's four methods.
inline constexpr int kCliLeastSquares = 4;

// Adds --min-phase, --pulse, --rolloff, --bt, --sps, --span, --pulse-gain,
// --cic-comp and --inverse-sinc to the command line.
void AddMethodOptions(CLI::App& app, CliOptions& options);

// "R:M:N", whole numbers: decimation 1..4096, differential delay 1..8,
// stages 1..16; nullopt otherwise.
std::optional<ResponseShape> ParseCicShape(const std::string& text);

// True when the run asks for a method the form does not have (least
// squares, minimum phase, a pulse, a shaped Remez response).
bool UsesNewMethods(const CliOptions& options);

// What is wrong with those options as a whole; empty when nothing is.
std::string CheckMethodOptions(const CliOptions& options);
