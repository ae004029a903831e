#pragma once

#include <pybind11/pybind11.h>

#include "form/FormRequest.h"

namespace py = pybind11;

// zantro.design's keywords as the form's fields and dialog answers
// (FormDesign), from which the form's mapping makes the request, and back.

// A new document's values changed by the keywords (None leaves a value as
// it is), in zantro-cli's order: the target preset, the fields, the
// dialogs' answers, then what the form has no field for, as zantro-cli's
// options give it (dashes as underscores: decimate, interpolate, halfband,
// alias_bands, method "ls", min_phase, pulse, rolloff, bt, sps, span,
// pulse_gain, cic_comp=(R, M, N), inverse_sinc). A keyword of the wrong
// kind, or a combination zantro-cli refuses as a usage error, raises
// DesignError with its reason.
FormDesign FormDesignOf(const py::dict& keywords);

// The keywords that give design again: zantro.design(**KeywordsOf(d)).
py::dict KeywordsOf(const FormDesign& design);
