#pragma once

#include <optional>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"

// The refusal of these values, if any: the first failing check in the order
// the form makes them (its fields, the corners and the scale, the method and
// its data, then the values of the dialogs the design asks: window,
// differentiator gain or variance, the band table's rows in use). What the
// form's dialogs refuse besides (texts too long to show, edges of rows not
// in use, the band dialog's weight range) is the form's (form/FormRequest.h).
std::optional<DesignNote> ValidateRequest(const DesignRequest& request);

// False for a pulse, whose normalisation is its gain, and for a rate
// change's lowpass: the scaling and x/sin(x) do not apply to them.
bool ScalingApplies(const DesignRequest& request);

// The scale the design uses: 1.0 for natural scaling or where the scaling
// does not apply, else request.scale.
double EffectiveScale(const DesignRequest& request);
