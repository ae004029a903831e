#include "form/CRequirementDlg.h"

#include "dsp/DesignKinds.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace requirement_dlg {

constexpr int kStatic = -1;
constexpr int kLabelX = 12;
constexpr int kFieldX = 100;
constexpr int kEditWidth = 45;
constexpr int kToX = kFieldX + kEditWidth + 4;
constexpr int kSecondX = kToX + 12;
constexpr int kUnitX = kSecondX + kEditWidth + 4;

inline constexpr const char* kMethodNames[] = {"Kaiser Window", "Remez Exchange"};
inline constexpr const char* kFormatNames[] = {"none (double)", "Q7", "Q15", "Q31"};

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CRequirementDlg;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Design to Requirement";
    t.cx = 240;
    t.cy = 212;
    t.controls = {
        {kStatic, K::Static, "Filter Type", kLabelX, 12, 80, 8},
        {D::IDC_SPEC_TYPE, K::DropDownList, "", kFieldX, 10, 80, 60, StyleNone,
         {kFilterTypeNames[0], kFilterTypeNames[1], kFilterTypeNames[2], kFilterTypeNames[3]}},
        {kStatic, K::Static, "Sampling Rate", kLabelX, 30, 80, 8},
        {D::IDC_SPEC_RATE, K::Edit, "", kFieldX, 28, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kToX, 30, 12, 8},
        {kStatic, K::Static, "First transition", kLabelX, 50, 80, 8},
        {D::IDC_SPEC_EDGE1, K::Edit, "", kFieldX, 48, kEditWidth, 14, number},
        {kStatic, K::Static, "to", kToX, 50, 10, 8},
        {D::IDC_SPEC_EDGE2, K::Edit, "", kSecondX, 48, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kUnitX, 50, 12, 8},
        {kStatic, K::Static, "Second transition\n(bandpass, bandstop)", kLabelX, 66, 85, 18},
        {D::IDC_SPEC_EDGE3, K::Edit, "", kFieldX, 68, kEditWidth, 14, number},
        {kStatic, K::Static, "to", kToX, 70, 10, 8},
        {D::IDC_SPEC_EDGE4, K::Edit, "", kSecondX, 68, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kUnitX, 70, 12, 8},
        {kStatic, K::Static, "Pass-band ripple", kLabelX, 92, 80, 8},
        {D::IDC_SPEC_RIPPLE, K::Edit, "", kFieldX, 90, kEditWidth, 14, StyleRight},
        {kStatic, K::Static, "dB", kToX, 92, 12, 8},
        {kStatic, K::Static, "Stop-band attenuation", kLabelX, 110, 85, 8},
        {D::IDC_SPEC_ATTENUATION, K::Edit, "", kFieldX, 108, kEditWidth, 14, StyleRight},
        {kStatic, K::Static, "dB", kToX, 110, 12, 8},
        {kStatic, K::Static, "Design Method", kLabelX, 130, 80, 8},
        {D::IDC_SPEC_METHOD, K::DropDownList, "", kFieldX, 128, 80, 40, StyleNone,
         {std::begin(kMethodNames), std::end(kMethodNames)}},
        {kStatic, K::Static, "Fixed-point taps", kLabelX, 148, 80, 8},
        {D::IDC_SPEC_FORMAT, K::DropDownList, "", kFieldX, 146, 80, 60, StyleNone,
         {std::begin(kFormatNames), std::end(kFormatNames)}},
        {D::IDC_SPEC_WORDS, K::CheckBox, "Words chosen to meet it, not rounded", kFieldX, 166, 136, 10, StyleAuto},
        {IDCANCEL, K::PushButton, "Cancel", kLabelX, 188, 50, 14},
        {IDOK, K::DefPushButton, "OK", 176, 188, 50, 14},
    };
    return t;
}

}  // namespace requirement_dlg

CRequirementDlg::CRequirementDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CRequirementDlg::GetTemplate() const
{
    static const DialogTemplate dialog = requirement_dlg::MakeTemplate();
    return &dialog;
}

void CRequirementDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, IDC_SPEC_TYPE, m_nFilterType);
    DDX_Text(dx, IDC_SPEC_RATE, m_nSamplingRate);
    for (int i = 0; i < kEdges; ++i)
        DDX_Text(dx, IDC_SPEC_EDGE1 + i, m_nEdge[i]);
    DDX_Text(dx, IDC_SPEC_RIPPLE, m_strRipple);
    DDV_MaxChars(dx, m_strRipple, 8);
    DDX_Text(dx, IDC_SPEC_ATTENUATION, m_strAttenuation);
    DDV_MaxChars(dx, m_strAttenuation, 8);
    DDX_CBIndex(dx, IDC_SPEC_METHOD, m_nMethod);
    DDX_CBIndex(dx, IDC_SPEC_FORMAT, m_nFormat);
    DDX_Check(dx, IDC_SPEC_WORDS, m_nChooseWords);
}

bool CRequirementDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_RippleEdit.SubclassDlgItem(IDC_SPEC_RIPPLE, *this);
    m_AttenuationEdit.SubclassDlgItem(IDC_SPEC_ATTENUATION, *this);
    GotoDlgCtrl(IDC_SPEC_EDGE1);
    return false;
}

SpecRequest CRequirementDlg::Request() const
{
    SpecRequest r;
    r.designMethod = m_nMethod == 1 ? DM_REMEZ : DM_SINC;
    if (m_nFormat >= 1 && m_nFormat <= 3)
        r.quantize = ParseQuantFormat(requirement_dlg::kFormatNames[m_nFormat]);
    r.chooseWords = r.quantize && m_nChooseWords != 0;
    SpecRequirement& req = r.requirement;
    req.fs = m_nSamplingRate;
    const double half = m_nSamplingRate / 2;
    const double ripple = TextToDouble(m_strRipple);
    const double attenuation = TextToDouble(m_strAttenuation);
    const double e[kEdges] = {double(m_nEdge[0]), double(m_nEdge[1]), double(m_nEdge[2]), double(m_nEdge[3])};
    const SpecBand pass = {BandKind::Pass, 0, 0, ripple};
    const SpecBand stop = {BandKind::Stop, 0, 0, attenuation};
    auto band = [](SpecBand b, double lo, double hi) {
        b.loHz = lo;
        b.hiHz = hi;
        return b;
    };
    switch (m_nFilterType) {
    case FT_HIGHPASS:
        req.bands = {band(stop, 0, e[0]), band(pass, e[1], half)};
        break;
    case FT_BANDPASS:
        req.bands = {band(stop, 0, e[0]), band(pass, e[1], e[2]), band(stop, e[3], half)};
        break;
    case FT_BANDSTOP:
        req.bands = {band(pass, 0, e[0]), band(stop, e[1], e[2]), band(pass, e[3], half)};
        break;
    default:
        req.bands = {band(pass, 0, e[0]), band(stop, e[1], half)};
        break;
    }
    return r;
}

void CRequirementDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (const char* refusal = RefusalOf(Request())) {
        MessageBox(refusal);
        return;
    }
    EndDialog(IDOK);
}

RequirementFields CRequirementDlg::Fields() const
{
    RequirementFields f;
    f.filterType = m_nFilterType;
    f.samplingRate = m_nSamplingRate;
    for (int i = 0; i < kEdges; ++i)
        f.edges[static_cast<size_t>(i)] = m_nEdge[i];
    f.ripple = m_strRipple;
    f.attenuation = m_strAttenuation;
    f.method = m_nMethod;
    f.format = m_nFormat;
    f.chooseWords = m_nChooseWords != 0;
    return f;
}

void CRequirementDlg::Load(const RequirementFields& f)
{
    m_nFilterType = f.filterType;
    m_nSamplingRate = f.samplingRate;
    for (int i = 0; i < kEdges; ++i)
        m_nEdge[i] = f.edges[static_cast<size_t>(i)];
    m_strRipple = f.ripple;
    m_strAttenuation = f.attenuation;
    m_nMethod = f.method;
    m_nFormat = f.format;
    m_nChooseWords = f.chooseWords ? 1 : 0;
}
