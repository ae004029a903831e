#include <utility>

#include "design/DesignValidation.h"
#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
#include "document/RateChangeReport.h"
#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"
#include "form/DesignMessages.h"
#include "platform/DataExchange.h"

bool CZantroView::ReadFields()
{
    if (!UpdateData(true))
        return false;
    m_dIRScale = TextToDouble(m_strIRScale);
    if (m_nIRScaling == SC_NATURAL) {
        m_strIRScale = "1.00";
        m_dIRScale = 1.0;
        UpdateData(false);
    }
    return ValidateParameters() != 0;
}

void CZantroView::OnDesign()
{
    const int shown = m_nDesignsShown;
    DesignFromFields();
    NoteDesignOutcome(shown);
}

void CZantroView::NoteDesignOutcome(int designsShownBefore)
{
    if (m_nDesignsShown != designsShownBefore) {
        if (m_design) {
            m_design->fields = Fields();
            m_design->firType = m_nFirType;
        }
        m_shown.Designed(*this);
        m_history.Record(*this);
    } else {
        m_shown.NotDesigned(*this);
    }
}

void CZantroView::DesignFromFields()
{
    if (!ReadFields())
        return;
    m_bDesignValid = 0;
    m_nFirType = GetFirType(m_nFilterType, m_nTaps);

    // The method's own refusal; the dialogs' values are asked for below.
    const std::optional<DesignRequest> request = MakeRequest();
    const std::optional<DesignNote> refusal = request ? ValidateRequest(*request) : std::nullopt;
    if (refusal && (refusal->code == DesignCode::SincNotSupported ||
                    refusal->code == DesignCode::FreqSamplingNotSupported ||
                    refusal->code == DesignCode::RemezNotSupported || refusal->code == DesignCode::DirectNotSupported)) {
        MessageBox(DesignMessage(*refusal));
        return;
    }
    switch (m_nDesignMethod) {
    case DM_SINC:
    case DM_DIRECT:
        DesignSincOrDirect();
        break;
    case DM_FREQUENCY_SAMPLING:
        DesignFrequencySampling();
        break;
    case DM_REMEZ:
        DesignRemezFilter();
        break;
    default:
        break;
    }
    StoreParameters();
}

int CZantroView::ValidateParameters()
{
    const std::optional<DesignRequest> request = MakeRequest();
    const std::optional<DesignNote> refusal = request ? ValidateRequest(*request) : std::nullopt;
    if (refusal && SourceOf(refusal->code) == CodeSource::Fields) {
        MessageBox(DesignMessage(*refusal));
        return 0;
    }
    return 1;
}

int CZantroView::GetFirType(int filterType, int taps)
{
    return FirTypeOf(filterType, taps);
}

void CZantroView::ResizeArrays(int n)
{
    m_Window.SetSize(n);
    m_Coeffs.SetSize(n);
    m_Step.SetSize(n);
    m_Spectrum.SetSize(n);
    m_SinXComp.SetSize(n);
    m_Window.Clear();
    m_Coeffs.Clear();
    m_Step.Clear();
    m_Spectrum.Clear();
}

FormFields CZantroView::Fields() const
{
    FormFields f;
    if (m_pDocument)
        f = FieldsOf(m_pDocument->m_FilPar, m_dDiffGain);
    f.designMethod = m_nDesignMethod;
    f.filterType = m_nFilterType;
    f.windowType = m_nWindowType;
    f.taps = m_nTaps;
    f.samplingRate = m_nSamplingRate;
    f.firstCorner = m_nFirstCorner;
    f.secondCorner = m_nSecondCorner;
    f.irScaling = m_nIRScaling;
    f.irScale = m_dIRScale;
    f.sinXComp = m_bSinXComp == 1;
    f.stopbandAtt = m_nStopbandAtt;
    f.shapeFactor = m_dShapeFactor;
    f.variance = m_dVariance;
    f.diffGain = m_dDiffGain;
    return f;
}

void CZantroView::SetFields(const FormFields& f)
{
    m_nDesignMethod = f.designMethod;
    m_nFilterType = f.filterType;
    m_nWindowType = f.windowType;
    m_nTaps = f.taps;
    m_nSamplingRate = f.samplingRate;
    m_nFirstCorner = f.firstCorner;
    m_nSecondCorner = f.secondCorner;
    m_nIRScaling = f.irScaling;
    m_dIRScale = f.irScale;
    m_strIRScale = ScaleText(f.irScale);
    m_bSinXComp = f.sinXComp ? 1 : 0;
    m_nStopbandAtt = f.stopbandAtt;
    m_dShapeFactor = f.shapeFactor;
    m_dVariance = f.variance;
    m_dDiffGain = f.diffGain;
    if (m_pDocument) {
        CFilPar& par = m_pDocument->m_FilPar;
        for (int row = 0; row < kBandCount; ++row)
            par.m_Bands[row] = row < static_cast<int>(f.bands.size()) ? f.bands[static_cast<size_t>(row)] : RemezBand{};
        par.m_nGridDensity = f.gridDensity;
    }
    UpdateData(false);
}

std::optional<DesignRequest> CZantroView::MakeRequest() const
{
    std::optional<DesignRequest> q = RequestOf({Fields()});
    // The analysis measures what the form shows when it is asked to.
    if (q)
        q->measure = false;
    return q;
}

void CZantroView::RunDesign()
{
    if (const std::optional<DesignRequest> request = MakeRequest())
        TakeOutcome(*request, Design(*request));
}

void CZantroView::DesignStored(const DesignExtension& extension)
{
    const int shown = m_nDesignsShown;
    m_bDesignValid = 0;
    DesignRequest request = *extension.request;
    // A rate change's export describes its measured design.
    request.measure = request.rateChange.has_value();
    DesignOutcome outcome = Design(request);
    if (outcome.valid)
        m_nFirType = outcome.firType;
    TakeOutcome(request, std::move(outcome));
    if (m_nDesignsShown != shown)
        m_design->requirement = extension.requirement;
    NoteDesignOutcome(shown);
}

void CZantroView::SetShownRequirement(const SpecRequirement& requirement)
{
    if (!m_design)
        return;
    m_design->requirement = requirement;
    if (m_pDocument && !m_bQuietDesign)
        m_pDocument->m_FilPar.m_Extension = ExtensionOf(*m_design);
    m_history.Replace(*this);
}

void CZantroView::TakeOutcome(const DesignRequest& request, DesignOutcome outcome)
{
    std::optional<DesignValue> value;
    if (outcome.valid) {
        value.emplace();
        value->request = request;
        value->fields = Fields();
        value->taps = outcome.Taps();
        value->gain = outcome.gain;
        if (request.rateChange)
            value->rateChangeExport = RateChangeExportDesign(request, outcome);
    }
    if (outcome.ran) {
        ResizeArrays(outcome.taps);
        m_Window = std::move(outcome.window);
        m_Coeffs = std::move(outcome.coeffs);
        m_Step = std::move(outcome.step);
        m_Spectrum = std::move(outcome.spectrum);
        if (outcome.sinXApplied)
            m_SinXComp = std::move(outcome.sinXFactors);
    }
    if (outcome.remez.ran)
        m_nRemezPasses = outcome.remez.passes;
    if (outcome.ran)
        m_bConverged = !outcome.Has(DesignCode::RemezNoConvergence);
    bool finite = true;
    for (const DesignNote& note : outcome.notes) {
        if (note.code == DesignCode::NonFiniteTaps) {
            finite = false;
            continue;
        }
        MessageBox(DesignMessage(note));
    }
    if (outcome.scaled) {
        m_dIRPeak = outcome.irPeak;
        m_dGain = outcome.gain;
        m_dIRScale = m_dGain;
        m_strIRScale = ScaleText(m_dGain);
        UpdateData(false);
    }
    // A design must never show or export a tap that is not a number.
    if (!finite) {
        MessageBox(kMsgTapsNotFinite);
        return;
    }
    if (!outcome.valid)
        return;
    ShowResponse(m_Coeffs.m_nCount, outcome.spectrumLength);
    m_bDesignValid = 1;
    m_design = std::move(value);
    ++m_nDesignsShown;
}
