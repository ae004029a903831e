#include "design/Design.h"

#include <cmath>

#include "design/DesignValidation.h"
#include "design/MethodDesign.h"
#include "design/RateChangeDesign.h"
#include "dsp/FrequencySampling.h"
#include "dsp/IdealResponses.h"
#include "dsp/ResponseAnalysis.h"
#include "dsp/Scaling.h"
#include "dsp/Windows.h"

namespace {

void ComputeWindow(const WindowChoice& w, CPoints& window)
{
    ComputeWindowSamples(window, IndexOf(w.type), WindowParameters{w.chebyshevAttenuation, w.kaiserBeta});
}

// The tail every method ends with; c is the spectrum length.
void FinishDesign(const DesignRequest& q, DesignOutcome& out, int c)
{
    if (q.sinXCompensation && ScalingApplies(q)) {
        ApplySinXCompensation(out.coeffs, out.spectrum, out.sinXFactors);
        out.sinXApplied = true;
        out.irPeak = out.coeffs.GetMaxMagnitude();
    }
    const IRScaling mode = ScalingApplies(q) ? q.scaling : IRScaling::Natural;
    const ScaleFactor factor = ComputeScaleFactor(IndexOf(mode), out.irPeak, EffectiveScale(q));
    if (factor.status != DspStatus::Ok)
        out.notes.push_back({DesignCode::CalculatedScale, 0});
    out.gain = factor.gain;
    out.scaled = true;
    out.coeffs.Scale(out.gain, 0.0);
    for (int i = 0; i < out.coeffs.m_nCount; ++i)
        if (!std::isfinite(out.coeffs[i].real()) || !std::isfinite(out.coeffs[i].imag())) {
            out.notes.push_back({DesignCode::NonFiniteTaps, 0});
            return;
        }
    StepResponse(out.coeffs, out.step);
    ResponseSpectrum(out.coeffs, out.spectrum, c);
    out.spectrumLength = c;
    out.valid = true;
    if (q.measure)
        MeasureOutcome(q, out);
}

void DesignSincOrDirect(const DesignRequest& q, const WindowChoice& w, DesignOutcome& out,
                        const std::optional<DesignNote>& cornerOrder)
{
    out.ResizeArrays(q.taps);
    ComputeWindow(w, out.window);
    if (cornerOrder) {
        out.notes.push_back(*cornerOrder);
        return;
    }
    CPoints& h = out.coeffs;
    const double f1 = q.firstCorner;
    const double f2 = q.secondCorner;
    const double fs = q.samplingRate;
    const double nyquist = q.samplingRate * 0.5;
    double r = 0.0;
    switch (q.filterType) {
    case FilterType::Lowpass:
        r = StopBandResponse(h, f1, nyquist, fs);
        break;
    case FilterType::Highpass:
        r = StopBandResponse(h, 0.0, f1, fs);
        break;
    case FilterType::Bandpass:
        r = PassBandResponse(h, f1, f2, fs);
        break;
    case FilterType::Bandstop:
        r = StopBandResponse(h, f1, f2, fs);
        break;
    case FilterType::Hilbert:
        HilbertResponse(h, f1, f2, fs);
        r = h.GetMaxMagnitude();
        break;
    case FilterType::Differentiator:
        DifferentiatorResponse(h, f1, f2, fs, DifferentiatorGainOf(q));
        r = h.GetMaxMagnitude();
        break;
    case FilterType::Gaussian: {
        const DirectMethod* direct = q.As<DirectMethod>();
        GaussianEdgeResponse(h, direct ? direct->gaussianVariance : 1.0);
        r = h.GetMaxMagnitude();
        break;
    }
    case FilterType::Allpass:
        r = StopBandResponse(h, nyquist, nyquist, fs);
        break;
    case FilterType::MovingAverage:
        r = MovingAverageResponse(h);
        break;
    }
    out.irPeak = std::fabs(r);
    if (q.filterType != FilterType::MovingAverage)
        h.Multiply(out.window);
    FinishDesign(q, out, q.taps % 2 == 1 ? 1025 : 1024);
}

void DesignFrequencySampling(const DesignRequest& q, const FrequencySamplingMethod& m, DesignOutcome& out)
{
    const std::vector<Complex>& samples = *m.points;
    CPoints points(static_cast<int>(samples.size()));
    for (int i = 0; i < points.m_nCount; ++i)
        points[i] = samples[static_cast<size_t>(i)];
    CPoints taps;
    FrequencySamplingTaps(points, taps);
    const int n = taps.m_nCount;
    // The FIR type stays that of the typed taps, as the form has it.
    out.ResizeArrays(n);
    ComputeWindow(m.window, out.window);
    for (int i = 0; i < n; ++i)
        out.coeffs[i] = taps[i];
    out.irPeak = out.coeffs.GetMaxMagnitude();
    out.coeffs.Multiply(out.window);
    FinishDesign(q, out, 1024);
}

void DesignRemezFilter(const DesignRequest& q, const RemezMethod& m, DesignOutcome& out)
{
    RemezBand table[kBandCount];
    for (size_t i = 0; i < m.bands.size() && i < static_cast<size_t>(kBandCount); ++i)
        table[i] = m.bands[i];
    out.ResizeArrays(q.taps);
    RemezOptions options;
    options.start = m.start;
    const RemezResult design = DesignRemez(q.taps, IndexOf(q.filterType), out.firType, q.samplingRate, table,
                                           m.gridDensity, out.coeffs, options);
    out.remez = RemezReport{true, design.status, design.nPasses, design.bExact, design.startUsed};
    if (design.Converged())
        out.notes.push_back({DesignCode::RemezPasses, design.nPasses});
    else
        out.notes.push_back({DesignCode::RemezNoConvergence, design.nPasses});
    out.irPeak = out.coeffs.GetMaxMagnitude();
    FinishDesign(q, out, 1024);
}

}  // namespace

double DifferentiatorGainOf(const DesignRequest& request)
{
    const SincMethod* sinc = request.As<SincMethod>();
    return sinc ? sinc->differentiatorGain : std::numbers::pi;
}

DesignOutline OutlineOf(const DesignRequest& q, int taps, double gain)
{
    DesignOutline d;
    d.filterType = IndexOf(q.filterType);
    d.designMethod = IndexOf(q.Method());
    const WindowChoice window = WindowOf(q) ? *WindowOf(q) : WindowChoice{};
    d.windowType = IndexOf(window.type);
    d.taps = taps;
    d.fs = q.samplingRate;
    d.firstCorner = q.firstCorner;
    d.secondCorner = q.secondCorner;
    d.shapeFactor = window.kaiserBeta;
    d.stopbandAtt = window.chebyshevAttenuation;
    d.diffGain = DifferentiatorGainOf(q);
    d.gain = gain;
    if (const std::vector<RemezBand>* bands = BandsOf(q))
        d.remezBands = *bands;
    if (const FrequencySamplingMethod* m = q.As<FrequencySamplingMethod>(); m && m->points)
        for (const Complex& p : *m->points)
            d.inputData.push_back(p.real());
    return d;
}

std::vector<MaskBand> MeasurementMask(const DesignRequest& q, const DesignOutcome& out)
{
    if (q.rateChange)
        return RateChangeMask(q);
    return UsesMethodDesign(q) ? MethodMask(q, out.gain) : DeriveMaskBands(OutlineOf(q, out.taps, out.gain));
}

void MeasureOutcome(const DesignRequest& q, DesignOutcome& out)
{
    const std::vector<double> taps = out.Taps();
    out.mask = MeasurementMask(q, out);
    // A rate change's lowpass has its own pass-band figures (MeasureRateChange).
    const bool crossings = !q.rateChange && HasCornerCrossings(IndexOf(q.filterType));
    out.figures = MeasureResponse(taps, q.samplingRate, out.mask, crossings);
    if (q.rateChange)
        MeasureRateChange(q, out);
}

DesignOutcome Design(const DesignRequest& request)
{
    DesignOutcome out;
    out.taps = request.taps;
    out.firType = FirTypeOf(IndexOf(request.filterType), request.taps);
    if (request.rateChange) {
        if (const std::optional<DesignNote> refusal = ValidateRateChange(request)) {
            out.notes.push_back(*refusal);
            return out;
        }
        DesignRateChangeFilter(request, out);
        if (out.ran)
            FinishDesign(request, out, request.As<SincMethod>() && request.taps % 2 == 1 ? 1025 : 1024);
        return out;
    }
    const std::optional<DesignNote> refusal = ValidateRequest(request);
    // A bandpass or bandstop whose corners are out of order is refused by
    // the sinc routine once its window is computed.
    if (refusal && refusal->code != DesignCode::CornerOrder) {
        out.notes.push_back(*refusal);
        return out;
    }
    if (const SincMethod* sinc = request.As<SincMethod>())
        DesignSincOrDirect(request, sinc->window, out, refusal);
    else if (const DirectMethod* direct = request.As<DirectMethod>())
        DesignSincOrDirect(request, direct->window, out, refusal);
    else if (const FrequencySamplingMethod* sampled = request.As<FrequencySamplingMethod>())
        DesignFrequencySampling(request, *sampled, out);
    else if (const RemezMethod* remez = request.As<RemezMethod>(); remez && !UsesMethodDesign(request))
        DesignRemezFilter(request, *remez, out);
    else {
        DesignByMethod(request, out);
        if (out.ran)
            FinishDesign(request, out, 1024);
    }
    return out;
}
