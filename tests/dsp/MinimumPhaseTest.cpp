#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "PythonReference.h"
#include "dsp/CPoints.h"
#include "dsp/LeastSquares.h"
#include "dsp/MinimumPhase.h"
#include "dsp/RemezDesign.h"
#include "dsp/ResponseMeasurement.h"

namespace {

// A band of the wanted magnitude, fractions of fs; the prototype asks for
// its square.
struct MinPhaseBand {
    double lower, upper, value, weight;
};

struct MinPhaseCase {
    const char* name;
    int taps;      // N of the minimum-phase filter
    bool remez;    // else least squares
    std::vector<MinPhaseBand> bands;
};

const int kFs = 48000;

std::vector<double> Prototype(const MinPhaseCase& c)
{
    const int length = 2 * c.taps - 1;
    if (c.remez) {
        RemezBand table[8] = {};
        for (size_t i = 0; i < c.bands.size(); ++i)
            table[i] = RemezBand{1, static_cast<int>(std::lround(c.bands[i].lower * kFs)),
                                 static_cast<int>(std::lround(c.bands[i].upper * kFs)),
                                 c.bands[i].value * c.bands[i].value, c.bands[i].weight};
        CPoints h;
        const RemezResult r = DesignRemez(length, 0, 0, kFs, table, 16, h);
        EXPECT_TRUE(r.Converged());
        std::vector<double> taps(static_cast<size_t>(length));
        for (int k = 0; k < length; ++k)
            taps[static_cast<size_t>(k)] = h[k].real();
        return taps;
    }
    std::vector<LeastSquaresBand> bands;
    for (const MinPhaseBand& b : c.bands)
        bands.push_back({b.lower, b.upper, b.value * b.value, b.weight});
    const LeastSquaresResult r = DesignLeastSquares(length, 0, bands);
    EXPECT_TRUE(r.Ok());
    return r.taps;
}

const std::vector<MinPhaseCase> kMinPhaseCases = {
    {"Remez lowpass N 32", 32, true, {{0.0, 0.1, 1.0, 1.0}, {0.15, 0.5, 0.0, 10.0}}},
    {"Remez lowpass N 101", 101, true, {{0.0, 0.2, 1.0, 1.0}, {0.22, 0.5, 0.0, 30.0}}},
    {"Remez bandpass N 48", 48, true, {{0.0, 0.1, 0.0, 10.0}, {0.15, 0.25, 1.0, 1.0}, {0.3, 0.5, 0.0, 10.0}}},
    {"Remez bandstop N 55", 55, true, {{0.0, 0.15, 1.0, 1.0}, {0.2, 0.3, 0.0, 5.0}, {0.35, 0.5, 1.0, 1.0}}},
    {"least-squares lowpass N 40", 40, false, {{0.0, 0.12, 1.0, 1.0}, {0.18, 0.5, 0.0, 100.0}}},
};

}  // namespace

// The factor's |H|^2 is the shifted prototype, so its magnitude stays
// inside the prototype's ripple around the target; every zero lies inside
// the unit circle (numpy.roots, the companion matrix's eigenvalues); the
// delay at DC is a fraction of the linear-phase (N - 1) / 2.
TEST(MinimumPhase, FactorsTheSquaredMagnitudeWithEveryZeroInside)
{
    std::ostringstream rootsInput;
    rootsInput.precision(17);
    std::vector<std::vector<double>> filters;
    for (const MinPhaseCase& c : kMinPhaseCases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> proto = Prototype(c);
        const MinimumPhaseResult r = MinimumPhaseFromPrototype(proto, c.taps);
        ASSERT_TRUE(r.Ok());
        ASSERT_EQ(r.taps.size(), static_cast<size_t>(c.taps));
        const double s = r.shift;
        // The prototype's own deviations, measured on a dense grid.
        double passDev = 0.0;
        double stopDev = 0.0;
        double squareError = 0.0;
        double magnitudeOff = 0.0;  // how far |H| strays beyond the bounds the prototype sets
        double passMagDev = 0.0;
        for (const MinPhaseBand& b : c.bands) {
            for (int i = 0; i <= 2000; ++i) {
                const double f = b.lower + (b.upper - b.lower) * i / 2000.0;
                const double a = SymmetricAmplitude(proto, f);
                if (b.value > 0.0)
                    passDev = std::max(passDev, std::fabs(a - b.value * b.value));
                else
                    stopDev = std::max(stopDev, std::fabs(a));
            }
        }
        for (const MinPhaseBand& b : c.bands) {
            for (int i = 0; i <= 2000; ++i) {
                const double f = b.lower + (b.upper - b.lower) * i / 2000.0;
                const double g = (SymmetricAmplitude(proto, f) + s) / (1.0 + s);
                const double mag = std::abs(FrequencyResponseAt(r.taps, f));
                squareError = std::max(squareError, std::fabs(mag * mag - g));
                if (b.value > 0.0) {
                    const double v2 = b.value * b.value;
                    const double lo = std::sqrt((v2 - passDev + s) / (1.0 + s));
                    const double hi = std::sqrt((v2 + passDev + s) / (1.0 + s));
                    magnitudeOff = std::max({magnitudeOff, lo - mag, mag - hi});
                    passMagDev = std::max(passMagDev, std::fabs(mag - b.value));
                } else {
                    magnitudeOff = std::max(magnitudeOff, mag - std::sqrt((stopDev + s) / (1.0 + s)));
                }
            }
        }
        // The delay in the middle of the first pass band (DC for the lowpass and bandstop filters).
        const MinPhaseBand& pass =
            *std::find_if(c.bands.begin(), c.bands.end(), [](const MinPhaseBand& b) { return b.value > 0.0; });
        const double at = pass.lower == 0.0 ? 0.0 : 0.5 * (pass.lower + pass.upper);
        const double delay = GroupDelayAt(r.taps, at);
        const double half = 0.5 * (c.taps - 1);
        std::cout << "  " << c.name << ": | |H|^2 - G | <= " << squareError << ", pass |H| - 1 within "
                  << passMagDev << " (prototype " << passDev << "), stop |H| <= "
                  << std::sqrt((stopDev + s) / (1.0 + s)) << ", delay at " << at << " fs " << delay << " samples (linear "
                  << half << "), FFT " << r.fftSize << ", tail " << r.tailEnergy << "\n";
        EXPECT_LT(squareError, 1e-9);
        EXPECT_LT(magnitudeOff, 1e-9);
        EXPECT_LE(passMagDev, passDev);
        EXPECT_LT(delay, (at == 0.0 ? 0.25 : 0.75) * half);
        EXPECT_GT(delay, 0.0);
        for (double v : r.taps)
            rootsInput << v << ' ';
        rootsInput << '\n';
        filters.push_back(r.taps);
    }
    const auto radii = RunMethodsReference("roots", rootsInput.str(), TestSourceDir());
    if (!radii)
        GTEST_SKIP() << "/usr/bin/python3 with numpy is not available";
    ASSERT_EQ(radii->size(), kMinPhaseCases.size());
    for (size_t i = 0; i < kMinPhaseCases.size(); ++i) {
        SCOPED_TRACE(kMinPhaseCases[i].name);
        ASSERT_EQ((*radii)[i].size(), static_cast<size_t>(kMinPhaseCases[i].taps - 1));
        const double largest = (*radii)[i].back();
        std::cout << "  " << kMinPhaseCases[i].name << ": largest zero radius " << largest << "\n";
        EXPECT_LT(largest, 1.0 + 1e-6);
    }
}

TEST(MinimumPhase, BadPrototypesGiveAStatus)
{
    const std::vector<double> sym = {0.1, 0.2, 0.5, 0.2, 0.1};
    EXPECT_EQ(MinimumPhaseFromPrototype(sym, 3).status, MinimumPhaseStatus::Ok);
    EXPECT_EQ(MinimumPhaseFromPrototype(sym, 4).status, MinimumPhaseStatus::BadLength);
    EXPECT_EQ(MinimumPhaseFromPrototype(std::vector<double>{1.0}, 1).status, MinimumPhaseStatus::BadLength);
    EXPECT_EQ(MinimumPhaseFromPrototype(std::vector<double>{0.1, 0.2, 0.5, 0.3, 0.1}, 3).status,
              MinimumPhaseStatus::NotSymmetric);
    EXPECT_EQ(MinimumPhaseFromPrototype(std::vector<double>{0.1, 0.2, NAN, 0.2, 0.1}, 3).status,
              MinimumPhaseStatus::NonFinite);
    EXPECT_EQ(MinimumPhaseFromPrototype(std::vector<double>(5, 0.0), 3).status, MinimumPhaseStatus::NonFinite);
}

// A prototype that is already a squared magnitude, |1 + 0.5 z^-1|^2 times
// itself' mirror, factors back into the minimum-phase taps 1, 0.5 (scaled).
TEST(MinimumPhase, RecoversAKnownFactor)
{
    // (1 + 0.5 z^-1)(1 + 0.5 z) = 0.5 z + 1.25 + 0.5 z^-1.
    const std::vector<double> proto = {0.5, 1.25, 0.5};
    const MinimumPhaseResult r = MinimumPhaseFromPrototype(proto, 2);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.delta, 0.0);
    const double scale = 1.0 / std::sqrt(1.0 + r.shift);
    EXPECT_NEAR(r.taps[0], 1.0 * scale, 1e-9);
    EXPECT_NEAR(r.taps[1], 0.5 * scale, 1e-9);
}

// The one-call design equals its steps: the prototype by the Remez
// exchange or least squares for the squared values, then the factor.
TEST(MinimumPhase, DesignRunsThePrototypeForTheSquares)
{
    const std::vector<RemezEdge> bands = {{0.0, 0.1, 1.0, 1.0}, {0.15, 0.5, 0.0, 10.0}};
    for (PrototypeMethod method : {PrototypeMethod::Remez, PrototypeMethod::LeastSquares}) {
        const MinimumPhaseDesign d = DesignMinimumPhase(32, method, bands, 16);
        ASSERT_TRUE(d.factor.Ok());
        EXPECT_TRUE(d.prototypeConverged);
        ASSERT_EQ(d.prototype.size(), 63u);
        const MinimumPhaseResult again = MinimumPhaseFromPrototype(d.prototype, 32);
        EXPECT_EQ(again.taps, d.factor.taps);
        EXPECT_NEAR(std::abs(FrequencyResponseAt(d.factor.taps, 0.0)), 1.0, 0.01);
    }
    EXPECT_EQ(DesignMinimumPhase(32, PrototypeMethod::LeastSquares, {{0.2, 0.1, 1.0, 1.0}}, 16).factor.status,
              MinimumPhaseStatus::NoPrototype);
    EXPECT_EQ(DesignMinimumPhase(1, PrototypeMethod::Remez, bands, 16).factor.status, MinimumPhaseStatus::BadLength);
}
