#include "form/CRateChangeDlg.h"

#include <algorithm>
#include <iterator>

#include "design/RequirementSearch.h"
#include "dsp/HalfbandDesign.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/TextFormat.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace rate_change_dlg {

constexpr int kStatic = -1;
constexpr int kLabelX = 12;
constexpr int kFieldX = 100;
constexpr int kEditWidth = 45;
constexpr int kUnitX = kFieldX + kEditWidth + 4;

inline constexpr const char* kFormatNames[] = {"none (double)", "Q7", "Q15", "Q31"};

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CRateChangeDlg;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Rate Change";
    t.cx = 236;
    t.cy = 238;
    t.controls = {
        {kStatic, K::Static, "Rate change", kLabelX, 12, 80, 8},
        {D::IDC_RATE_KIND, K::DropDownList, "", kFieldX, 10, 96, 50, StyleNone,
         {"Decimation", "Interpolation", "Half-band (by 2)"}},
        {kStatic, K::Static, "Factor (2 .. 64)", kLabelX, 30, 80, 8},
        {D::IDC_RATE_FACTOR, K::Edit, "", kFieldX, 28, kEditWidth, 14, number},
        {kStatic, K::Static, "High sampling rate", kLabelX, 48, 80, 8},
        {D::IDC_RATE_FS, K::Edit, "", kFieldX, 46, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kUnitX, 48, 12, 8},
        {kStatic, K::Static, "Pass-band edge", kLabelX, 66, 80, 8},
        {D::IDC_RATE_PASS, K::Edit, "", kFieldX, 64, kEditWidth, 14, number},
        {kStatic, K::Static, "Hz", kUnitX, 66, 12, 8},
        {kStatic, K::Static, "Taps", kLabelX, 84, 80, 8},
        {D::IDC_RATE_TAPS, K::Edit, "", kFieldX, 82, kEditWidth, 14, number},
        {kStatic, K::Static, "(half-band: 4k + 3)", kUnitX, 84, 80, 8},
        {D::IDC_RATE_ALIAS, K::CheckBox, "Alias bands only (fewer taps)", kLabelX, 102, 160, 10, StyleAuto},
        {kStatic, K::GroupBox, "Design to requirement", 6, 118, 224, 92},
        {D::IDC_RATE_TO_SPEC, K::CheckBox, "Find the fewest taps (the taps above are not used)", kLabelX, 132, 210,
         10, StyleAuto},
        {kStatic, K::Static, "Pass-band ripple", kLabelX, 150, 85, 8},
        {D::IDC_RATE_RIPPLE, K::Edit, "", kFieldX, 148, kEditWidth, 14, StyleRight},
        {kStatic, K::Static, "dB", kUnitX, 150, 12, 8},
        {kStatic, K::Static, "Stop-band attenuation", kLabelX, 168, 85, 8},
        {D::IDC_RATE_ATTENUATION, K::Edit, "", kFieldX, 166, kEditWidth, 14, StyleRight},
        {kStatic, K::Static, "dB", kUnitX, 168, 12, 8},
        {kStatic, K::Static, "Fixed-point taps", kLabelX, 188, 85, 8},
        {D::IDC_RATE_FORMAT, K::DropDownList, "", kFieldX, 186, 80, 60, StyleNone,
         {std::begin(kFormatNames), std::end(kFormatNames)}},
        {IDCANCEL, K::PushButton, "Cancel", kLabelX, 218, 50, 14},
        {IDOK, K::DefPushButton, "OK", 174, 218, 50, 14},
    };
    return t;
}

}  // namespace rate_change_dlg

CRateChangeDlg::CRateChangeDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CRateChangeDlg::GetTemplate() const
{
    static const DialogTemplate dialog = rate_change_dlg::MakeTemplate();
    return &dialog;
}

void CRateChangeDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, IDC_RATE_KIND, m_nKind);
    DDX_Text(dx, IDC_RATE_FACTOR, m_nFactor);
    DDX_Text(dx, IDC_RATE_FS, m_nSamplingRate);
    DDX_Text(dx, IDC_RATE_PASS, m_nPassEdge);
    DDX_Text(dx, IDC_RATE_TAPS, m_nTaps);
    DDX_Check(dx, IDC_RATE_ALIAS, m_bAliasBands);
    DDX_Check(dx, IDC_RATE_TO_SPEC, m_bToSpec);
    DDX_Text(dx, IDC_RATE_RIPPLE, m_strRipple);
    DDV_MaxChars(dx, m_strRipple, 8);
    DDX_Text(dx, IDC_RATE_ATTENUATION, m_strAttenuation);
    DDV_MaxChars(dx, m_strAttenuation, 8);
    DDX_CBIndex(dx, IDC_RATE_FORMAT, m_nFormat);
}

bool CRateChangeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_RippleEdit.SubclassDlgItem(IDC_RATE_RIPPLE, *this);
    m_AttenuationEdit.SubclassDlgItem(IDC_RATE_ATTENUATION, *this);
    return true;
}

int CRateChangeDlg::BandTable(RemezBand (&table)[kBandCount]) const
{
    return MultirateRemezTable(static_cast<int>(m_nFactor), static_cast<int>(m_nSamplingRate), m_nPassEdge,
                               m_bAliasBands != 0, 1.0, table);
}

FormDesign CRateChangeDlg::Design(int gridDensity) const
{
    // Fields beyond what an int holds are refused by OK anyway; clamping
    // keeps the conversion defined.
    auto whole = [](unsigned v) { return static_cast<int>(std::min(v, 100000000u)); };
    FormDesign d;
    d.fields = NewDocumentFields();
    SetRateChangeDefaults(d.fields);
    d.fields.samplingRate = whole(m_nSamplingRate);
    d.fields.firstCorner = whole(m_nPassEdge);
    d.fields.taps = whole(m_nTaps);
    d.fields.gridDensity = gridDensity;
    const bool halfband = m_nKind == kHalfband;
    RateChange& r = d.rateChange.emplace();
    r.kind = halfband ? RateChangeKind::Halfband
             : m_nKind == kInterpolation ? RateChangeKind::Interpolate
                                         : RateChangeKind::Decimate;
    r.factor = halfband ? 2 : whole(m_nFactor);
    r.aliasBands = !halfband && m_bAliasBands != 0;
    return d;
}

std::optional<QuantSpec> CRateChangeDlg::Format() const
{
    if (m_nFormat < 1 || m_nFormat > 3)
        return std::nullopt;
    return ParseQuantFormat(rate_change_dlg::kFormatNames[m_nFormat]);
}

RateChangeRequirement CRateChangeDlg::Requirement() const
{
    RateChangeRequirement r;
    r.passRippleDb = TextToDouble(m_strRipple);
    r.aliasAttenuationDb = TextToDouble(m_strAttenuation);
    r.quantize = Format();
    return r;
}

RateChangeFields CRateChangeDlg::Fields() const
{
    return {m_nKind, m_nFactor, m_bAliasBands, m_bToSpec, m_strRipple, m_strAttenuation, m_nFormat};
}

void CRateChangeDlg::Load(const RateChangeFields& f)
{
    m_nKind = f.kind;
    m_nFactor = f.factor;
    m_bAliasBands = f.aliasBands;
    m_bToSpec = f.toSpec;
    m_strRipple = f.ripple;
    m_strAttenuation = f.attenuation;
    m_nFormat = f.format;
}

void CRateChangeDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    const bool halfband = m_nKind == kHalfband;
    switch (CheckMultirate(halfband ? 2 : static_cast<int>(m_nFactor), m_nSamplingRate, m_nPassEdge)) {
    case MultirateStatus::BadFactor:
        MessageBox("The factor must be 2 .. 64.");
        return;
    case MultirateStatus::BadRate:
        MessageBox("The sampling rate must be above 0 Hz.");
        return;
    case MultirateStatus::BadPassEdge:
        MessageBox("The pass-band edge must lie above 0 Hz and below fs / (2 x factor).");
        return;
    case MultirateStatus::Ok:
        break;
    }
    if (m_bToSpec) {
        const RateChangeRequirement r = Requirement();
        if (!(r.passRippleDb > 0.0) || !(*r.aliasAttenuationDb > 0.0)) {
            MessageBox(kMsgSpecLimits);
            return;
        }
    } else if (halfband && !IsHalfbandTaps(static_cast<int>(std::min(m_nTaps, 100000u)))) {
        MessageBox(HalfbandTapsMessage(static_cast<int>(std::min(m_nTaps, 100000u))));
        return;
    } else if (m_nTaps < 4 || m_nTaps > 1025) {
        MessageBox("The number of taps must be 4 .. 1025.");
        return;
    }
    EndDialog(IDOK);
}
