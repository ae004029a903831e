#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"
#include "design/DesignRequest.h"

// A zantro-cli run of a method beside the form's four (--method ls,
// --min-phase, --pulse, --cic-comp, --inverse-sinc). The request is the
// options over a new document's values (its filter type, taps, rate, band
// table and grid density), designed by Design without the form; then the
// coefficients, or --json with the "methods" object; messages on err.

// The request of the options; the band texts as the band dialog takes them.
DesignRequest MethodRequestOf(const CliOptions& options);

// The whole run. The exit status as zantro-cli's: 0 valid, 1 refused.
int RunMethods(const CliOptions& options, std::ostream& out, std::ostream& err);
