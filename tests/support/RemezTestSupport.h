#pragma once

#include <cmath>
#include <complex>
#include <initializer_list>
#include <vector>

#include "document/CFilPar.h"
#include "form/CZantroView.h"
#include "dsp/CPoints.h"
#include "dsp/RemezDesign.h"

// A band table with the given rows in use (edges in Hz), the rest cleared.
struct BandTable {
    RemezBand bands[kBandCount] = {};

    BandTable(std::initializer_list<RemezBand> rows)
    {
        int i = 0;
        for (const RemezBand& b : rows)
            bands[i++] = b;
    }
};

inline RemezBand Band(int lower, int upper, double value, double weight)
{
    return RemezBand{1, lower, upper, value, weight};
}

// One Remez design as the design command makes it.
struct RemezCase {
    const char* name;
    int taps;
    int filterType;
    BandTable table;
    int density = 16;
    int fs = 8000;

    int FirType() const { return CZantroView::GetFirType(filterType, taps); }
};

// The band table of a built-in target filter, as the document loads it.
inline RemezCase PresetCase(int index)
{
    CFilPar par;
    par.ApplyTargetPreset(index);
    RemezCase c{"preset", par.m_nTaps, par.m_nFilterType, BandTable{}, par.m_nGridDensity};
    for (int i = 0; i < kBandCount; ++i)
        c.table.bands[i] = par.m_Bands[i];
    return c;
}

inline RemezResult RunDesign(const RemezCase& c, CPoints& h, const RemezOptions& options = RemezOptions())
{
    h.SetSize(c.taps);
    return DesignRemez(c.taps, c.filterType, c.FirType(), c.fs, c.table.bands, c.density, h, options);
}

// Frequency response of the taps at f (fraction of fs), by direct summation.
inline std::complex<double> Response(const CPoints& h, double f)
{
    std::complex<double> sum;
    for (int n = 0; n < h.m_nCount; ++n)
        sum += h[n].real() * std::polar(1.0, -2.0 * M_PI * f * n);
    return sum;
}

// Weighted error |H(f)| against the band's target at f: the value, or
// 2 value f for a differentiator, weighted by the weight (divided by f for
// a differentiator band with a value).
inline double WeightedError(const CPoints& h, const RemezBand& b, int filterType, double f)
{
    const bool diff = filterType == FT_DIFFERENTIATOR;
    const double target = diff ? 2.0 * b.m_dValue * f : b.m_dValue;
    const double weight = diff && b.m_dValue >= 0.0001 ? b.m_dWeight / f : b.m_dWeight;
    return (std::abs(Response(h, f)) - target) * weight;
}

// Largest |weighted error| of each band in use, on points every step (fraction
// of fs) from the lower to the upper edge. Antisymmetric types skip f = 0
// and f = 0.5 where their response is forced to 0.
inline std::vector<double> BandPeaks(const CPoints& h, const RemezCase& c, double step)
{
    std::vector<double> peaks;
    for (const RemezBand& b : c.table.bands) {
        if (b.m_bUse != 1)
            continue;
        const double lo = static_cast<double>(b.m_nLowerEdge) / c.fs;
        const double hi = static_cast<double>(b.m_nUpperEdge) / c.fs;
        double peak = 0.0;
        for (double f = lo; f <= hi + 1e-12; f += step) {
            const double ff = f > hi ? hi : f;
            if ((c.FirType() >= 2 && ff < 1e-9) || ((c.FirType() == 1 || c.FirType() == 2) && ff > 0.5 - 1e-9))
                continue;
            peak = std::max(peak, std::fabs(WeightedError(h, b, c.filterType, ff)));
        }
        peaks.push_back(peak);
    }
    return peaks;
}

// The same on the algorithm's own grid points (band by band, as BuildDenseGrid
// places them), where the design levels the error.
inline std::vector<double> GridPeaks(const CPoints& h, const RemezCase& c)
{
    const std::vector<RemezEdge> all = BuildBandList(c.table.bands, c.fs);
    const int r = RemezFunctionCount(c.taps, c.FirType());
    std::vector<double> peaks;
    size_t band = 0;
    for (const RemezBand& b : c.table.bands) {
        if (b.m_bUse != 1)
            continue;
        std::vector<RemezEdge> one = all;
        RemezGrid g = BuildDenseGrid(one, r, c.density, c.filterType, c.FirType());
        const double lo = band == 0 ? one[0].lower : all[band].lower;
        const double hi = all[band].upper;
        double peak = 0.0;
        for (double f : g.f)
            if (f >= lo && f <= hi)
                peak = std::max(peak, std::fabs(WeightedError(h, b, c.filterType, f)));
        peaks.push_back(peak);
        ++band;
    }
    return peaks;
}
