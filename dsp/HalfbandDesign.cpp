#include "dsp/HalfbandDesign.h"

#include <algorithm>
#include <cmath>

#include "dsp/CPoints.h"
#include "dsp/DesignKinds.h"
#include "dsp/ResponseMeasurement.h"

bool IsHalfbandTaps(int taps)
{
    return taps >= kMinHalfbandTaps && taps <= kMaxHalfbandTaps && taps % 4 == 3;
}

int NearestHalfbandTaps(int taps)
{
    if (taps <= kMinHalfbandTaps)
        return kMinHalfbandTaps;
    if (taps >= kMaxHalfbandTaps)
        return kMaxHalfbandTaps;
    const int below = taps - ((taps - 3) % 4 + 4) % 4;
    const int above = below + 4;
    return taps - below < above - taps ? below : above;
}

std::string HalfbandTapsMessage(int taps)
{
    return "A half-band filter has 4k + 3 taps (" + std::to_string(kMinHalfbandTaps) + " .. " +
           std::to_string(kMaxHalfbandTaps) + "); " + std::to_string(taps) + " is not one. The nearest is " +
           std::to_string(NearestHalfbandTaps(taps)) + ".";
}

HalfbandResult DesignHalfband(int taps, int fs, double passHz, int gridDensity)
{
    HalfbandResult result;
    if (!IsHalfbandTaps(taps))
        return result;
    if (fs < 8) {
        result.status = HalfbandStatus::BadRate;
        return result;
    }
    const double bandEdge = std::round(2.0 * passHz);
    if (!std::isfinite(passHz) || passHz <= 0.0 || bandEdge < 1.0 || 2.0 * bandEdge >= fs) {
        result.status = HalfbandStatus::BadPassEdge;
        return result;
    }
    const int gTaps = (taps + 1) / 2;
    RemezBand table[kBandCount] = {};
    table[0] = {1, 0, static_cast<int>(bandEdge), 1.0, 1.0};
    CPoints g;
    result.remez = DesignRemez(gTaps, FT_LOWPASS, FirTypeOf(FT_LOWPASS, gTaps), fs, table, gridDensity, g);
    if (result.remez.status == RemezStatus::NoGrid) {
        result.status = HalfbandStatus::BadPassEdge;
        return result;
    }
    result.status = result.remez.Converged() ? HalfbandStatus::Converged : HalfbandStatus::DidNotConverge;
    result.g.resize(static_cast<size_t>(gTaps));
    result.taps.assign(static_cast<size_t>(taps), 0.0);
    for (int i = 0; i < gTaps; ++i) {
        result.g[static_cast<size_t>(i)] = g.GetValue(i, 0);
        result.taps[static_cast<size_t>(2 * i)] = 0.5 * result.g[static_cast<size_t>(i)];
    }
    // The centre (N - 1) / 2 = 2k + 1 is odd: G(z^2) has a zero there.
    result.taps[static_cast<size_t>((taps - 1) / 2)] = 0.5;
    // Measured on the taps: G's grid can fall between the peaks of its error.
    const MaskBand mask[] = {{BandKind::Pass, 0.0, passHz, 1.0}, {BandKind::Stop, fs / 2.0 - passHz, fs / 2.0, 0.0}};
    const ResponseFigures f = MeasureResponse(result.taps, fs, mask, false);
    if (f.status == MeasureStatus::Ok)
        result.ripple = std::max(f.bands[0].maxDeviation, std::pow(10.0, f.bands[1].maxDb / 20.0));
    return result;
}
