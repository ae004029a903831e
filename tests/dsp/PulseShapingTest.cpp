#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <numeric>
#include <vector>

#include "dsp/PulseShaping.h"

namespace {

using LD = long double;
const LD kPiL = 3.141592653589793238462643383279502884L;

// The quotients of the closed forms in long double, away from their
// removable singularities.
LD RcQuotient(LD t, LD a)
{
    const LD sinc = t == 0 ? 1 : std::sin(kPiL * t) / (kPiL * t);
    return sinc * std::cos(kPiL * a * t) / (1 - 4 * a * a * t * t);
}

LD RrcQuotient(LD t, LD a)
{
    return (std::sin(kPiL * t * (1 - a)) + 4 * a * t * std::cos(kPiL * t * (1 + a))) /
           (kPiL * t * (1 - 16 * a * a * t * t));
}

// The limit of a quotient at a removable singularity t0, from the quotient
// alone: Richardson's extrapolation of the symmetric means at t0 +- h and
// t0 +- h/2 (error h^4, cancellation eps / h in long double).
template <typename F>
LD LimitAt(F f, LD t0)
{
    const LD h = 1e-5L;
    const LD wide = 0.5L * (f(t0 + h) + f(t0 - h));
    const LD narrow = 0.5L * (f(t0 + h / 2) + f(t0 - h / 2));
    return (4 * narrow - wide) / 3;
}

LD ReferenceTap(PulseShape shape, LD t, LD a, LD bt)
{
    switch (shape) {
    case PulseShape::RaisedCosine:
        if (a > 0 && std::fabs(std::fabs(2 * a * t) - 1) < 1e-12L)
            return LimitAt([a](LD x) { return RcQuotient(x, a); }, t);
        return RcQuotient(t, a);
    case PulseShape::RootRaisedCosine:
        if (t == 0 || (a > 0 && std::fabs(std::fabs(4 * a * t) - 1) < 1e-12L))
            return LimitAt([a](LD x) { return RrcQuotient(x, a); }, t);
        return RrcQuotient(t, a);
    default:
        return std::sqrt(2 * kPiL / std::log(2.0L)) * bt * std::exp(-2 * kPiL * kPiL * bt * bt * t * t / std::log(2.0L));
    }
}

struct PulseCase {
    const char* name;
    PulseShape shape;
    double rolloff;
    double bt;
    int sps;
    int span;
    int specialPoints;  // samples on a removable singularity (t = 0 of the RRC included)
};

const PulseCase kPulseCases[] = {
    {"RC 0.25 sps 8 (singular at 2 symbols)", PulseShape::RaisedCosine, 0.25, 0, 8, 10, 2},
    {"RC 0.5 sps 4 (singular at 1 symbol)", PulseShape::RaisedCosine, 0.5, 0, 4, 6, 2},
    {"RC 1.0 sps 4 (singular at half a symbol)", PulseShape::RaisedCosine, 1.0, 0, 4, 4, 2},
    {"RC 0 (sinc)", PulseShape::RaisedCosine, 0.0, 0, 5, 12, 0},
    {"RC 0.35 sps 7 (singular at 10/7 symbols)", PulseShape::RaisedCosine, 0.35, 0, 7, 8, 2},
    {"RC 0.3 sps 8", PulseShape::RaisedCosine, 0.3, 0, 8, 8, 0},
    {"RRC 0.25 sps 8 (singular at 1 symbol)", PulseShape::RootRaisedCosine, 0.25, 0, 8, 10, 3},
    {"RRC 0.5 sps 4 (singular at half a symbol)", PulseShape::RootRaisedCosine, 0.5, 0, 4, 8, 3},
    {"RRC 1.0 sps 4 (singular at a quarter symbol)", PulseShape::RootRaisedCosine, 1.0, 0, 4, 6, 3},
    {"RRC 0.125 sps 2 (singular at 2 symbols)", PulseShape::RootRaisedCosine, 0.125, 0, 2, 8, 3},
    {"RRC 0.35 sps 8", PulseShape::RootRaisedCosine, 0.35, 0, 8, 8, 1},
    {"RRC 0 (sinc)", PulseShape::RootRaisedCosine, 0.0, 0, 4, 8, 1},
    {"Gaussian BT 0.3 sps 8", PulseShape::Gaussian, 0, 0.3, 8, 4, 0},
    {"Gaussian BT 0.5 sps 4", PulseShape::Gaussian, 0, 0.5, 4, 3, 0},
};

}  // namespace

// Every tap, the special points included, against the closed forms
// evaluated independently in long double (the limits by extrapolation of
// the quotient itself, not from the limit formulas the code uses).
TEST(PulseShaping, TapsMatchTheClosedFormsIncludingTheSpecialPoints)
{
    for (const PulseCase& c : kPulseCases) {
        SCOPED_TRACE(c.name);
        PulseRequest req{c.shape, c.rolloff, c.bt, c.sps, c.span, PulseNormalisation::ClosedForm};
        const PulseResult r = DesignPulse(req);
        ASSERT_TRUE(r.Ok());
        ASSERT_EQ(r.taps.size(), static_cast<size_t>(c.span * c.sps + 1));
        int special = 0;
        double worst = 0.0;
        for (size_t n = 0; n < r.taps.size(); ++n) {
            const LD t = (static_cast<LD>(n) - c.span * c.sps / 2.0L) / c.sps;
            const LD ref = ReferenceTap(c.shape, t, c.rolloff, c.bt);
            const bool singular =
                (c.shape == PulseShape::RaisedCosine && c.rolloff > 0 && std::fabs(std::fabs(2 * c.rolloff * t) - 1) < 1e-12L) ||
                (c.shape == PulseShape::RootRaisedCosine &&
                 (t == 0 || (c.rolloff > 0 && std::fabs(std::fabs(4 * c.rolloff * t) - 1) < 1e-12L)));
            special += singular;
            worst = std::max(worst, static_cast<double>(std::fabs(r.taps[n] - ref)));
            EXPECT_NEAR(r.taps[n], static_cast<double>(ref), 1e-12) << "tap " << n;
            EXPECT_EQ(r.taps[n], r.taps[r.taps.size() - 1 - n]) << "tap " << n;
        }
        EXPECT_EQ(special, c.specialPoints);
        std::cout << "  " << c.name << ": largest |h - closed form| = " << worst << " (" << special
                  << " special points)\n";
    }
}

// The raised cosine is a Nyquist pulse: zero at every nonzero symbol
// instant, exactly (sin(pi k) is taken as exactly 0), under any scaling.
TEST(PulseShaping, RaisedCosineIsZeroAtEveryOtherSymbolInstant)
{
    for (const PulseCase& c : kPulseCases) {
        if (c.shape != PulseShape::RaisedCosine)
            continue;
        SCOPED_TRACE(c.name);
        for (PulseNormalisation norm :
             {PulseNormalisation::ClosedForm, PulseNormalisation::UnitEnergy, PulseNormalisation::UnitDcGain}) {
            const PulseResult r = DesignPulse({c.shape, c.rolloff, 0.3, c.sps, c.span, norm});
            ASSERT_TRUE(r.Ok());
            const int centre = c.span * c.sps / 2;
            for (int k = centre % c.sps; k < static_cast<int>(r.taps.size()); k += c.sps) {
                if (k != centre) {
                    EXPECT_EQ(r.taps[static_cast<size_t>(k)], 0.0) << "tap " << k;
                }
            }
            const PulseAnalysis a = AnalysePulse(r.taps, c.shape, c.sps);
            EXPECT_EQ(a.isiRms, 0.0);
            EXPECT_EQ(a.isiDb, -400.0);
        }
    }
}

TEST(PulseShaping, NormalisationsGiveUnitEnergyOrUnitDcGain)
{
    for (const PulseCase& c : kPulseCases) {
        SCOPED_TRACE(c.name);
        const PulseResult e = DesignPulse({c.shape, c.rolloff, c.bt, c.sps, c.span, PulseNormalisation::UnitEnergy});
        const PulseResult d = DesignPulse({c.shape, c.rolloff, c.bt, c.sps, c.span, PulseNormalisation::UnitDcGain});
        ASSERT_TRUE(e.Ok() && d.Ok());
        EXPECT_NEAR(std::inner_product(e.taps.begin(), e.taps.end(), e.taps.begin(), 0.0), 1.0, 1e-14);
        EXPECT_NEAR(std::accumulate(d.taps.begin(), d.taps.end(), 0.0), 1.0, 1e-14);
    }
}

// The root raised cosine's ISI after the matched filter falls as the span
// grows; the occupied bandwidth approaches that of the ideal spectrum
// (flat to (1 - alpha)/2, a raised-cosine roll-off to (1 + alpha)/2 of the
// symbol rate), solved here from its own integral by bisection.
TEST(PulseShaping, RootRaisedCosineCascadeIsiAndOccupiedBandwidth)
{
    const double alpha = 0.35;
    auto idealPowerBelow = [alpha](double f) {
        const double a = 0.5 * (1.0 - alpha);
        const double b = 0.5 * (1.0 + alpha);
        if (f <= a)
            return f;
        const double x = std::min(f, b);
        // integral of (1 + cos(pi/alpha (u - a)))/2 from a to x
        return a + 0.5 * (x - a) + alpha / (2.0 * M_PI) * std::sin(M_PI / alpha * (x - a));
    };
    double lo = 0.0, hi = 1.0;
    const double total = idealPowerBelow(1.0);
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (idealPowerBelow(mid) < 0.99 * total ? lo : hi) = mid;
    }
    const double idealObw = 0.5 * (lo + hi);
    double lastIsi = 1.0;
    for (int span : {4, 8, 16, 32}) {
        const PulseResult r = DesignPulse({PulseShape::RootRaisedCosine, alpha, 0.3, 8, span, PulseNormalisation::UnitEnergy});
        ASSERT_TRUE(r.Ok());
        const PulseAnalysis a = AnalysePulse(r.taps, PulseShape::RootRaisedCosine, 8);
        std::cout << "  RRC alpha 0.35, sps 8, span " << span << ": cascade ISI " << a.isiDb << " dB (peak distortion "
                  << a.isiPeak << "), 99% bandwidth " << a.occupiedBandwidthSymbols << " x symbol rate (ideal "
                  << idealObw << ")\n";
        EXPECT_TRUE(a.cascaded);
        EXPECT_LT(a.isiRms, lastIsi);
        lastIsi = a.isiRms;
        if (span >= 16) {
            EXPECT_NEAR(a.occupiedBandwidthSymbols, idealObw, 0.01 * idealObw);
        }
    }
    EXPECT_LT(lastIsi, 0.01);
}

// A Gaussian filter with 3 dB bandwidth B has |H|^2 = exp(-ln 2 f^2 / B^2):
// 99% of its power lies below erfinv(0.99) B / sqrt(ln 2) = 2.18766 B.
TEST(PulseShaping, GaussianOccupiedBandwidthMatchesTheContinuousFilter)
{
    for (double bt : {0.3, 0.5}) {
        const PulseResult r = DesignPulse({PulseShape::Gaussian, 0.0, bt, 16, 6, PulseNormalisation::UnitDcGain});
        ASSERT_TRUE(r.Ok());
        const PulseAnalysis a = AnalysePulse(r.taps, PulseShape::Gaussian, 16);
        EXPECT_NEAR(a.occupiedBandwidthSymbols, 2.1876591 * bt, 1e-3 * bt) << "BT " << bt;
        EXPECT_FALSE(a.cascaded);
        EXPECT_GT(a.isiRms, 0.0);
    }
}

TEST(PulseShaping, BadRequestsGiveAStatus)
{
    struct Row {
        PulseRequest req;
        PulseStatus expected;
    } rows[] = {
        {{PulseShape::RaisedCosine, -0.1, 0.3, 8, 8}, PulseStatus::BadRolloff},
        {{PulseShape::RootRaisedCosine, 1.5, 0.3, 8, 8}, PulseStatus::BadRolloff},
        {{PulseShape::RootRaisedCosine, std::nan(""), 0.3, 8, 8}, PulseStatus::BadRolloff},
        {{PulseShape::Gaussian, 0.3, 0.0, 8, 8}, PulseStatus::BadBt},
        {{PulseShape::Gaussian, 0.3, 2.0, 8, 8}, PulseStatus::BadBt},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 1, 8}, PulseStatus::BadSps},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 65, 8}, PulseStatus::BadSps},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 8, 0}, PulseStatus::BadSpan},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 64, 65}, PulseStatus::BadSpan},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 3, 5}, PulseStatus::BadSpan},
        {{static_cast<PulseShape>(7), 0.3, 0.3, 8, 8}, PulseStatus::BadShape},
        {{PulseShape::RaisedCosine, 0.3, 0.3, 3, 4}, PulseStatus::Ok},
    };
    for (const Row& row : rows) {
        const PulseResult r = DesignPulse(row.req);
        EXPECT_EQ(r.status, row.expected);
        EXPECT_EQ(r.taps.empty(), row.expected != PulseStatus::Ok);
    }
}
