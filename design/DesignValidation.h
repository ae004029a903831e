#pragma once

#include <optional>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"

// The refusal the form gives for these values, if any: the first failing
// check in the order the form makes them (its fields, the corners and the
// scale, the method and its data, then the values of the dialogs the design
// asks: window, differentiator gain or variance, the band table). Band
// values and weights are checked as given; the dialog checks them after
// rounding to the 3 and 2 decimals it shows.
std::optional<DesignNote> ValidateRequest(const DesignRequest& request);

// The scale the design uses: 1.0 for natural scaling, else request.scale.
double EffectiveScale(const DesignRequest& request);
