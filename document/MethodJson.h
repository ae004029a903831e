#pragma once

#include <nlohmann/json.hpp>

#include "design/DesignOutcome.h"

// The "methods" object of a design by the methods beside the form's four
// (zantro-cli's --json and the Python module's Design.methods): what the
// least-squares solve, the minimum-phase factoring, the pulse and the
// shaped Remez response report; an empty object for the form's methods.
// fs in Hz, for the pulse's occupied bandwidth.
nlohmann::ordered_json MethodsJson(const DesignOutcome& outcome, double fs);
