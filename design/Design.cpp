#include "design/Design.h"

#include <charconv>
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

// The form's "%2.2f", independent of the process locale.
std::string TwoDecimals(double value)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

void ComputeWindow(const DesignRequest& q, CPoints& window)
{
    const WindowParameters parameters{q.chebyshevAttenuation, q.kaiserBeta};
    ComputeWindowSamples(window, IndexOf(q.window), parameters);
}

// The tail every method ends with; c is the spectrum length.
void FinishDesign(const DesignRequest& q, DesignOutcome& out, int c)
{
    if (q.sinXCompensation) {
        ApplySinXCompensation(out.coeffs, out.spectrum, out.sinXFactors);
        out.sinXApplied = true;
        out.irPeak = out.coeffs.GetMaxMagnitude();
    }
    const ScaleFactor factor = ComputeScaleFactor(IndexOf(q.scaling), out.irPeak, EffectiveScale(q));
    if (factor.status != DspStatus::Ok)
        out.notes.push_back({DesignCode::CalculatedScale, 0});
    out.gain = factor.gain;
    out.scaleText = TwoDecimals(out.gain);
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
    if (q.measure && UsesRateChange(q)) {
        out.mask = RateChangeMask(q);
        out.figures = MeasureResponse(out.Taps(), q.samplingRate, out.mask, false);
        MeasureRateChange(q, out);
    } else if (q.measure) {
        const std::vector<double> taps = out.Taps();
        out.mask = UsesMethodDesign(q) ? MethodMask(q, out.gain) : DeriveMaskBands(OutlineOf(q, out.taps, out.gain));
        out.figures = MeasureResponse(taps, q.samplingRate, out.mask, HasCornerCrossings(IndexOf(q.filterType)));
    }
}

void DesignSincOrDirect(const DesignRequest& q, DesignOutcome& out, const std::optional<DesignNote>& cornerOrder)
{
    out.ResizeArrays(q.taps);
    ComputeWindow(q, out.window);
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
    case FilterType::Gaussian:
        GaussianEdgeResponse(h, q.gaussianVariance);
        r = h.GetMaxMagnitude();
        break;
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

void DesignFrequencySampling(const DesignRequest& q, DesignOutcome& out)
{
    CPoints points(static_cast<int>(q.samplingPoints.size()));
    for (int i = 0; i < points.m_nCount; ++i)
        points[i] = q.samplingPoints[static_cast<size_t>(i)];
    CPoints taps;
    FrequencySamplingTaps(points, taps);
    const int n = taps.m_nCount;
    // The FIR type stays that of the typed taps, as the form has it.
    out.ResizeArrays(n);
    ComputeWindow(q, out.window);
    for (int i = 0; i < n; ++i)
        out.coeffs[i] = taps[i];
    out.irPeak = out.coeffs.GetMaxMagnitude();
    out.coeffs.Multiply(out.window);
    FinishDesign(q, out, 1024);
}

void DesignRemezFilter(const DesignRequest& q, DesignOutcome& out)
{
    RemezBand table[kBandCount];
    for (size_t i = 0; i < q.bands.size() && i < static_cast<size_t>(kBandCount); ++i)
        table[i] = q.bands[i];
    out.ResizeArrays(q.taps);
    RemezOptions options;
    options.start = q.remezStart;
    const RemezResult design = DesignRemez(q.taps, IndexOf(q.filterType), out.firType, q.samplingRate, table,
                                           q.gridDensity, out.coeffs, options);
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
    switch (request.diffGainSelection) {
    case DifferentiatorGain::Pi:
        return std::numbers::pi;
    case DifferentiatorGain::HalfPi:
        return std::numbers::pi / 2.0;
    case DifferentiatorGain::One:
        return 1.0;
    default:
        return request.diffGain;
    }
}

DesignOutline OutlineOf(const DesignRequest& q, int taps, double gain)
{
    DesignOutline d;
    d.filterType = IndexOf(q.filterType);
    d.designMethod = IndexOf(q.method);
    d.windowType = IndexOf(q.window);
    d.taps = taps;
    d.fs = q.samplingRate;
    d.firstCorner = q.firstCorner;
    d.secondCorner = q.secondCorner;
    d.shapeFactor = q.kaiserBeta;
    d.stopbandAtt = q.chebyshevAttenuation;
    d.diffGain = DifferentiatorGainOf(q);
    d.gain = gain;
    d.remezBands = q.bands;
    if (q.hasInputData)
        for (const Complex& p : q.samplingPoints)
            d.inputData.push_back(p.real());
    return d;
}

DesignOutcome Design(const DesignRequest& request)
{
    DesignOutcome out;
    out.taps = request.taps;
    out.firType = FirTypeOf(IndexOf(request.filterType), request.taps);
    if (UsesRateChange(request)) {
        if (const std::optional<DesignNote> refusal = ValidateRateChange(request)) {
            out.notes.push_back(*refusal);
            return out;
        }
        DesignRateChangeFilter(request, out);
        if (out.ran)
            FinishDesign(request, out, request.method == DesignMethod::Sinc && request.taps % 2 == 1 ? 1025 : 1024);
        return out;
    }
    const std::optional<DesignNote> refusal = ValidateRequest(request);
    // A bandpass or bandstop whose corners are out of order is refused by
    // the sinc routine once its window is computed.
    if (refusal && refusal->code != DesignCode::CornerOrder) {
        out.notes.push_back(*refusal);
        return out;
    }
    switch (request.method) {
    case DesignMethod::Sinc:
    case DesignMethod::Direct:
        DesignSincOrDirect(request, out, refusal);
        break;
    case DesignMethod::FrequencySampling:
        DesignFrequencySampling(request, out);
        break;
    case DesignMethod::Remez:
        if (UsesMethodDesign(request)) {
            DesignByMethod(request, out);
            if (out.ran)
                FinishDesign(request, out, 1024);
        } else {
            DesignRemezFilter(request, out);
        }
        break;
    case DesignMethod::LeastSquares:
    case DesignMethod::Pulse:
        DesignByMethod(request, out);
        if (out.ran)
            FinishDesign(request, out, 1024);
        break;
    }
    return out;
}
