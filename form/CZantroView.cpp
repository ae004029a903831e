#include "form/CZantroView.h"

#include <cmath>
#include <new>
#include <optional>
#include <stdexcept>
#include <numbers>

#include "form/DesignMessages.h"
#include "form/DesignSnapshot.h"
#include "form/FormTemplate.h"
#include "document/CZantroDoc.h"
#include "platform/DataExchange.h"

CZantroView::CZantroView()
{
    m_nDesignMethod = 0;
    m_nFilterType = 0;
    m_nWindowType = 2;
    m_nFirstCorner = 1000;
    m_nSamplingRate = 8000;
    m_nSecondCorner = 3000;
    m_nTaps = 129;
    m_nIRScaling = 0;
    m_bSinXComp = 0;
    m_strIRScale = "1.0";
    m_nTargetFilter = 0;
    m_nFirType = 0;
    m_dIRPeak = 1.0;
    m_dGain = 1.0;
    m_nStopbandAtt = 40;
    m_dShapeFactor = 5.0;
    m_dVariance = 1.0;
    m_dDiffGain = std::numbers::pi;
    m_nDiffGainSel = 0;
    m_strOutfile = "Outfile";
    m_nOutExt = 0;
    m_nNumFormat = 1;
    m_dIRScale = 1.0;
    m_bDesignValid = 0;
}

const DialogTemplate* CZantroView::GetTemplate() const
{
    return &ZantroFormTemplate();
}

void CZantroView::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, IDC_DESIGN_METHOD, m_nDesignMethod);
    DDX_CBIndex(dx, IDC_FILTER_TYPE, m_nFilterType);
    DDX_CBIndex(dx, IDC_WINDOW_TYPE, m_nWindowType);
    DDX_Text(dx, IDC_FIRST_CORNER, m_nFirstCorner);
    DDV_MinMaxInt(dx, m_nFirstCorner, 0, 10000000);
    DDX_Text(dx, IDC_SAMPLING_RATE, m_nSamplingRate);
    DDX_Text(dx, IDC_SECOND_CORNER, m_nSecondCorner);
    DDV_MinMaxInt(dx, m_nSecondCorner, 0, 10000000);
    DDX_Text(dx, IDC_TAPS, m_nTaps);
    DDV_MinMaxInt(dx, m_nTaps, 4, 1025);
    DDX_CBIndex(dx, IDC_IR_SCALING, m_nIRScaling);
    DDX_Check(dx, IDC_SINX_COMP, m_bSinXComp);
    DDX_Text(dx, IDC_IR_SCALE, m_strIRScale);
    DDV_MaxChars(dx, m_strIRScale, 8);
    DDX_CBIndex(dx, IDC_TARGET_FILTER, m_nTargetFilter);
    DDV_MinMaxInt(dx, m_nTargetFilter, 0, 255);
}

void CZantroView::OnCommand(int id)
{
    // The one place where the form's commands meet a failure of the
    // platform: memory running out (or a size beyond what a container can
    // hold) ends the command as a refusal does, with its message and the
    // previous design and plots as they were.
    std::optional<DesignSnapshot> before;
    try {
        before.emplace(*this);
        DispatchCommand(id);
        return;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    if (before) {
        before->Restore();
        const std::string caption = before->MagnitudeCaption();
        before.reset();
        SetDlgItemText(IDC_MAGNITUDE_CAPTION, caption);
        for (CPlotWnd* plot : {static_cast<CPlotWnd*>(&m_MagnitudeWnd), static_cast<CPlotWnd*>(&m_PhaseWnd),
                               &m_ImpulseWnd, &m_StepWnd})
            plot->RepaintNow();
    }
    MessageBox(kMsgOutOfMemory);
}

void CZantroView::DispatchCommand(int id)
{
    switch (id) {
    case IDC_DESIGN:
        OnDesign();
        break;
    case IDC_READ_FILE:
        OnReadFile();
        break;
    case IDC_MAKE_FILE:
        OnMakeFile();
        break;
    case IDC_CLOSE:
        OnClose();
        break;
    case ID_EXTRAS_WINDOW:
        OnExtrasWindow();
        break;
    default:
        break;
    }
}

void CZantroView::OnSelChange(int id)
{
    if (id == IDC_TARGET_FILTER)
        OnSelchangeTargetFilter();
}

int CZantroView::OnCreate()
{
    CPlotWnd* plots[] = {&m_MagnitudeWnd, &m_PhaseWnd, &m_ImpulseWnd, &m_StepWnd};
    for (CPlotWnd* plot : plots) {
        plot->SetHost(m_pHost);
        if (plot->OnCreate() != 0)
            return -1;
    }
    return 0;
}

void CZantroView::OnInitialUpdate(bool newDocument)
{
    m_IRScaleEdit.SubclassDlgItem(IDC_IR_SCALE, *this);
    LoadParameters();
    if (newDocument && m_pDocument)
        m_pDocument->m_FilPar.ApplyTargetPreset(m_nTargetFilter, this);
    UpdateData(false);
    UpdateData(false);
}

void CZantroView::OnUpdate()
{
    UpdateData(false);
}

void CZantroView::LoadParameters()
{
    if (!m_pDocument)
        return;
    const CFilPar& p = m_pDocument->m_FilPar;
    m_nDesignMethod = p.m_nDesignMethod;
    m_nFilterType = p.m_nFilterType;
    m_nWindowType = p.m_nWindowType;
    m_nFirstCorner = p.m_nFirstCorner;
    m_nSecondCorner = p.m_nSecondCorner;
    m_nSamplingRate = p.m_nSamplingRate;
    m_nTaps = p.m_nTaps;
    m_nIRScaling = p.m_nIRScaling;
    m_bSinXComp = p.m_bSinXComp;
    m_dIRScale = p.m_dIRScale;
    m_strIRScale = FormatText("%2.2f", m_dIRScale);
    m_nStopbandAtt = p.m_nStopbandAtt;
    m_dShapeFactor = p.m_dShapeFactor;
    m_dVariance = p.m_dVariance;
    m_strOutfile = p.m_strOutfile;
    m_nOutExt = p.m_nOutExt;
    m_nNumFormat = p.m_nNumFormat;
}

void CZantroView::StoreParameters()
{
    // The design of a document just opened shows the file; it changes nothing in it.
    if (!m_pDocument || m_bQuietDesign)
        return;
    CFilPar& p = m_pDocument->m_FilPar;
    p.m_nDesignMethod = m_nDesignMethod;
    p.m_nFilterType = m_nFilterType;
    p.m_nWindowType = m_nWindowType;
    p.m_nFirstCorner = m_nFirstCorner;
    p.m_nSecondCorner = m_nSecondCorner;
    p.m_nSamplingRate = m_nSamplingRate;
    p.m_nTaps = m_nTaps;
    p.m_nIRScaling = m_nIRScaling;
    p.m_bSinXComp = m_bSinXComp;
    p.m_dIRScale = m_dIRScale;
    p.m_nStopbandAtt = m_nStopbandAtt;
    p.m_dShapeFactor = m_dShapeFactor;
    p.m_dVariance = m_dVariance;
    p.m_strOutfile = m_strOutfile;
    p.m_nOutExt = m_nOutExt;
    p.m_nNumFormat = m_nNumFormat;
    // What the fields cannot hold of the design just made goes with them;
    // after an attempt that made none, the fields alone.
    p.m_Extension = m_bDesignValid == 1 && m_design ? ExtensionOf(*m_design) : std::nullopt;
    m_pDocument->SetModifiedFlag(true);
}

void CZantroView::OnClose()
{
    if (m_pHost)
        m_pHost->PostClose();
}
