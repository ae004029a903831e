#pragma once

#include "cli/CliOptions.h"
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
