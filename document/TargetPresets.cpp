#include "document/CFilPar.h"
#include "document/DocumentMessages.h"
#include "platform/CWnd.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"

namespace {

struct PresetBand {
    int lower, upper;  // Hz
    double value, weight;
};

struct TargetPreset {
    int designMethod;
    int filterType;
    int taps;  // 0: the taps are kept
    int bandCount;
    PresetBand bands[5];
};

// The eleven built-in targets; the band edges reach 4000 Hz, half the
// default sampling rate.
constexpr TargetPreset kPresets[] = {
    {DM_SINC, FT_LOWPASS, 0, 0, {}},
    {DM_SINC, FT_LOWPASS, 63, 2, {{0, 1000, 1.0, 1.0}, {1200, 4000, 0.0, 10.0}}},
    {DM_REMEZ, FT_LOWPASS, 24, 2, {{0, 640, 1.0, 1.0}, {1280, 4000, 0.0, 1.0}}},
    {DM_REMEZ, FT_LOWPASS, 63, 2, {{0, 1000, 1.0, 1.0}, {1200, 4000, 0.0, 10.0}}},
    {DM_REMEZ, FT_BANDPASS, 32, 3, {{0, 800, 0.0, 10.0}, {1600, 2800, 1.0, 1.0}, {3400, 4000, 0.0, 10.0}}},
    {DM_REMEZ, FT_BANDPASS, 50, 3, {{0, 1200, 0.0, 10.0}, {1600, 2400, 1.0, 1.0}, {2800, 4000, 0.0, 100.0}}},
    {DM_REMEZ, FT_BANDPASS, 55, 5,
     {{0, 400, 0.0, 10.0}, {800, 1200, 1.0, 1.0}, {1440, 2000, 0.0, 3.0}, {2400, 2880, 1.0, 1.0},
      {3280, 4000, 0.0, 20.0}}},
    {DM_REMEZ, FT_DIFFERENTIATOR, 32, 1, {{0, 4000, 1.0, 1.0}}},
    {DM_REMEZ, FT_DIFFERENTIATOR, 33, 1, {{0, 3500, 1.0, 1.0}}},
    {DM_REMEZ, FT_HILBERT, 20, 1, {{400, 4000, 1.0, 1.0}}},
    {DM_REMEZ, FT_HIGHPASS, 32, 2, {{0, 2800, 0.0, 40.0}, {3000, 3800, 1.0, 1.0}}},
};

constexpr int kPresetCount = static_cast<int>(sizeof kPresets / sizeof kPresets[0]);

}  // namespace

void CFilPar::ApplyTargetPreset(int index, CWnd* msgOwner)
{
    for (RemezBand& band : m_Bands)
        band = RemezBand{};

    if (index >= 0 && index < kPresetCount) {
        const TargetPreset& preset = kPresets[index];
        m_nDesignMethod = preset.designMethod;
        m_nFilterType = preset.filterType;
        if (index != 0)
            m_nTaps = preset.taps;
        for (int i = 0; i < preset.bandCount; ++i) {
            RemezBand& band = m_Bands[i];
            band.m_bUse = 1;
            band.m_nLowerEdge = preset.bands[i].lower;
            band.m_nUpperEdge = preset.bands[i].upper;
            band.m_dValue = preset.bands[i].value;
            band.m_dWeight = preset.bands[i].weight;
        }
    } else if (msgOwner) {
        msgOwner->MessageBox(FormatText(kMsgTargetNotSupported, index), MB_OK);
    }

    m_nGridDensity = 16;
}
