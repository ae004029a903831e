#include <utility>

#include "design/DesignValidation.h"
#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
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
    m_MethodRequest.reset();
    m_RateChangeDesign.reset();
    m_nFirType = GetFirType(m_nFilterType, m_nTaps);

    // The method's own refusal; the dialogs' values are asked for below.
    const std::optional<DesignNote> refusal = ValidateRequest(MakeRequest());
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
    const std::optional<DesignNote> refusal = ValidateRequest(MakeRequest());
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

DesignRequest CZantroView::MakeRequest() const
{
    DesignRequest q;
    q.filterType = static_cast<FilterType>(m_nFilterType);
    q.method = static_cast<DesignMethod>(m_nDesignMethod);
    q.window = static_cast<WindowType>(m_nWindowType);
    q.taps = m_nTaps;
    q.samplingRate = m_nSamplingRate;
    q.firstCorner = m_nFirstCorner;
    q.secondCorner = m_nSecondCorner;
    q.kaiserBeta = m_dShapeFactor;
    q.chebyshevAttenuation = m_nStopbandAtt;
    // The dialog has turned the selection into the gain already.
    q.diffGainSelection = DifferentiatorGain::Other;
    q.diffGain = m_dDiffGain;
    q.gaussianVariance = m_dVariance;
    if (m_pDocument) {
        const CFilPar& par = m_pDocument->m_FilPar;
        q.bands.assign(par.m_Bands, par.m_Bands + kBandCount);
        q.gridDensity = par.m_nGridDensity;
        // The band dialog holds typed weights to its range; a weight the
        // requirement search stored at its true ratio passes it untouched.
        q.weightRange = RemezWeightRange::AnyPositive;
        q.hasInputData = par.m_bInputData != 0;
        for (int i = 0; i < par.m_InputData.m_nCount; ++i)
            q.samplingPoints.push_back(par.m_InputData[i]);
    }
    q.scaling = static_cast<IRScaling>(m_nIRScaling);
    q.scale = m_dIRScale;
    q.sinXCompensation = m_bSinXComp == 1;
    // The analysis measures what the form shows when it is asked to.
    q.measure = false;
    return q;
}

void CZantroView::RunDesign()
{
    TakeOutcome(Design(MakeRequest()));
}

void CZantroView::TakeOutcome(DesignOutcome outcome)
{
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
        m_strIRScale = outcome.scaleText;
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
    ++m_nDesignsShown;
}
