#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "document/ExportProfile.h"
#include "dsp/FewestTapsSearch.h"
#include "dsp/Multirate.h"

// A zantro-cli run with a rate change (--decimate, --interpolate,
// --halfband). The lowpass is designed from its values without the form:
// Remez on the derived bands, a windowed sinc cut at fs / (2 factor), or
// the half-band method; with --to-spec the fewest taps that meet the pass
// band and the derived (or given) stop bands, also after --quantize. Then
// the coefficients, or --json with its "multirate" object, and --export.

struct MultirateRun {
    bool valid = false;
    std::vector<std::string> messages;  // refusals and notes, as printed on stderr
    MultirateDesign rate;
    ExportDesign design;              // the prototype at the high rate
    MultirateFigures figures;         // with the --quantize format's alias attenuation
    std::string quantName;            // that format's name
    std::optional<SpecSearchResult> search;  // --to-spec
};

// The design (or the search) of the options, without exporting.
MultirateRun DesignMultirate(const CliOptions& options);

// The whole run: design, then --export, then the coefficients on out or
// --json; messages on err. The exit status as zantro-cli's: 0 valid, 1 refused.
int RunMultirate(const CliOptions& options, std::ostream& out, std::ostream& err);
