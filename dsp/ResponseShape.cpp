#include "dsp/ResponseShape.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "dsp/ResponseMeasurement.h"
#include "dsp/TrigPi.h"

double CicMagnitude(int decimation, int delay, int stages, double f)
{
    const double rm = static_cast<double>(decimation) * delay;
    const double den = rm * SinPiAny(f / decimation);
    // At DC (and its images at multiples of R) the quotient tends to 1.
    const double ratio = den == 0.0 ? 1.0 : SinPiAny(delay * f) / den;
    return std::pow(std::fabs(ratio), stages);
}

double ShapeGain(const ResponseShape& shape, double f)
{
    switch (shape.kind) {
    case ShapeKind::CicInverse: {
        const double m = CicMagnitude(shape.decimation, shape.delay, shape.stages, f);
        return m > 0.0 ? 1.0 / m : std::numeric_limits<double>::infinity();
    }
    case ShapeKind::InverseSinc: {
        if (f == 0.0)
            return 1.0;
        const double s = SinPiAny(f);
        return s != 0.0 ? std::numbers::pi * f / s : std::numeric_limits<double>::infinity();
    }
    default:
        return 1.0;
    }
}

bool ShapeValid(const ResponseShape& shape)
{
    switch (shape.kind) {
    case ShapeKind::None:
    case ShapeKind::InverseSinc:
        return true;
    case ShapeKind::CicInverse:
        return shape.decimation >= 1 && shape.decimation <= kCicMaxDecimation && shape.delay >= 1 &&
               shape.delay <= kCicMaxDelay && shape.stages >= 1 && shape.stages <= kCicMaxStages;
    }
    return false;
}

bool ShapeBounded(const ResponseShape& shape, double lower, double upper)
{
    // Within a band below the first null the gain rises with f, but the
    // points between guard against a band that straddles a null.
    const int points = 256;
    for (int i = 0; i <= points; ++i) {
        const double f = lower + (upper - lower) * i / points;
        const double g = ShapeGain(shape, f);
        if (!(g <= kMaxShapeGain))
            return false;
    }
    return true;
}

double CascadeDeviation(std::span<const double> taps, const ResponseShape& shape, double lower, double upper,
                        double value)
{
    const int points = 1000;
    double worst = 0.0;
    for (int i = 0; i <= points; ++i) {
        const double f = lower + (upper - lower) * i / points;
        const double cascade = std::abs(FrequencyResponseAt(taps, f)) / ShapeGain(shape, f);
        worst = std::max(worst, std::fabs(cascade - value));
    }
    return worst;
}
