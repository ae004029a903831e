#include "python/AnalysisObject.h"

namespace {

using Json = nlohmann::ordered_json;

const char* KindName(BandKind kind)
{
    return kind == BandKind::Pass ? "pass" : kind == BandKind::Stop ? "stop" : "slope";
}

const char* StatusName(MeasureStatus status)
{
    switch (status) {
    case MeasureStatus::Ok:
        return "ok";
    case MeasureStatus::NoTaps:
        return "no taps";
    case MeasureStatus::BadRate:
        return "bad sampling rate";
    case MeasureStatus::BadBand:
        return "band outside 0..fs/2";
    default:
        return "non-finite taps";
    }
}

Json Bands(const ResponseFigures& f)
{
    Json bands = Json::array();
    for (const BandFigures& b : f.bands) {
        Json band;
        band["kind"] = KindName(b.band.kind);
        band["lo_hz"] = b.band.loHz;
        band["hi_hz"] = b.band.hiHz;
        band["max_db"] = b.maxDb;
        band["min_db"] = b.minDb;
        if (b.band.kind == BandKind::Stop) {
            band["attenuation_db"] = b.attenuationDb;
        } else {
            band["ripple_db"] = b.rippleDb;
            band["desired"] = b.band.desired;
            band["max_deviation"] = b.maxDeviation;
        }
        bands.push_back(band);
    }
    return bands;
}

// Everything but the bands, shared by both precisions.
void Figures(const ResponseFigures& f, Json& out)
{
    out["status"] = StatusName(f.status);
    out["grid_points"] = f.gridIntervals + 1;
    out["nominal_pass_gain"] = f.nominalPassGain;
    out["bands"] = Bands(f);
    out["minus3db_hz"] = f.minus3dbHz;
    out["minus6db_hz"] = f.minus6dbHz;
    out["linear_phase"] = f.linearPhase;
    out["group_delay_samples"] = f.groupDelaySamples;
    out["group_delay_ms"] = f.groupDelayMs;
    out["dc_gain_db"] = f.dcGainDb;
    out["nyquist_gain_db"] = f.nyquistGainDb;
    out["peak_tap"] = f.peakTap;
    out["peak_tap_index"] = f.peakTapIndex;
    out["sum_abs_taps"] = f.sumAbsTaps;
    out["headroom_bits"] = f.headroomBits;
}

const char* QuantStatusName(QuantStatus status)
{
    switch (status) {
    case QuantStatus::Ok:
        return "ok";
    case QuantStatus::BadWordLength:
        return "word length outside 2..32";
    case QuantStatus::BadFractionLength:
        return "fraction length out of range";
    case QuantStatus::NonFinite:
        return "non-finite taps";
    default:
        return "no taps";
    }
}

}  // namespace

Json AnalysisObject(bool bandsDerived, const ResponseFigures& figures, const QuantResult& q)
{
    Json out;
    out["bands_derived"] = bandsDerived;
    Figures(figures, out);

    Json quant;
    quant["status"] = QuantStatusName(q.status);
    quant["format"] = QuantFormatName(q.quantSpec);
    quant["word_length"] = q.wordLength;
    quant["fraction_length"] = q.fractionLength;
    quant["shift"] = q.shift;
    quant["rounding"] = q.quantSpec.format == QuantFormat::Q15  ? "nearest (half up)"
                        : q.quantSpec.format != QuantFormat::Bits ? "truncate"
                        : q.quantSpec.rounding == QuantRounding::Nearest ? "nearest"
                                                                     : "truncate";
    quant["taps"] = q.taps;
    quant["max_error_lsb"] = q.maxErrorLsb;
    quant["saturated"] = q.saturated;
    quant["symmetric_before"] = q.symmetryBefore != 0;
    quant["symmetric_after"] = q.symmetryAfter != 0;
    if (q.status == QuantStatus::Ok)
        Figures(q.figures, quant);
    out["quantized"] = quant;
    return out;
}

