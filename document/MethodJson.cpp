#include "document/MethodJson.h"

#include <algorithm>
#include <cmath>

namespace {

using Json = nlohmann::ordered_json;

const char* PulseName(PulseShape shape)
{
    return shape == PulseShape::RaisedCosine ? "rc" : shape == PulseShape::RootRaisedCosine ? "rrc" : "gaussian";
}

}  // namespace

nlohmann::ordered_json MethodsJson(const DesignOutcome& outcome, double fs)
{
    const MethodReport& m = outcome.methods;
    Json j = Json::object();
    if (m.leastSquares.ran) {
        Json ls;
        ls["condition_estimate"] = m.leastSquares.conditionEstimate;
        ls["ridge"] = m.leastSquares.ridge;
        ls["relative_residual"] = m.leastSquares.relativeResidual;
        ls["weighted_squared_error"] = m.leastSquares.weightedSquaredError;
        j["least_squares"] = ls;
    }
    if (m.minimumPhase.ran) {
        const MinimumPhaseReport& r = m.minimumPhase;
        Json mp;
        mp["prototype_method"] = r.prototypeMethod == PrototypeMethod::Remez ? "remez" : "ls";
        mp["prototype_taps"] = r.prototypeTaps;
        mp["prototype_converged"] = r.prototypeConverged;
        mp["prototype_error"] = r.prototypeError;
        mp["shift"] = r.shift;
        mp["prototype_stop_ripple"] = r.prototypeStopRipple;
        mp["promised_stop_db"] = r.promisedStopDb;
        mp["fft_size"] = r.fftSize;
        mp["tail_energy"] = r.tailEnergy;
        mp["group_delay_dc_samples"] = r.groupDelayDcSamples;
        mp["linear_phase_delay_samples"] = r.linearPhaseDelaySamples;
        j["minimum_phase"] = mp;
    }
    if (m.pulse.ran) {
        const PulseReport& p = m.pulse;
        Json pj;
        pj["shape"] = PulseName(p.request.shape);
        if (p.request.shape == PulseShape::Gaussian)
            pj["bt"] = p.request.bt;
        else
            pj["rolloff"] = p.request.rolloff;
        pj["sps"] = p.request.sps;
        pj["span"] = p.request.span;
        pj["normalisation"] = p.request.normalisation == PulseNormalisation::UnitDcGain ? "unit dc gain" : "unit energy";
        pj["isi_of"] = p.analysis.cascaded ? "pulse cascaded with itself" : "pulse";
        pj["isi_rms"] = p.analysis.isiRms;
        pj["isi_db"] = p.analysis.isiDb;
        pj["isi_peak"] = p.analysis.isiPeak;
        pj["power_fraction"] = p.analysis.powerFraction;
        pj["occupied_bandwidth_hz"] = p.analysis.occupiedBandwidth * fs;
        pj["occupied_bandwidth_symbol_rates"] = p.analysis.occupiedBandwidthSymbols;
        j["pulse"] = pj;
    }
    if (m.shape.ran) {
        Json s;
        s["kind"] = m.shape.shape.kind == ShapeKind::CicInverse ? "cic" : "inverse-sinc";
        if (m.shape.shape.kind == ShapeKind::CicInverse) {
            s["decimation"] = m.shape.shape.decimation;
            s["differential_delay"] = m.shape.shape.delay;
            s["stages"] = m.shape.shape.stages;
        }
        s["cascade_max_deviation"] = m.shape.cascadeDeviation;
        s["cascade_ripple_db"] = 20.0 * std::log10((1.0 + m.shape.cascadeDeviation) /
                                                   std::max(1e-300, 1.0 - m.shape.cascadeDeviation));
        j["shaped_response"] = s;
    }
    return j;
}

