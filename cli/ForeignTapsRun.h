#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"

// A zantro-cli run of --coefficients: the taps read from the file (its
// message on err and exit status 1 when refused), at --fs, else the rate a
// Zantro JSON file states, else a new document's; measured on --mask, else
// the requirement's bands (--pass-band, --stop-band), else on none; judged
// against the requirement in double precision and, with --quantize, in that
// format; exported with --export (the files state what they were given and
// the requirement's verdict). Prints the taps, or with --json one object
// with "design_valid", "source", "taps", "sampling_rate_hz",
// "coefficients", "messages", "analysis" and "requirement". The exit
// status: 0 read, exported and the requirement met; 1 otherwise (the files
// are written also when the taps miss the requirement); 2 for a mask or
// requirement band beyond fs/2 or a rate that is no rate.
int RunForeignTaps(const CliOptions& options, std::ostream& out, std::ostream& err);
