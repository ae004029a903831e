#include "form/CRemezDlg.h"

#include <cmath>
#include <string>

#include "document/CFilPar.h"
#include "platform/DataExchange.h"
#include "platform/DialogTemplate.h"
#include "form/RemezMessages.h"

// This dialog's constants and helpers, apart from the other dialogs' (the
// library compiles several dialogs in one translation unit).
namespace remez_dlg {

constexpr int kStatic = -1;
constexpr unsigned kMaxEdge = 10000000;
constexpr unsigned kMinGridDensity = 8;
constexpr unsigned kMaxGridDensity = 64;
constexpr int kMaxNumberChars = 8;

// Column positions in dialog units.
constexpr int kLabelX = 14;
constexpr int kUseX = 40;
constexpr int kLowerX = 64;
constexpr int kUpperX = 122;
constexpr int kValueX = 180;
constexpr int kWeightX = 238;
constexpr int kEditWidth = 52;
constexpr int kFirstRowY = 40;
constexpr int kRowStep = 20;

DialogTemplate MakeTemplate()
{
    using K = ControlKind;
    using D = CRemezDlg;
    const unsigned number = StyleDigitsOnly | StyleRight;
    DialogTemplate t;
    t.id = D::IDD;
    t.caption = "Remez Exchange Parameters";
    t.cx = 304;
    t.cy = 237;
    t.controls = {
        {kStatic, K::Static, "Band", kLabelX - 4, 12, 20, 8},
        {kStatic, K::Static, "Use", kUseX, 12, 16, 8},
        {kStatic, K::Static, "Lower Edge", kLowerX, 12, kEditWidth, 8},
        {kStatic, K::Static, "Upper Edge", kUpperX, 12, kEditWidth, 8},
        {kStatic, K::Static, "Value", kValueX, 12, kEditWidth, 8},
        {kStatic, K::Static, "Weight", kWeightX, 12, kEditWidth, 8},
        {kStatic, K::Static, "Hz", kLowerX, 24, kEditWidth, 8},
        {kStatic, K::Static, "Hz", kUpperX, 24, kEditWidth, 8},
        {kStatic, K::Static, "0.00 - 1.00", kValueX, 24, kEditWidth, 8},
        {kStatic, K::Static, "1.00 - 100.00", kWeightX, 24, kEditWidth, 8},
    };
    for (int row = 0; row < D::kRows; ++row) {
        const int y = kFirstRowY + kRowStep * row;
        t.controls.push_back({kStatic, K::Static, std::to_string(row + 1), kLabelX, y + 3, 10, 8});
        t.controls.push_back({D::UseId(row), K::CheckBox, "", kUseX + 2, y + 2, 10, 10, StyleAuto});
        t.controls.push_back({D::LowerEdgeId(row), K::Edit, "", kLowerX, y, kEditWidth, 14, number});
        t.controls.push_back({D::UpperEdgeId(row), K::Edit, "", kUpperX, y, kEditWidth, 14, number});
        t.controls.push_back({D::ValueId(row), K::Edit, "", kValueX, y, kEditWidth, 14, StyleRight});
        t.controls.push_back({D::WeightId(row), K::Edit, "", kWeightX, y, kEditWidth, 14, StyleRight});
    }
    t.controls.push_back({kStatic, K::Static, "Grid Density", 10, 213, 44, 8});
    t.controls.push_back({D::IDC_GRID_DENSITY, K::Edit, "", 58, 210, 30, 14, number});
    t.controls.push_back({IDCANCEL, K::PushButton, "Cancel", 180, 210, 52, 14});
    t.controls.push_back({IDOK, K::DefPushButton, "OK", 238, 210, 52, 14});
    return t;
}

void DDV_MinMaxUInt(CDataExchange& dx, unsigned value, unsigned minValue, unsigned maxValue)
{
    if (dx.m_bFailed || !dx.m_bSaveAndValidate)
        return;
    if (value < minValue || value > maxValue)
        dx.Fail(FillPlaceholders(kMsgIntRange, {std::to_string(minValue), std::to_string(maxValue)}));
}

}  // namespace remez_dlg

CRemezDlg::CRemezDlg(CWnd* parent) : CDialog(parent)
{
    for (int row = 0; row < kRows; ++row) {
        m_bUse[row] = 0;
        m_nLowerEdge[row] = 0;
        m_nUpperEdge[row] = 0;
        m_strValue[row] = "0.00";
        m_dValue[row] = 0.0;
        m_strWeight[row] = "0.00";
        m_dWeight[row] = 0.0;
    }
    m_nFilterType = 0;
    m_nGridDensity = 0;
    m_nSamplingRate = 0;
}

const DialogTemplate* CRemezDlg::GetTemplate() const
{
    static const DialogTemplate dialog = remez_dlg::MakeTemplate();
    return &dialog;
}

void CRemezDlg::DoDataExchange(CDataExchange& dx)
{
    for (int row = 0; row < kRows; ++row) {
        DDX_Check(dx, UseId(row), m_bUse[row]);
        DDX_Text(dx, LowerEdgeId(row), m_nLowerEdge[row]);
        remez_dlg::DDV_MinMaxUInt(dx, m_nLowerEdge[row], 0, remez_dlg::kMaxEdge);
        DDX_Text(dx, UpperEdgeId(row), m_nUpperEdge[row]);
        remez_dlg::DDV_MinMaxUInt(dx, m_nUpperEdge[row], 0, remez_dlg::kMaxEdge);
        DDX_Text(dx, ValueId(row), m_strValue[row]);
        DDV_MaxChars(dx, m_strValue[row], remez_dlg::kMaxNumberChars);
        DDX_Text(dx, WeightId(row), m_strWeight[row]);
        DDV_MaxChars(dx, m_strWeight[row], remez_dlg::kMaxNumberChars);
    }
    DDX_Text(dx, IDC_GRID_DENSITY, m_nGridDensity);
    remez_dlg::DDV_MinMaxUInt(dx, m_nGridDensity, remez_dlg::kMinGridDensity, remez_dlg::kMaxGridDensity);
}

bool CRemezDlg::OnInitDialog()
{
    for (int row = 0; row < kRows; ++row) {
        m_strValue[row] = FormatText("%4.3f", m_dValue[row]);
        m_strWeight[row] = FormatText("%4.2f", m_dWeight[row]);
    }
    CDialog::OnInitDialog();
    for (int row = 0; row < kRows; ++row) {
        m_ValueEdit[row].SubclassDlgItem(ValueId(row), *this);
        m_WeightEdit[row].SubclassDlgItem(WeightId(row), *this);
    }
    GotoDlgCtrl(LowerEdgeId(0));
    return false;
}

void CRemezDlg::OnOK()
{
    // A field that does not read has shown its message and holds the
    // focus; checking the bands against half-read fields would only add a
    // second, misleading message.
    if (!UpdateData(true))
        return;
    if (!ValidateBands())
        return;
    CDialog::OnOK();
}

bool CRemezDlg::Refuse(const char* text, int id)
{
    MessageBox(text);
    GotoDlgCtrl(id);
    return false;
}

bool CRemezDlg::ValidateBands()
{
    const unsigned half = m_nSamplingRate / 2;
    unsigned previous = 0;
    int bands = 0;
    for (int row = 0; row < kRows; ++row) {
        if (m_bUse[row] != 1)
            continue;
        ++bands;
        if (m_nLowerEdge[row] > half)
            return Refuse(kMsgEdgeAboveHalf, LowerEdgeId(row));
        if (m_nLowerEdge[row] < previous)
            return Refuse(kMsgEdgeOrder, LowerEdgeId(row));
        if (m_nUpperEdge[row] > half)
            return Refuse(kMsgEdgeAboveHalf, UpperEdgeId(row));
        if (m_nUpperEdge[row] < m_nLowerEdge[row])
            return Refuse(kMsgEdgeOrder, UpperEdgeId(row));
        previous = m_nUpperEdge[row];
        if (m_nUpperEdge[row] == m_nLowerEdge[row])
            return Refuse(kMsgEdgesEqual, UpperEdgeId(row));

        // The bounds are written so that a "nan" loaded from a document is refused too.
        const double value = TextToDouble(m_strValue[row]);
        if (m_nFilterType == FT_DIFFERENTIATOR) {
            if (!(value >= 0.1 && value <= 3.2))
                return Refuse(kMsgDiffValueRange, ValueId(row));
        } else if (!(value >= 0.0 && value <= 1.0)) {
            return Refuse(kMsgValueRange, ValueId(row));
        }
        m_dValue[row] = value;

        // A weight beyond 1.00 .. 100.00 that the table already held (Design
        // to Requirement keeps the true ratio of the deviations) stays as
        // loaded while its text is untouched; a typed weight keeps the range.
        const double weight = TextToDouble(m_strWeight[row]);
        const bool loaded = m_dWeight[row] > 0.0 && std::isfinite(m_dWeight[row]) &&
                            m_strWeight[row] == FormatText("%4.2f", m_dWeight[row]);
        if (loaded && !(weight >= 1.0 && weight <= 100.0))
            continue;
        if (!(weight >= 1.0 && weight <= 100.0))
            return Refuse(kMsgWeightRange, WeightId(row));
        m_dWeight[row] = weight;
    }
    if (bands == 0) {
        MessageBox(kMsgNoBand);
        return false;
    }
    return true;
}

void CRemezDlg::LoadBands(const RemezBand* bands, int gridDensity, int samplingRate)
{
    for (int row = 0; row < kRows; ++row) {
        m_bUse[row] = bands[row].m_bUse;
        m_nLowerEdge[row] = static_cast<unsigned>(bands[row].m_nLowerEdge);
        m_nUpperEdge[row] = static_cast<unsigned>(bands[row].m_nUpperEdge);
        m_dValue[row] = bands[row].m_dValue;
        m_dWeight[row] = bands[row].m_dWeight;
    }
    m_nGridDensity = static_cast<unsigned>(gridDensity);
    // A rate below 0 would turn into a huge unsigned one and let any edge pass.
    m_nSamplingRate = samplingRate > 0 ? static_cast<unsigned>(samplingRate) : 0u;
}

void CRemezDlg::StoreBands(RemezBand* bands, int& gridDensity) const
{
    for (int row = 0; row < kRows; ++row) {
        bands[row].m_bUse = m_bUse[row];
        bands[row].m_nLowerEdge = static_cast<int>(m_nLowerEdge[row]);
        bands[row].m_nUpperEdge = static_cast<int>(m_nUpperEdge[row]);
        bands[row].m_dValue = m_dValue[row];
        bands[row].m_dWeight = m_dWeight[row];
    }
    gridDensity = static_cast<int>(m_nGridDensity);
}
