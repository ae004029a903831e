#include "dsp/Multirate.h"

#include <algorithm>
#include <cmath>
#include <limits>

MultirateStatus CheckMultirate(int factor, double fs, double passHz)
{
    if (factor < kMinRateFactor || factor > kMaxRateFactor)
        return MultirateStatus::BadFactor;
    if (!std::isfinite(fs) || fs <= 0.0)
        return MultirateStatus::BadRate;
    if (!std::isfinite(passHz) || passHz <= 0.0 || passHz >= fs / (2.0 * factor))
        return MultirateStatus::BadPassEdge;
    return MultirateStatus::Ok;
}

std::vector<MaskBand> MultirateStopBands(int factor, double fs, double passHz, bool aliasBands)
{
    std::vector<MaskBand> stops;
    if (CheckMultirate(factor, fs, passHz) != MultirateStatus::Ok)
        return stops;
    const double nyquist = fs / 2.0;
    if (!aliasBands) {
        stops.push_back({BandKind::Stop, fs / factor - passHz, nyquist, 0.0});
        return stops;
    }
    // With f1 below fs / (2 factor) the bands neither touch each other nor
    // the pass band; the last one of an even factor ends at fs/2.
    for (int k = 1; 2 * k <= factor; ++k) {
        const double centre = k * fs / factor;
        stops.push_back({BandKind::Stop, centre - passHz, std::min(centre + passHz, nyquist), 0.0});
    }
    return stops;
}

std::vector<MaskBand> MultirateAliasMask(int factor, double fs, double passHz)
{
    std::vector<MaskBand> mask = MultirateStopBands(factor, fs, passHz, true);
    if (!mask.empty())
        mask.insert(mask.begin(), MaskBand{BandKind::Pass, 0.0, passHz, 1.0});
    return mask;
}

int MultirateRemezTable(int factor, int fs, double passHz, bool aliasBands, double stopWeight,
                        RemezBand (&table)[kBandCount])
{
    const std::vector<MaskBand> stops = MultirateStopBands(factor, fs, passHz, aliasBands);
    if (stops.empty()) {
        for (RemezBand& row : table)
            row = RemezBand{};
        return 0;
    }
    return LowpassRemezTable(fs, passHz, stops, stopWeight, table);
}

int LowpassRemezTable(int fs, double passHz, std::span<const MaskBand> stops, double stopWeight,
                      RemezBand (&table)[kBandCount])
{
    for (RemezBand& row : table)
        row = RemezBand{};
    table[0] = {1, 0, static_cast<int>(std::floor(passHz)), 1.0, 1.0};
    int rows = 1;
    for (size_t i = 0; i < stops.size(); ++i) {
        const bool last = rows == kBandCount - 1 && i + 1 < stops.size();
        const double hi = last ? fs / 2.0 : stops[i].hiHz;
        table[rows++] = {1, static_cast<int>(std::ceil(stops[i].loHz)), static_cast<int>(std::floor(hi)), 0.0,
                         stopWeight};
        if (last)
            break;
    }
    return rows;
}

std::vector<std::vector<double>> PolyphaseComponents(std::span<const double> taps, int factor)
{
    std::vector<std::vector<double>> phases;
    if (factor < 1)
        return phases;
    phases.resize(static_cast<size_t>(factor));
    for (size_t n = 0; n < taps.size(); ++n)
        phases[n % static_cast<size_t>(factor)].push_back(taps[n]);
    return phases;
}

int PaddedTapCount(int taps, int factor)
{
    if (factor < 1)
        return taps;
    return (taps + factor - 1) / factor * factor;
}

int MacsPerOutput(MultirateKind kind, int taps, int factor)
{
    switch (kind) {
    case MultirateKind::Decimate:
        return taps;
    case MultirateKind::Interpolate:
        return factor < 1 ? 0 : PaddedTapCount(taps, factor) / factor;
    case MultirateKind::Halfband:
        return (taps + 1) / 2 + 1;
    }
    return 0;
}

namespace {

double WeakestStopAttenuation(const ResponseFigures& figures)
{
    if (figures.status != MeasureStatus::Ok)
        return std::numeric_limits<double>::quiet_NaN();
    double weakest = std::numeric_limits<double>::infinity();
    for (const BandFigures& b : figures.bands)
        if (b.band.kind == BandKind::Stop)
            weakest = std::min(weakest, b.attenuationDb);
    return weakest;
}

}  // namespace

double AliasAttenuationDb(std::span<const double> taps, int factor, double fs, double passHz)
{
    const std::vector<MaskBand> mask = MultirateAliasMask(factor, fs, passHz);
    if (mask.empty())
        return std::numeric_limits<double>::quiet_NaN();
    return WeakestStopAttenuation(MeasureResponse(taps, fs, mask, false));
}

MultirateFigures MeasureMultirate(std::span<const double> taps, MultirateKind kind, int factor, double fs,
                                  double passHz, const std::optional<QuantSpec>& quantize)
{
    MultirateFigures f;
    f.kind = kind;
    f.factor = factor;
    f.status = CheckMultirate(factor, fs, passHz);
    if (kind == MultirateKind::Halfband && factor != 2)
        f.status = MultirateStatus::BadFactor;
    if (f.status != MultirateStatus::Ok)
        return f;
    const bool up = kind == MultirateKind::Interpolate;
    f.inputRateHz = up ? fs / factor : fs;
    f.outputRateHz = up ? fs : fs / factor;
    f.phases = factor;
    f.macsPerOutput = MacsPerOutput(kind, static_cast<int>(taps.size()), factor);
    f.aliasAttenuationDb = AliasAttenuationDb(taps, factor, fs, passHz);
    if (quantize) {
        const QuantResult q = QuantizeAndMeasure(taps, *quantize, fs, MultirateAliasMask(factor, fs, passHz), false);
        f.quantAliasAttenuationDb = q.status == QuantStatus::Ok ? WeakestStopAttenuation(q.figures)
                                                                : std::numeric_limits<double>::quiet_NaN();
    }
    return f;
}
