#pragma once

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "dsp/MaskDerivation.h"

// One design from its values to measured taps, as the form's Design button
// makes it, without a host: it never asks anything, the request carries
// every parameter.
//
// A request ValidateRequest refuses gives that refusal as its only note and
// no design; the rest run the method (windowed sinc, direct, frequency
// sampling: ideal response times window; Remez: DesignRemez with the
// method's start; least squares, minimum phase, shapes and pulses:
// MethodDesign.h), then x/sin(x) when asked, the scale factor of the
// scaling mode, the check for finite taps, the step response and the
// spectrum, and (request.measure) the figures on the derived mask. A
// request with a rate change designs its lowpass instead
// (RateChangeDesign.h), measured on its pass and stop bands. The
// outcome's arrays hold the same bits the form's arrays hold after the same
// design.
DesignOutcome Design(const DesignRequest& request);

// The bands a valid outcome of request is measured on: a rate change's
// pass and stop bands, a method's own (MethodMask), or the mask derived
// from the form's values.
std::vector<MaskBand> MeasurementMask(const DesignRequest& request, const DesignOutcome& outcome);

// What Design adds to a valid outcome when request.measure is set, for an
// outcome designed without it (measured when first needed): the mask, the
// figures on it (the -3/-6 dB crossings for the form's pass types), and a
// rate change's polyphase components and alias figures.
void MeasureOutcome(const DesignRequest& request, DesignOutcome& outcome);

// The differentiator's gain at fs/2 a request designs with: the windowed
// sinc's; pi for the other methods.
double DifferentiatorGainOf(const DesignRequest& request);

// What the mask derivation reads of a design of these values with taps
// taps (frequency sampling: 2P - 1) scaled by gain. The window of a method
// without one is the new document's (Hamming, beta 5, 40 dB).
DesignOutline OutlineOf(const DesignRequest& request, int taps, double gain);
