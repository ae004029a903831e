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

// Compiled optimised in the test support library (RemezTestSupport.cpp):
// they sum the response directly, which dominates these tests' run time.

// Frequency response of the taps at f (fraction of fs), by direct summation.
std::complex<double> Response(const CPoints& h, double f);

// Weighted error |H(f)| against the band's target at f: the value, or
// 2 value f for a differentiator, weighted by the weight (divided by f for
// a differentiator band with a value).
double WeightedError(const CPoints& h, const RemezBand& b, int filterType, double f);

// Largest |weighted error| of each band in use, on points every step (fraction
// of fs) from the lower to the upper edge. Antisymmetric types skip f = 0
// and f = 0.5 where their response is forced to 0.
std::vector<double> BandPeaks(const CPoints& h, const RemezCase& c, double step);

// The same on the algorithm's own grid points (band by band, as BuildDenseGrid
// places them), where the design levels the error.
std::vector<double> GridPeaks(const CPoints& h, const RemezCase& c);
