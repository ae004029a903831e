#include "dsp/PulseShaping.h"

#include <cmath>
#include <numbers>

#include "dsp/TrigPi.h"

namespace {

constexpr double kLn2 = 0.69314718055994530942;
constexpr double kSingularDistance = 1e-8;

// sin(pi t) / (pi t); exactly 0 at the nonzero integers.
double Sinc(double t)
{
    if (t == 0.0)
        return 1.0;
    return SinPiAny(t) / (std::numbers::pi * t);
}

std::vector<double> Autocorrelation(std::span<const double> h)
{
    const size_t n = h.size();
    std::vector<double> r(n, 0.0);
    for (size_t m = 0; m < n; ++m) {
        double s = 0.0;
        for (size_t k = 0; k + m < n; ++k)
            s += h[k] * h[k + m];
        r[m] = s;
    }
    return r;
}

double PowerBelowFromAutocorrelation(const std::vector<double>& r, double f)
{
    if (r.empty())
        return 0.0;
    double p = r[0] * f;
    for (size_t m = 1; m < r.size(); ++m)
        p += r[m] * SinPiAny(2.0 * static_cast<double>(m) * f) / (std::numbers::pi * static_cast<double>(m));
    return p;
}

}  // namespace

double RaisedCosinePulse(double t, double alpha)
{
    const double x = 2.0 * alpha * t;
    if (alpha > 0.0 && std::fabs(std::fabs(x) - 1.0) < kSingularDistance)
        return 0.25 * std::numbers::pi * Sinc(1.0 / (2.0 * alpha));
    return Sinc(t) * CosPiAny(alpha * t) / (1.0 - x * x);
}

double RootRaisedCosinePulse(double t, double alpha)
{
    if (t == 0.0)
        return 1.0 - alpha + 4.0 * alpha / std::numbers::pi;
    const double x = 4.0 * alpha * t;
    if (alpha > 0.0 && std::fabs(std::fabs(x) - 1.0) < kSingularDistance) {
        const double u = 1.0 / (4.0 * alpha);
        return alpha / std::sqrt(2.0) * ((1.0 + 2.0 / std::numbers::pi) * SinPiAny(u) + (1.0 - 2.0 / std::numbers::pi) * CosPiAny(u));
    }
    return (SinPiAny(t * (1.0 - alpha)) + x * CosPiAny(t * (1.0 + alpha))) / (std::numbers::pi * t * (1.0 - x * x));
}

double GaussianPulse(double t, double bt)
{
    return std::sqrt(2.0 * std::numbers::pi / kLn2) * bt * std::exp(-2.0 * std::numbers::pi * std::numbers::pi * bt * bt * t * t / kLn2);
}

PulseResult DesignPulse(const PulseRequest& request)
{
    PulseResult result;
    const bool raised =
        request.shape == PulseShape::RaisedCosine || request.shape == PulseShape::RootRaisedCosine;
    if (!raised && request.shape != PulseShape::Gaussian)
        return result;
    if (raised && !(request.rolloff >= 0.0 && request.rolloff <= 1.0)) {
        result.status = PulseStatus::BadRolloff;
        return result;
    }
    if (!raised && !(request.bt >= kPulseMinBt && request.bt <= kPulseMaxBt)) {
        result.status = PulseStatus::BadBt;
        return result;
    }
    if (request.sps < kPulseMinSps || request.sps > kPulseMaxSps) {
        result.status = PulseStatus::BadSps;
        return result;
    }
    if (request.span < 1 || request.span > kPulseMaxSpan ||
        static_cast<long long>(request.span) * request.sps + 1 > kPulseMaxTaps ||
        request.span * request.sps % 2 != 0) {
        result.status = PulseStatus::BadSpan;
        return result;
    }
    const int total = request.span * request.sps;
    std::vector<double>& h = result.taps;
    h.resize(static_cast<size_t>(total) + 1);
    for (int n = 0; n <= total; ++n) {
        // t = (n - total/2) / sps from whole numbers: exact on every symbol
        // instant and symmetric about the centre.
        const double t = static_cast<double>(2 * n - total) / (2.0 * request.sps);
        double v;
        switch (request.shape) {
        case PulseShape::RaisedCosine:
            v = RaisedCosinePulse(t, request.rolloff);
            break;
        case PulseShape::RootRaisedCosine:
            v = RootRaisedCosinePulse(t, request.rolloff);
            break;
        default:
            v = GaussianPulse(t, request.bt);
            break;
        }
        h[static_cast<size_t>(n)] = v;
    }
    double norm = 1.0;
    if (request.normalisation == PulseNormalisation::UnitEnergy) {
        double e = 0.0;
        for (double v : h)
            e += v * v;
        norm = std::sqrt(e);
    } else if (request.normalisation == PulseNormalisation::UnitDcGain) {
        double s = 0.0;
        for (double v : h)
            s += v;
        norm = s;
    }
    if (norm != 1.0 && norm != 0.0)
        for (double& v : h)
            v /= norm;
    result.status = PulseStatus::Ok;
    return result;
}

double PowerBelow(std::span<const double> taps, double f)
{
    return PowerBelowFromAutocorrelation(Autocorrelation(taps), f);
}

PulseAnalysis AnalysePulse(std::span<const double> taps, PulseShape shape, int sps, double powerFraction)
{
    PulseAnalysis a;
    a.powerFraction = powerFraction;
    a.cascaded = shape == PulseShape::RootRaisedCosine;
    if (taps.empty() || sps < 1)
        return a;
    std::vector<double> pulse(taps.begin(), taps.end());
    if (a.cascaded) {
        std::vector<double> c(2 * taps.size() - 1, 0.0);
        for (size_t i = 0; i < taps.size(); ++i)
            for (size_t j = 0; j < taps.size(); ++j)
                c[i + j] += taps[i] * taps[j];
        pulse = std::move(c);
    }
    // An odd length puts the centre, and so every symbol instant, on a sample.
    const long long count = static_cast<long long>(pulse.size());
    const long long centre = (count - 1) / 2;
    const double main = pulse[static_cast<size_t>(centre)];
    double squares = 0.0;
    double magnitudes = 0.0;
    for (long long k = centre % sps; k < count; k += sps) {
        if (k == centre)
            continue;
        const double v = pulse[static_cast<size_t>(k)];
        squares += v * v;
        magnitudes += std::fabs(v);
    }
    if (main != 0.0) {
        a.isiRms = std::sqrt(squares) / std::fabs(main);
        a.isiPeak = magnitudes / std::fabs(main);
    }
    a.isiDb = a.isiRms > 0.0 ? 20.0 * std::log10(a.isiRms) : -400.0;

    const std::vector<double> r = Autocorrelation(taps);
    const double total = PowerBelowFromAutocorrelation(r, 0.5);
    if (total > 0.0 && powerFraction > 0.0 && powerFraction < 1.0) {
        // The power below f rises with f: bisection to the double's resolution.
        double lo = 0.0;
        double hi = 0.5;
        for (int step = 0; step < 60 && hi - lo > 1e-15; ++step) {
            const double mid = 0.5 * (lo + hi);
            if (PowerBelowFromAutocorrelation(r, mid) < powerFraction * total)
                lo = mid;
            else
                hi = mid;
        }
        a.occupiedBandwidth = 0.5 * (lo + hi);
        a.occupiedBandwidthSymbols = a.occupiedBandwidth * sps;
    }
    return a;
}
