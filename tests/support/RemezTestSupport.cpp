#include "RemezTestSupport.h"

#include <algorithm>
#include <cmath>

std::complex<double> Response(const CPoints& h, double f)
{
    std::complex<double> sum;
    for (int n = 0; n < h.m_nCount; ++n)
        sum += h[n].real() * std::polar(1.0, -2.0 * M_PI * f * n);
    return sum;
}

double WeightedError(const CPoints& h, const RemezBand& b, int filterType, double f)
{
    const bool diff = filterType == FT_DIFFERENTIATOR;
    const double target = diff ? 2.0 * b.m_dValue * f : b.m_dValue;
    const double weight = diff && b.m_dValue >= 0.0001 ? b.m_dWeight / f : b.m_dWeight;
    return (std::abs(Response(h, f)) - target) * weight;
}

std::vector<double> BandPeaks(const CPoints& h, const RemezCase& c, double step)
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

std::vector<double> GridPeaks(const CPoints& h, const RemezCase& c)
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
