#include "form/CMethodDlg.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "design/DesignMessages.h"
#include "design/MethodDesign.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "platform/TextFormat.h"

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
        {kStatic, K::Static, "Gain (not scaled)", kLabelX, 194, 90, 8},
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

MethodChoice CMethodDlg::Choice() const
{
    // Fields beyond what an int holds are out of range anyway; clamping
    // keeps them so (and the conversion defined).
    auto whole = [](unsigned v) { return static_cast<int>(std::min(v, 1000000u)); };
    MethodChoice c;
    if (m_nMethod == kPulse) {
        c.method = MethodChoice::Method::Pulse;
        c.pulse.shape = static_cast<PulseShape>(std::clamp(m_nPulse, 0, 2));
        const double x = method_dlg::NumberOf(m_strRolloff);
        if (c.pulse.shape == PulseShape::Gaussian)
            c.pulse.bt = x;
        else
            c.pulse.rolloff = x;
        c.pulse.sps = whole(m_nSps);
        c.pulse.span = whole(m_nSpan);
        c.pulse.normalisation = m_nPulseGain == 1 ? PulseNormalisation::UnitDcGain : PulseNormalisation::UnitEnergy;
        return c;
    }
    c.method = m_nMethod == kRemez ? MethodChoice::Method::Remez : MethodChoice::Method::LeastSquares;
    c.minimumPhase = m_bMinPhase == 1;
    if (m_nShape == kCicCompensation)
        c.shape = {ShapeKind::CicInverse, whole(m_nCicDecimation), whole(m_nCicDelay), whole(m_nCicStages)};
    else if (m_nShape == kInverseSinc)
        c.shape.kind = ShapeKind::InverseSinc;
    return c;
}

void CMethodDlg::Load(const MethodChoice& c)
{
    if (c.method == MethodChoice::Method::Pulse) {
        m_nMethod = kPulse;
        m_nPulse = static_cast<int>(c.pulse.shape);
        const double x = c.pulse.shape == PulseShape::Gaussian ? c.pulse.bt : c.pulse.rolloff;
        m_strRolloff = FormatText("%g", x);
        m_nSps = static_cast<unsigned>(c.pulse.sps);
        m_nSpan = static_cast<unsigned>(c.pulse.span);
        m_nPulseGain = c.pulse.normalisation == PulseNormalisation::UnitDcGain ? 1 : 0;
        return;
    }
    m_nMethod = c.method == MethodChoice::Method::Remez ? kRemez : kLeastSquares;
    m_bMinPhase = c.minimumPhase ? 1 : 0;
    switch (c.shape.kind) {
    case ShapeKind::None:
        m_nShape = kFlat;
        break;
    case ShapeKind::CicInverse:
        m_nShape = kCicCompensation;
        m_nCicDecimation = static_cast<unsigned>(c.shape.decimation);
        m_nCicDelay = static_cast<unsigned>(c.shape.delay);
        m_nCicStages = static_cast<unsigned>(c.shape.stages);
        break;
    case ShapeKind::InverseSinc:
        m_nShape = kInverseSinc;
        break;
    }
}

void CMethodDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    FormDesign design;
    design.fields.filterType = m_nFilterType;
    design.method = Choice();
    // Least squares takes no shape (the lists offer the two together).
    if (design.method->method == MethodChoice::Method::LeastSquares && design.method->shape.kind != ShapeKind::None) {
        MessageBox(kMsgShapeNotSupported);
        return;
    }
    // The same checks the design makes, before the band table is asked for.
    if (const std::optional<DesignNote> refusal = ValidateMethodRequest(*RequestOf(design))) {
        MessageBox(DesignMessage(*refusal));
        return;
    }
    EndDialog(IDOK);
}
