#include "dsp/MaskDerivation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dsp/DesignKinds.h"

namespace {

// Adds the band when it keeps a width after the clamping to 0..fs/2.
void Add(std::vector<MaskBand>& out, BandKind kind, double lo, double hi, double fs, double desired) {
    lo = std::clamp(lo, 0.0, fs / 2.0);
    hi = std::clamp(hi, 0.0, fs / 2.0);
    if (hi > lo) {
        out.push_back({kind, lo, hi, desired});
    }
}

std::vector<MaskBand> RemezMask(const DesignOutline& d) {
    std::vector<MaskBand> out;
    for (const RemezBand& b : d.remezBands) {
        if (!b.m_bUse) {
            continue;
        }
        BandKind kind = b.m_dValue == 0.0 ? BandKind::Stop
                        : d.filterType == FT_DIFFERENTIATOR ? BandKind::Slope
                                                            : BandKind::Pass;
        Add(out, kind, b.m_nLowerEdge, b.m_nUpperEdge, d.fs, b.m_dValue * d.gain);
    }
    return out;
}

// Runs of input points within 10 % of the largest value (pass) or of 0
// (stop); an edge next to another run moves inward by half the transition.
std::vector<MaskBand> SampledMask(const DesignOutline& d, double half) {
    std::vector<MaskBand> out;
    const std::vector<double>& v = d.inputData;
    if (v.size() < 2) {
        return out;
    }
    const double peak = *std::max_element(v.begin(), v.end());
    if (!(peak > 0.0)) {
        return out;
    }
    const double spacing = d.fs / 2.0 / (v.size() - 1);
    auto kindOf = [&](double x) { return x >= 0.9 * peak ? 1 : std::abs(x) <= 0.1 * peak ? 0 : -1; };
    std::size_t i = 0;
    while (i < v.size()) {
        const int k = kindOf(v[i]);
        std::size_t j = i;
        while (j + 1 < v.size() && kindOf(v[j + 1]) == k) {
            ++j;
        }
        if (k >= 0) {
            const double lo = i == 0 ? 0.0 : i * spacing + half;
            const double hi = j + 1 == v.size() ? d.fs / 2.0 : j * spacing - half;
            Add(out, k == 1 ? BandKind::Pass : BandKind::Stop, lo, hi, d.fs, peak * d.gain);
        }
        i = j + 1;
    }
    return out;
}

}  // namespace

double KaiserAttenuationForBeta(double beta) {
    if (!(beta > 0.0)) {
        return 21.0;
    }
    if (beta >= 0.1102 * (50.0 - 8.7)) {
        return beta / 0.1102 + 8.7;
    }
    double lo = 21.0, hi = 50.0;
    for (int i = 0; i < 60; ++i) {
        const double a = 0.5 * (lo + hi);
        const double b = 0.5842 * std::pow(a - 21.0, 0.4) + 0.07886 * (a - 21.0);
        (b < beta ? lo : hi) = a;
    }
    return 0.5 * (lo + hi);
}

double NominalTransitionWidth(int windowType, int taps, double beta, double attenuationDb) {
    const double m = std::max(1, taps - 1);
    switch (windowType) {
    case WT_RECTANGULAR:
        return 2.0 / m;
    case WT_HANNING:
    case WT_HAMMING:
        return 4.0 / m;
    case WT_BLACKMAN:
        return 6.0 / m;
    case WT_KAISER:
        return (KaiserAttenuationForBeta(beta) - 8.0) / (2.285 * m * 2.0 * std::numbers::pi);
    case WT_CHEBYSHEV: {
        // Main-lobe half width of the window: x0 cos(pi f) reaches 1.
        const double r = std::pow(10.0, attenuationDb / 20.0);
        const double x0 = std::cosh(std::acosh(std::max(r, 1.0)) / m);
        return 2.0 * std::acos(1.0 / x0) / std::numbers::pi;
    }
    default:
        return 0.0;
    }
}

bool HasCornerCrossings(int filterType) {
    return filterType == FT_LOWPASS || filterType == FT_HIGHPASS || filterType == FT_BANDPASS ||
           filterType == FT_BANDSTOP;
}

std::vector<MaskBand> DeriveMaskBands(const DesignOutline& d) {
    std::vector<MaskBand> out;
    if (!(d.fs > 0.0)) {
        return out;
    }
    if (d.designMethod == DM_REMEZ) {
        return RemezMask(d);
    }
    const double half =
        0.5 * d.fs * NominalTransitionWidth(d.windowType, d.taps, d.shapeFactor, d.stopbandAtt);
    if (d.designMethod == DM_FREQUENCY_SAMPLING) {
        return SampledMask(d, half);
    }
    const double nyq = d.fs / 2.0, f1 = d.firstCorner, f2 = d.secondCorner, g = std::abs(d.gain);
    switch (d.filterType) {
    case FT_LOWPASS:
        Add(out, BandKind::Pass, 0.0, f1 - half, d.fs, g);
        Add(out, BandKind::Stop, f1 + half, nyq, d.fs, 0.0);
        break;
    case FT_HIGHPASS:
        Add(out, BandKind::Stop, 0.0, f1 - half, d.fs, 0.0);
        Add(out, BandKind::Pass, f1 + half, nyq, d.fs, g);
        break;
    case FT_BANDPASS:
        Add(out, BandKind::Stop, 0.0, f1 - half, d.fs, 0.0);
        Add(out, BandKind::Pass, f1 + half, f2 - half, d.fs, g);
        Add(out, BandKind::Stop, f2 + half, nyq, d.fs, 0.0);
        break;
    case FT_BANDSTOP:
        Add(out, BandKind::Pass, 0.0, f1 - half, d.fs, g);
        Add(out, BandKind::Stop, f1 + half, f2 - half, d.fs, 0.0);
        Add(out, BandKind::Pass, f2 + half, nyq, d.fs, g);
        break;
    case FT_HILBERT: {
        // The gain of an antisymmetric filter vanishes at 0 (and at fs/2 for
        // odd N), so both ends of the band keep half a transition away.
        const double lo = f2 > 0.0 ? std::min(f1, f2) : 0.0, hi = f2 > 0.0 ? std::max(f1, f2) : f1;
        Add(out, BandKind::Pass, lo + half, hi - half, d.fs, g);
        break;
    }
    case FT_DIFFERENTIATOR:
        Add(out, BandKind::Slope, f1 > 0.0 ? f1 + half : 0.0, f2 - half, d.fs, d.diffGain * g);
        Add(out, BandKind::Stop, f2 + half, nyq, d.fs, 0.0);
        break;
    case FT_ALLPASS:
        Add(out, BandKind::Pass, 0.0, d.taps % 2 == 1 ? nyq : nyq - half, d.fs, g);
        break;
    default:
        break;  // Gaussian edge and moving average: figures without a mask
    }
    return out;
}
