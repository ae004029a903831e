#include "dsp/PeakRefinement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// Local maxima within this share of the samples' spread below the largest
// are candidates: the sampled top of a lobe lies within a small share of the
// lobe's swing below its true top, and the swing is at most the spread.
constexpr double kRefineShare = 0.05;
// Parabolic steps per peak; each gains several digits on a smooth peak.
constexpr int kSteps = 3;

// The top of the parabola through three points (x ascending, distinct):
// its abscissa, or NaN when the parabola does not open downward.
double ParabolaTop(double x0, double y0, double x1, double y1, double x2, double y2)
{
    const double d01 = (y1 - y0) / (x1 - x0);
    const double d12 = (y2 - y1) / (x2 - x1);
    const double curvature = (d12 - d01) / (x2 - x0);
    if (!(curvature < 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    // y = y1 + b (x - x1) + curvature (x - x0)(x - x1) ... expanded around x1.
    const double slope = d01 + curvature * (x1 - x0);
    return x1 - slope / (2.0 * curvature);
}

double ParabolaValue(double x0, double y0, double x1, double y1, double x2, double y2, double x)
{
    return y0 * (x - x1) * (x - x2) / ((x0 - x1) * (x0 - x2)) + y1 * (x - x0) * (x - x2) / ((x1 - x0) * (x1 - x2)) +
           y2 * (x - x0) * (x - x1) / ((x2 - x0) * (x2 - x1));
}

// One peak being refined: its bracket and the best three points known.
struct Candidate {
    double lo = 0.0, hi = 0.0;  // the bracket (neighbouring samples)
    double x[3] = {}, y[3] = {};  // ascending x, y[1] the largest
    double estimate = 0.0;
    double next = 0.0;  // where the next exact value is taken; NaN: done
};

// Keeps the three points around the largest of the four.
void Insert(Candidate& c, double x, double y)
{
    double xs[4] = {c.x[0], c.x[1], c.x[2], x};
    double ys[4] = {c.y[0], c.y[1], c.y[2], y};
    int order[4] = {0, 1, 2, 3};
    std::sort(order, order + 4, [&](int a, int b) { return xs[a] < xs[b]; });
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (ys[order[i]] > ys[order[best]])
            best = i;
    const int first = std::clamp(best - 1, 0, 1);
    for (int i = 0; i < 3; ++i) {
        c.x[i] = xs[order[first + i]];
        c.y[i] = ys[order[first + i]];
    }
}

// The next point to try: the parabola's top inside the bracket, away from
// the points known; NaN when no step would help.
double NextPoint(const Candidate& c)
{
    if (!(c.x[0] < c.x[1] && c.x[1] < c.x[2]))
        return std::numeric_limits<double>::quiet_NaN();
    const double top = ParabolaTop(c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2]);
    if (!std::isfinite(top))
        return std::numeric_limits<double>::quiet_NaN();
    const double x = std::clamp(top, c.lo, c.hi);
    const double resolution = 1e-12 * std::max(std::abs(x), c.hi - c.lo);
    for (double known : c.x)
        if (std::abs(x - known) <= resolution)
            return std::numeric_limits<double>::quiet_NaN();
    return x;
}

}  // namespace

BatchFunction EachPoint(std::function<double(double)> g)
{
    return [g = std::move(g)](const std::vector<double>& x) {
        std::vector<double> out(x.size());
        for (size_t i = 0; i < x.size(); ++i)
            out[i] = g(x[i]);
        return out;
    };
}

RefinedPeak RefineMaximum(const BatchFunction& g, const std::vector<double>& hz, const std::vector<double>& v)
{
    if (v.size() < 2)
        return v.empty() ? RefinedPeak{-std::numeric_limits<double>::infinity(), 0.0} : RefinedPeak{v[0], hz[0]};
    SampleAccess s;
    s.loHz = hz.front();
    s.hiHz = hz.back();
    s.loValue = v.front();
    s.hiValue = v.back();
    s.count = v.size() - 2;
    s.interior = v.data() + 1;
    s.firstHz = s.count > 0 ? hz[1] : 0.0;
    s.spacing = s.count > 1 ? hz[2] - hz[1] : 0.0;
    return RefineMaximum(g, s);
}

RefinedPeak RefineMaximum(const BatchFunction& g, const SampleAccess& samples)
{
    auto hz = [&samples](size_t i) { return samples.Hz(i); };
    auto v = [&samples](size_t i) { return samples.Value(i); };
    const size_t n = samples.Size();
    RefinedPeak best{-std::numeric_limits<double>::infinity(), n == 0 ? 0.0 : hz(0)};
    double lowest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < n; ++i) {
        const double value = v(i);
        if (value > best.value)
            best = {value, hz(i)};
        lowest = std::min(lowest, value);
    }
    if (n < 2 || !std::isfinite(best.value))
        return best;
    if (n == 2) {
        // Only the ends: the middle is sampled too, so a parabola has three points.
        SampleAccess three = samples;
        const double mid = 0.5 * (hz(0) + hz(1));
        const double value = g({mid}).front();
        three.firstHz = mid;
        three.count = 1;
        three.interior = &value;
        three.sign = 1.0;
        return RefineMaximum(g, three);
    }
    const double floor =
        best.value - kRefineShare * (std::isfinite(lowest) ? best.value - lowest : std::abs(best.value));
    std::vector<Candidate> candidates;
    double before = -std::numeric_limits<double>::infinity(), here = v(0);
    for (size_t i = 0; i < n; ++i) {
        const double after = i + 1 == n ? -std::numeric_limits<double>::infinity() : v(i + 1);
        const bool peak = here >= before && here >= after;
        if (peak && here >= floor) {
            Candidate c;
            c.lo = hz(i == 0 ? 0 : i - 1);
            c.hi = hz(i + 1 == n ? n - 1 : i + 1);
            // The samples around the peak; at an end, the first or last three.
            const size_t first = std::min(i == 0 ? 0 : i - 1, n - 3);
            for (size_t j = 0; j < 3; ++j) {
                c.x[j] = hz(first + j);
                c.y[j] = v(first + j);
            }
            c.next = NextPoint(c);
            c.estimate = here;
            if (std::isfinite(c.next))
                c.estimate =
                    std::max(c.estimate, ParabolaValue(c.x[0], c.y[0], c.x[1], c.y[1], c.x[2], c.y[2], c.next));
            candidates.push_back(c);
        }
        before = here;
        here = after;
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& p, const Candidate& q) { return p.estimate > q.estimate; });
    if (candidates.size() > static_cast<size_t>(kRefinedPeaks))
        candidates.resize(static_cast<size_t>(kRefinedPeaks));
    for (int step = 0; step < kSteps; ++step) {
        std::vector<double> at;
        std::vector<Candidate*> owners;
        for (Candidate& c : candidates) {
            if (std::isfinite(c.next) && c.next >= c.lo && c.next <= c.hi) {
                at.push_back(c.next);
                owners.push_back(&c);
            }
        }
        if (at.empty())
            break;
        const std::vector<double> values = g(at);
        for (size_t k = 0; k < at.size(); ++k) {
            Candidate& c = *owners[k];
            if (values[k] > best.value)
                best = {values[k], at[k]};
            if (!std::isfinite(values[k])) {
                c.next = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            Insert(c, at[k], values[k]);
            c.next = NextPoint(c);
        }
    }
    return best;
}
