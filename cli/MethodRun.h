#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"

// A zantro-cli run of a method beside the form's four (--method ls,
// --min-phase, --pulse, --cic-comp, --inverse-sinc). The request is the
// options' (OptionsDesign.h), designed by Design without the form; then the
// coefficients, or --json with the "methods" object; messages on err.

// The whole run. The exit status as zantro-cli's: 0 valid, 1 refused.
int RunMethods(const CliOptions& options, std::ostream& out, std::ostream& err);
