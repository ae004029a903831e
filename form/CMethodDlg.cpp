#include "form/CMethodDlg.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "design/DesignMessages.h"
#include "design/MethodDesign.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace method_dlg {

constexpr int kStatic = -1;
constexpr int kLabelX = 18;
constexpr int kFieldX = 118;
constexpr int kNumberWidth = 32;

// The whole text as a number; NaN (refused by every range) when it is
// empty or holds anything besides the number.
double NumberOf(const std::string& text)
{
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::numeric_limits<double>::quiet_NaN();
    return v;
}

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CMethodDlg;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "More Methods";
    t.cx = 250;
    t.cy = 238;
    t.controls = {
        {kStatic, K::Static, "Method", 10, 12, 80, 8},
        {D::IDC_MORE_METHOD, K::DropDownList, "", kFieldX, 10, 120, 60, StyleNone,
         {"Least Squares", "Remez Exchange", "Pulse Shaping"}},
        {kStatic, K::GroupBox, "Least Squares and Remez: the Remez band table", 8, 30, 234, 72},
        {D::IDC_MORE_MIN_PHASE, K::CheckBox, "Minimum phase (lowpass, bandpass, bandstop)", kLabelX, 44, 200, 10,
         StyleAuto},
        {kStatic, K::Static, "Pass band (Remez)", kLabelX, 62, 90, 8},
        {D::IDC_MORE_SHAPE, K::DropDownList, "", kFieldX, 60, 112, 60, StyleNone,
         {"Flat", "CIC compensation", "Inverse sinc"}},
        {kStatic, K::Static, "CIC R, M, N", kLabelX, 82, 90, 8},
        {D::IDC_MORE_CIC_R, K::Edit, "", kFieldX, 80, kNumberWidth, 14, number},
        {D::IDC_MORE_CIC_M, K::Edit, "", kFieldX + 40, 80, kNumberWidth, 14, number},
        {D::IDC_MORE_CIC_N, K::Edit, "", kFieldX + 80, 80, kNumberWidth, 14, number},
        {kStatic, K::GroupBox, "Pulse Shaping", 8, 108, 234, 104},
        {kStatic, K::Static, "Pulse", kLabelX, 122, 90, 8},
        {D::IDC_MORE_PULSE, K::DropDownList, "", kFieldX, 120, 112, 60, StyleNone,
         {"Raised Cosine", "Root Raised Cosine", "Gaussian"}},
        {kStatic, K::Static, "Roll-off (Gaussian: BT)", kLabelX, 140, 96, 8},
        {D::IDC_MORE_ROLLOFF, K::Edit, "", kFieldX, 138, kNumberWidth + 8, 14, StyleRight},
        {kStatic, K::Static, "Samples per symbol", kLabelX, 158, 90, 8},
        {D::IDC_MORE_SPS, K::Edit, "", kFieldX, 156, kNumberWidth, 14, number},
        {kStatic, K::Static, "Span (symbols)", kLabelX, 176, 90, 8},
        {D::IDC_MORE_SPAN, K::Edit, "", kFieldX, 174, kNumberWidth, 14, number},
        {kStatic, K::Static, "Gain", kLabelX, 194, 90, 8},
        {D::IDC_MORE_PULSE_GAIN, K::DropDownList, "", kFieldX, 192, 112, 40, StyleNone,
         {"Unit energy", "Unit gain at DC"}},
        {IDCANCEL, K::PushButton, "Cancel", 10, 218, 50, 14},
        {IDOK, K::DefPushButton, "OK", 192, 218, 50, 14},
    };
    return t;
}

}  // namespace method_dlg

CMethodDlg::CMethodDlg(CWnd* parent) : CDialog(parent) {}

const DialogTemplate* CMethodDlg::GetTemplate() const
{
    static const DialogTemplate dialog = method_dlg::MakeTemplate();
    return &dialog;
}

void CMethodDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, IDC_MORE_METHOD, m_nMethod);
    DDX_Check(dx, IDC_MORE_MIN_PHASE, m_bMinPhase);
    DDX_CBIndex(dx, IDC_MORE_SHAPE, m_nShape);
    DDX_Text(dx, IDC_MORE_CIC_R, m_nCicDecimation);
    DDX_Text(dx, IDC_MORE_CIC_M, m_nCicDelay);
    DDX_Text(dx, IDC_MORE_CIC_N, m_nCicStages);
    DDX_CBIndex(dx, IDC_MORE_PULSE, m_nPulse);
    DDX_Text(dx, IDC_MORE_ROLLOFF, m_strRolloff);
    DDX_Text(dx, IDC_MORE_SPS, m_nSps);
    DDX_Text(dx, IDC_MORE_SPAN, m_nSpan);
    DDX_CBIndex(dx, IDC_MORE_PULSE_GAIN, m_nPulseGain);
}

bool CMethodDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_RolloffEdit.SubclassDlgItem(IDC_MORE_ROLLOFF, *this);
    return true;
}

DesignRequest CMethodDlg::Apply(DesignRequest q) const
{
    // Fields beyond what an int holds are out of range anyway; clamping
    // keeps them so (and the conversion defined).
    auto whole = [](unsigned v) { return static_cast<int>(std::min(v, 1000000u)); };
    if (m_nMethod == kPulse) {
        q.method = DesignMethod::Pulse;
        q.filterType = FilterType::Lowpass;
        q.pulse.shape = static_cast<PulseShape>(std::clamp(m_nPulse, 0, 2));
        const double x = method_dlg::NumberOf(m_strRolloff);
        if (q.pulse.shape == PulseShape::Gaussian)
            q.pulse.bt = x;
        else
            q.pulse.rolloff = x;
        q.pulse.sps = whole(m_nSps);
        q.pulse.span = whole(m_nSpan);
        q.pulse.normalisation = m_nPulseGain == 1 ? PulseNormalisation::UnitDcGain : PulseNormalisation::UnitEnergy;
        return q;
    }
    q.method = m_nMethod == kRemez ? DesignMethod::Remez : DesignMethod::LeastSquares;
    q.minimumPhase = m_bMinPhase == 1;
    q.remezShape = ResponseShape{};
    if (m_nShape == kCicCompensation)
        q.remezShape = {ShapeKind::CicInverse, whole(m_nCicDecimation), whole(m_nCicDelay), whole(m_nCicStages)};
    else if (m_nShape == kInverseSinc)
        q.remezShape.kind = ShapeKind::InverseSinc;
    return q;
}

void CMethodDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    DesignRequest q;
    q.filterType = static_cast<FilterType>(m_nFilterType);
    // The same checks the design makes, before the band table is asked for.
    if (const std::optional<DesignNote> refusal = ValidateMethodRequest(Apply(q))) {
        MessageBox(DesignMessage(*refusal));
        return;
    }
    EndDialog(IDOK);
}
