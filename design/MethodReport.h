#pragma once

#include "dsp/MinimumPhase.h"
#include "dsp/PulseShaping.h"
#include "dsp/ResponseShape.h"

// What the methods beside the form's four report besides the taps and the
// figures; each part's ran says whether the design took that path.

struct LeastSquaresReport {
    bool ran = false;
    double conditionEstimate = 0.0;     // of the Gram matrix (largest / smallest eigenvalue)
    double ridge = 0.0;                 // added to its diagonal, 0 when none was needed
    double relativeResidual = 0.0;      // |G a - b| / |b|
    double weightedSquaredError = 0.0;  // the integral the design minimises (fractions of fs)
};

struct MinimumPhaseReport {
    bool ran = false;
    PrototypeMethod prototypeMethod = PrototypeMethod::Remez;
    int prototypeTaps = 0;            // 2N - 1
    bool prototypeConverged = false;  // the Remez exchange converged (least squares: solved)
    double prototypeError = 0.0;      // Remez |delta|, or the least-squares error
    double shift = 0.0;               // added to the prototype's amplitude before factoring
    // The prototype's stop ripple ds as measured (between the exchange's grid
    // points too) and the stop-band level sqrt((ds + s) / (1 + s)) it
    // promises, dB; 0 without stop bands.
    double prototypeStopRipple = 0.0;
    double promisedStopDb = 0.0;
    int fftSize = 0;
    double tailEnergy = 0.0;          // aliasing left beyond N taps, relative
    double groupDelayDcSamples = 0.0; // NaN where |H(0)| vanishes
    double linearPhaseDelaySamples = 0.0;  // (N - 1) / 2 of a linear-phase filter of the same length
};

struct PulseReport {
    bool ran = false;
    PulseRequest request;
    PulseAnalysis analysis;
};

struct ShapeReport {
    bool ran = false;
    ResponseShape shape;
    // Largest | |H(f)| / G(f) - value | over the pass bands: how far the
    // cascade with the compensated response strays from flat.
    double cascadeDeviation = 0.0;
};

struct MethodReport {
    LeastSquaresReport leastSquares;
    MinimumPhaseReport minimumPhase;
    PulseReport pulse;
    ShapeReport shape;
};
