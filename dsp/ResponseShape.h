#pragma once

#include <span>

// A desired response that is not flat across a Remez band: the band's value
// times a gain that varies with frequency, and its weight divided by that
// gain, so the weighted error is the error of the cascade of the filter
// with the response it compensates:
//     W(f) |A(f) - v G(f)| = w |A(f) / G(f) - v|.
//
// CIC compensation: a compensator running at the CIC decimator's output
// rate fs. The CIC (decimation R, differential delay M, N stages) at the
// input rate R fs has |H(nu)| = |sin(pi R M nu) / (R M sin(pi nu))|^N with
// nu in fractions of the input rate (E. B. Hogenauer, "An economical class
// of digital filters for decimation and interpolation", IEEE Trans. ASSP
// 29(2), 1981, eq. (11)); at a frequency f (fraction of the output rate fs)
// nu = f / R, so
//     |H_cic(f)| = |sin(pi M f) / (R M sin(pi f / R))|^N,  1 at DC,
// and the compensator's pass band follows G(f) = 1 / |H_cic(f)| (Intel
// (Altera) AN455, "Understanding CIC Compensation Filters", 2007, section
// "CIC compensation filter"). The pass band must stay clear of the CIC's
// first null, f = 1/M.
//
// Inverse sinc: a zero-order-hold DAC at fs has |H(f)| = sin(x) / x,
// x = pi f (f a fraction of fs); G(f) = x / sin(x).

enum class ShapeKind { None, CicInverse, InverseSinc };

struct ResponseShape {
    ShapeKind kind = ShapeKind::None;
    int decimation = 1;  // R, 1 .. kCicMaxDecimation
    int delay = 1;       // M, 1 .. kCicMaxDelay
    int stages = 1;      // N, 1 .. kCicMaxStages
    bool operator==(const ResponseShape&) const = default;
};

inline constexpr int kCicMaxDecimation = 4096;
inline constexpr int kCicMaxDelay = 8;
inline constexpr int kCicMaxStages = 16;
// Largest compensating gain a pass band may ask for (60 dB).
inline constexpr double kMaxShapeGain = 1000.0;

// |H_cic(f)| at f in fractions of the output rate, 1 at DC.
double CicMagnitude(int decimation, int delay, int stages, double f);
// G(f) of the shape at f (fraction of fs), 1 for ShapeKind::None; infinite
// on a null of the compensated response.
double ShapeGain(const ResponseShape& shape, double f);
// The parameters within their ranges.
bool ShapeValid(const ResponseShape& shape);
// G stays finite and at most kMaxShapeGain over [lower, upper] (fractions
// of fs), checked on the band's edges and 256 points between them.
bool ShapeBounded(const ResponseShape& shape, double lower, double upper);

// How far the cascade of the taps with the response the shape compensates
// strays from value over [lower, upper] (fractions of fs): the largest
// | |H(f)| / G(f) - value | on 1001 evenly spread points.
double CascadeDeviation(std::span<const double> taps, const ResponseShape& shape, double lower, double upper,
                        double value);
