#include "form/FormRequest.h"

#include <cmath>

#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "design/RateChangeDesign.h"
#include "document/CFilPar.h"
#include "form/RemezMessages.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"

namespace {

// The band dialog's edits: edges 0 .. 10000000 Hz, values and weights as
// "%4.3f" and "%4.2f" show them, at most 8 characters.
constexpr int kMaxBandEdge = 10000000;
constexpr size_t kMaxBandChars = 8;

// The number an edit shows for value, read back as the dialog reads it.
double AsShown(const char* format, double value)
{
    return TextToDouble(FormatText(format, value));
}

bool AsksWindow(const FormFields& f)
{
    return f.designMethod == DM_SINC || f.designMethod == DM_DIRECT || f.designMethod == DM_FREQUENCY_SAMPLING;
}

std::optional<std::string> BandDialogRefusal(const std::vector<RemezBand>& bands)
{
    for (const RemezBand& b : bands) {
        if (b.m_nLowerEdge < 0 || b.m_nLowerEdge > kMaxBandEdge || b.m_nUpperEdge < 0 ||
            b.m_nUpperEdge > kMaxBandEdge)
            return FillPlaceholders(kMsgIntRange, {"0", std::to_string(kMaxBandEdge)});
        if (FormatText("%4.3f", b.m_dValue).size() > kMaxBandChars ||
            FormatText("%4.2f", b.m_dWeight).size() > kMaxBandChars)
            return FillPlaceholders(kMsgMaxChars, {std::to_string(kMaxBandChars)});
    }
    return std::nullopt;
}

MethodParameters ListMethod(const FormFields& f)
{
    const WindowChoice window{static_cast<WindowType>(f.windowType), f.shapeFactor, f.stopbandAtt};
    switch (f.designMethod) {
    case DM_FREQUENCY_SAMPLING:
        return FrequencySamplingMethod{window, f.inputData};
    case DM_REMEZ:
        return RemezMethod{f.bands, f.gridDensity};
    case DM_DIRECT:
        return DirectMethod{window, f.variance};
    default:
        return SincMethod{window, f.diffGain};
    }
}

}  // namespace

FormFields NewDocumentFields()
{
    CFilPar par;
    par.ApplyTargetPreset(0);
    return FieldsOf(par);
}

FormFields FieldsOf(const CFilPar& par, double diffGain)
{
    FormFields f;
    f.designMethod = par.m_nDesignMethod;
    f.filterType = par.m_nFilterType;
    f.windowType = par.m_nWindowType;
    f.taps = par.m_nTaps;
    f.samplingRate = par.m_nSamplingRate;
    f.firstCorner = par.m_nFirstCorner;
    f.secondCorner = par.m_nSecondCorner;
    f.irScaling = par.m_nIRScaling;
    f.irScale = par.m_dIRScale;
    f.sinXComp = par.m_bSinXComp == 1;
    f.stopbandAtt = par.m_nStopbandAtt;
    f.shapeFactor = par.m_dShapeFactor;
    f.variance = par.m_dVariance;
    f.diffGain = diffGain;
    f.bands.assign(par.m_Bands, par.m_Bands + kBandCount);
    f.gridDensity = par.m_nGridDensity;
    if (par.m_bInputData != 0) {
        std::vector<Complex> points;
        for (int i = 0; i < par.m_InputData.m_nCount; ++i)
            points.push_back(par.m_InputData[i]);
        f.inputData = std::move(points);
    }
    return f;
}

void StoreFields(const FormFields& f, CFilPar& par)
{
    par.m_nDesignMethod = f.designMethod;
    par.m_nFilterType = f.filterType;
    par.m_nWindowType = f.windowType;
    par.m_nTaps = f.taps;
    par.m_nSamplingRate = f.samplingRate;
    par.m_nFirstCorner = f.firstCorner;
    par.m_nSecondCorner = f.secondCorner;
    par.m_nIRScaling = f.irScaling;
    par.m_dIRScale = f.irScale;
    par.m_bSinXComp = f.sinXComp ? 1 : 0;
    par.m_nStopbandAtt = f.stopbandAtt;
    par.m_dShapeFactor = f.shapeFactor;
    par.m_dVariance = f.variance;
    for (int row = 0; row < kBandCount; ++row)
        par.m_Bands[row] = row < static_cast<int>(f.bands.size()) ? f.bands[static_cast<size_t>(row)] : RemezBand{};
    par.m_nGridDensity = f.gridDensity;
    if (f.inputData) {
        CPoints points(static_cast<int>(f.inputData->size()));
        for (int i = 0; i < points.m_nCount; ++i)
            points[i] = (*f.inputData)[static_cast<size_t>(i)];
        par.m_InputData = std::move(points);
        par.m_bInputData = 1;
    }
}

void SetRateChangeDefaults(FormFields& fields)
{
    fields.designMethod = DM_REMEZ;
    fields.windowType = WT_KAISER;
    fields.stopbandAtt = 60;
}

std::optional<DesignRequest> RequestOf(const FormDesign& design)
{
    const FormFields& f = design.fields;
    if (!design.method && (f.designMethod < DM_SINC || f.designMethod > DM_DIRECT))
        return std::nullopt;
    DesignRequest q;
    q.filterType = static_cast<FilterType>(f.filterType);
    q.taps = f.taps;
    q.samplingRate = f.samplingRate;
    q.firstCorner = f.firstCorner;
    q.secondCorner = f.secondCorner;
    q.method = ListMethod(f);
    q.scaling = static_cast<IRScaling>(f.irScaling);
    q.scale = f.irScale;
    q.sinXCompensation = f.sinXComp;
    if (design.rateChange) {
        q.filterType = FilterType::Lowpass;
        q.rateChange = *design.rateChange;
        if (RemezMethod* remez = q.As<RemezMethod>())
            remez->bands.clear();
    }
    if (design.method) {
        const MethodChoice& m = *design.method;
        q.firstCorner = 0;
        q.secondCorner = 0;
        switch (m.method) {
        case MethodChoice::Method::Pulse:
            q.filterType = FilterType::Lowpass;
            q.method = PulseMethod{m.pulse};
            q.taps = m.pulse.span * m.pulse.sps + 1;
            break;
        case MethodChoice::Method::LeastSquares:
            q.method = LeastSquaresMethod{f.bands, f.gridDensity, m.minimumPhase};
            break;
        case MethodChoice::Method::Remez:
            q.method = RemezMethod{f.bands, f.gridDensity, RemezStart::Automatic, m.minimumPhase, m.shape};
            break;
        }
    }
    if (!ScalingApplies(q)) {
        q.scaling = IRScaling::Natural;
        q.scale = 1.0;
        q.sinXCompensation = false;
    }
    return q;
}

std::optional<MethodChoice> MethodChoiceOf(const DesignRequest& q)
{
    MethodChoice c;
    if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        c.method = MethodChoice::Method::Pulse;
        c.pulse = pulse->pulse;
        return c;
    }
    if (const LeastSquaresMethod* ls = q.As<LeastSquaresMethod>()) {
        c.minimumPhase = ls->minimumPhase;
        return c;
    }
    const RemezMethod* remez = q.As<RemezMethod>();
    if (!remez || (!remez->minimumPhase && remez->shape.kind == ShapeKind::None))
        return std::nullopt;
    c.method = MethodChoice::Method::Remez;
    c.minimumPhase = remez->minimumPhase;
    c.shape = remez->shape;
    return c;
}

FormFields FieldsFor(const DesignRequest& q, FormFields f)
{
    f.filterType = IndexOf(q.filterType);
    f.taps = q.taps;
    f.samplingRate = q.samplingRate;
    // The corners take no part in the methods beside the form's.
    if (!MethodChoiceOf(q)) {
        f.firstCorner = q.firstCorner;
        f.secondCorner = q.secondCorner;
    }
    // The scale field keeps the factor a design applied, as the form shows it.
    if (ScalingApplies(q)) {
        f.irScaling = IndexOf(q.scaling);
        f.sinXComp = q.sinXCompensation;
    }
    const auto window = [&f](const WindowChoice& w) {
        f.windowType = IndexOf(w.type);
        f.shapeFactor = w.kaiserBeta;
        f.stopbandAtt = w.chebyshevAttenuation;
    };
    const auto table = [&f](const std::vector<RemezBand>& bands, int gridDensity) {
        f.designMethod = DM_REMEZ;
        f.bands = bands;
        f.bands.resize(kBandCount);
        f.gridDensity = gridDensity;
    };
    if (const SincMethod* sinc = q.As<SincMethod>()) {
        f.designMethod = DM_SINC;
        window(sinc->window);
        f.diffGain = sinc->differentiatorGain;
    } else if (const FrequencySamplingMethod* sampled = q.As<FrequencySamplingMethod>()) {
        f.designMethod = DM_FREQUENCY_SAMPLING;
        window(sampled->window);
        f.inputData = sampled->points;
    } else if (const RemezMethod* remez = q.As<RemezMethod>()) {
        table(remez->bands, remez->gridDensity);
    } else if (const DirectMethod* direct = q.As<DirectMethod>()) {
        f.designMethod = DM_DIRECT;
        window(direct->window);
        f.variance = direct->gaussianVariance;
    } else if (const LeastSquaresMethod* ls = q.As<LeastSquaresMethod>()) {
        table(ls->bands, ls->gridDensity);
    } else if (const PulseMethod* pulse = q.As<PulseMethod>()) {
        f.designMethod = DM_SINC;
        f.filterType = FT_LOWPASS;
        f.taps = pulse->pulse.span * pulse->pulse.sps + 1;
        f.firstCorner = pulse->pulse.sps > 0 ? static_cast<int>(std::lround(q.samplingRate / (2.0 * pulse->pulse.sps))) : 0;
    }
    if (q.rateChange) {
        const bool halfband = q.rateChange->kind == RateChangeKind::Halfband;
        // The table the exchange runs on (a half-band's lowpass bands at equal
        // weight: its G runs on 0 .. 2 f1 alone).
        RemezBand rows[kBandCount];
        LowpassRemezTable(q.samplingRate, q.firstCorner, RateStopBandsOf(q),
                          halfband ? 1.0 : q.rateChange->stopWeight, rows);
        f.bands.assign(rows, rows + kBandCount);
        if (q.As<RemezMethod>())
            f.gridDensity = GridDensityOf(q);
        f.filterType = FT_LOWPASS;
        f.secondCorner = q.firstCorner;
        f.irScaling = SC_NATURAL;
        f.irScale = 1.0;
        f.sinXComp = false;
    }
    return f;
}

void StoreDesign(const DesignRequest& request, const std::optional<SpecRequirement>& requirement,
                 const FormFields& stored, CFilPar& par)
{
    par.m_Extension = ExtensionFor(request, requirement);
    StoreFields(par.m_Extension ? FieldsFor(request, stored) : stored, par);
}

FormDesign FormDesignOf(const DesignRequest& q, const FormFields& base)
{
    return FormDesign{FieldsFor(q, base), MethodChoiceOf(q), q.rateChange};
}

FormFields AsLoaded(FormFields f)
{
    f.irScale = f.irScaling == SC_NATURAL ? 1.0 : AsShown("%2.2f", f.irScale);
    if (AsksWindow(f) && f.windowType == WT_KAISER)
        f.shapeFactor = AsShown("%2.2f", f.shapeFactor);
    if ((f.designMethod == DM_SINC || f.designMethod == DM_DIRECT) && f.filterType == FT_GAUSSIAN)
        f.variance = AsShown("%2.2f", f.variance);
    if (f.designMethod == DM_REMEZ)
        for (RemezBand& band : f.bands) {
            if (band.m_bUse != 1)
                continue;
            band.m_dValue = AsShown("%4.3f", band.m_dValue);
            const double weight = AsShown("%4.2f", band.m_dWeight);
            if (weight >= 1.0 && weight <= 100.0)
                band.m_dWeight = weight;
        }
    return f;
}

std::optional<std::string> RefusalText(const DesignRequest& request, bool bandDialog)
{
    const std::optional<DesignNote> note = request.rateChange ? ValidateRateChange(request) : ValidateRequest(request);
    const bool beforeDialogs = note && SourceOf(note->code) != CodeSource::Dialog && note->code != DesignCode::CornerOrder;
    if (bandDialog && !beforeDialogs && BandsOf(request))
        if (std::optional<std::string> refusal = BandDialogRefusal(*BandsOf(request)))
            return refusal;
    if (!note)
        return std::nullopt;
    if (bandDialog && note->code == DesignCode::WeightRange)
        return std::string(kMsgWeightRange);
    return DesignMessage(*note, request);
}

DesignOutline OutlineOf(const FormFields& f, int taps, double gain)
{
    DesignOutline d;
    d.filterType = f.filterType;
    d.designMethod = f.designMethod;
    d.windowType = f.windowType;
    d.taps = taps;
    d.fs = f.samplingRate;
    d.firstCorner = f.firstCorner;
    d.secondCorner = f.secondCorner;
    d.shapeFactor = f.shapeFactor;
    d.stopbandAtt = f.stopbandAtt;
    d.diffGain = f.diffGain;
    d.gain = gain;
    d.remezBands = f.bands;
    if (f.inputData)
        for (const Complex& p : *f.inputData)
            d.inputData.push_back(p.real());
    return d;
}

std::string ScaleText(double gain)
{
    return FormatText("%2.2f", gain);
}

FormFields FilledFields(FormFields f, const SpecFormSetting& s)
{
    f.filterType = s.filterType;
    f.designMethod = s.designMethod;
    if (s.windowType >= 0)
        f.windowType = s.windowType;
    f.taps = s.taps;
    f.samplingRate = s.samplingRate;
    f.firstCorner = s.firstCorner;
    f.secondCorner = s.secondCorner;
    if (s.designMethod == DM_SINC)
        f.shapeFactor = s.shapeFactor;
    if (s.designMethod == DM_REMEZ) {
        f.bands = s.bands;
        f.bands.resize(kBandCount);
        f.gridDensity = s.gridDensity;
    }
    return f;
}
