#pragma once

#include <iosfwd>
#include <optional>

#include "cli/CliOptions.h"
#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "form/FormRequest.h"

// zantro-cli's options as the form's fields and dialog answers (a new
// document's, with the options given; a rate change starting from
// SetRateChangeDefaults), for the runs that design without the form: the
// methods beside its four and the rate changes. Texts are read as the
// form's edits read them; nothing is clamped, the design refuses what is
// out of range.
FormDesign FormDesignOf(const CliOptions& options);

// Its request (RequestOf); the options' method is always one of the list's.
DesignRequest RequestOf(const CliOptions& options);

// --save of such a design: the document the form keeps of it (StoreDesign
// over the options' fields with the outcome's taps and gain), written
// through a temporary file; false, the message on err, when that fails.
bool SaveDesign(const CliOptions& options, const DesignRequest& request, const DesignOutcome& outcome,
                const std::optional<SpecRequirement>& requirement, std::ostream& err);
