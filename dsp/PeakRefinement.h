#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// The largest value of a smooth function of frequency over an interval,
// from its samples: the sampled peaks near the top are refined between
// their neighbouring samples by evaluating the function exactly.

// Values of the function at many frequencies at once (Hz in, values out).
using BatchFunction = std::function<std::vector<double>(const std::vector<double>&)>;

struct RefinedPeak {
    double value = 0.0;
    double hz = 0.0;
};

// The largest value of g over [hz.front(), hz.back()], from its samples v
// at the ascending points hz (at least one; the ends are the interval's
// ends). Every local maximum of the samples (the ends count too) within a
// small share of the samples' spread below the largest is ranked by the
// top of the parabola through it and its neighbours, and the highest
// kRefinedPeaks of them are refined by successive parabolic steps on exact
// values of g inside their neighbours' bracket (g unimodal there). The
// result is never below the largest sample; a peak between samples is
// found to far below 0.001 dB when g is |H| on 16 or more points per tap.
RefinedPeak RefineMaximum(const BatchFunction& g, const std::vector<double>& hz, const std::vector<double>& v);

// Samples of a function over [loHz, hiHz]: the two ends and count
// interior points at firstHz + i spacing (i = 0 .. count - 1, strictly
// between the ends), their values interior[i] times sign (no copies of
// long bands).
struct SampleAccess {
    double loHz = 0.0, hiHz = 0.0;
    double loValue = 0.0, hiValue = 0.0;
    double firstHz = 0.0, spacing = 0.0;
    const double* interior = nullptr;
    std::size_t count = 0;
    double sign = 1.0;
    std::size_t Size() const { return count + 2; }
    double Hz(std::size_t i) const { return i == 0 ? loHz : i == count + 1 ? hiHz : firstHz + static_cast<double>(i - 1) * spacing; }
    double Value(std::size_t i) const { return i == 0 ? loValue : i == count + 1 ? hiValue : sign * interior[i - 1]; }
};
RefinedPeak RefineMaximum(const BatchFunction& g, const SampleAccess& samples);

// A function of one frequency as a batch function.
BatchFunction EachPoint(std::function<double(double)> g);

inline constexpr int kRefinedPeaks = 6;
