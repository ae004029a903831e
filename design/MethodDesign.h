#pragma once

#include <optional>
#include <vector>

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"

// The methods beside the form's four, as steps of Design: least squares
// (LeastSquaresMethod), pulse shaping (PulseMethod), and minimum phase or a
// shaped pass band on a Remez or least-squares request.

// True when the request takes one of these paths rather than the form's.
bool UsesMethodDesign(const DesignRequest& request);

// The refusal of such a request, if any, after the checks every request
// gets: the method against the filter type, then the pulse's or the
// shape's parameters.
std::optional<DesignNote> ValidateMethodRequest(const DesignRequest& request);

// Designs into out.coeffs (N taps), out.irPeak and out.methods; a failure
// pushes its note and leaves out.ran false. Remez notes (passes, no
// convergence) are pushed as the form's Remez design pushes them.
void DesignByMethod(const DesignRequest& request, DesignOutcome& out);

// The bands the taps are measured on: the band table for least squares
// and Remez (pass values times the scale factor gain); for a
// raised-cosine pulse its flat band 0 .. (1 - alpha)/2 and its stop band
// from (1 + alpha)/2 of the symbol rate; none for a Gaussian.
std::vector<MaskBand> MethodMask(const DesignRequest& request, double gain);
