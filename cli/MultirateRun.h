#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"

// A zantro-cli run with a rate change (--decimate, --interpolate,
// --halfband): the options' request (OptionsDesign.h) with its rateChange
// (--fs the high rate, --f1 the pass-band edge), designed by Design without
// the form; with --to-spec the fewest taps that meet the pass band and the derived
// (or given) stop bands, also after --quantize. Then the coefficients, or
// --json with its "multirate" object, and --export.

// The whole run: design, then --export, then the coefficients on out or
// --json; messages on err. The exit status as zantro-cli's: 0 valid, 1 refused.
int RunMultirate(const CliOptions& options, std::ostream& out, std::ostream& err);
