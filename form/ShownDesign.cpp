#include "form/ShownDesign.h"

#include <iterator>

#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"

namespace {

template <size_t N>
std::string NameOf(const char* const (&names)[N], int index)
{
    if (index >= 0 && static_cast<size_t>(index) < N)
        return names[index];
    std::string text(1, '#');
    text += std::to_string(index);
    return text;
}

}  // namespace

std::string ShownDesign::CaptionOf(const CZantroView& v)
{
    std::string text = NameOf(kFilterTypeNames, v.m_nFilterType) + ", " + std::to_string(v.m_nTaps) + " taps, ";
    const DesignRequest* methodRequest = v.ShownMethodRequest();
    const DesignMethod method = methodRequest ? methodRequest->Method() : static_cast<DesignMethod>(v.m_nDesignMethod);
    if (method == DesignMethod::LeastSquares)
        text += "least squares";
    else if (method == DesignMethod::Pulse)
        text += "pulse shaping";
    else
        text += NameOf(kDesignMethodNames, IndexOf(method));
    const std::optional<MultirateDesign> rate = v.m_design ? RateChangeOf(*v.m_design) : std::nullopt;
    if (rate && rate->kind == MultirateKind::Halfband)
        text += " (half-band)";
    if (!methodRequest && (v.m_nDesignMethod == DM_SINC || v.m_nDesignMethod == DM_DIRECT))
        text += ", " + NameOf(kWindowTypeNames, v.m_nWindowType);
    text += ", fs " + std::to_string(v.m_nSamplingRate) + " Hz, corners " + std::to_string(v.m_nFirstCorner) +
            " and " + std::to_string(v.m_nSecondCorner) + " Hz";
    return text;
}

std::vector<std::string> ShownDesign::FieldsOf(const CZantroView& v)
{
    std::vector<std::string> fields;
    for (int id : {IDC_FILTER_TYPE, IDC_DESIGN_METHOD, IDC_WINDOW_TYPE, IDC_IR_SCALING})
        fields.push_back(std::to_string(v.GetCurSel(id)));
    for (int id : {IDC_TAPS, IDC_SAMPLING_RATE, IDC_FIRST_CORNER, IDC_SECOND_CORNER, IDC_IR_SCALE})
        fields.push_back(v.GetDlgItemText(id));
    fields.push_back(std::to_string(v.IsDlgButtonChecked(IDC_SINX_COMP)));
    return fields;
}

void ShownDesign::SetNotes(CZantroView& v, const std::string& note)
{
    for (CPlotWnd* plot : {static_cast<CPlotWnd*>(&v.m_MagnitudeWnd), static_cast<CPlotWnd*>(&v.m_PhaseWnd),
                           &v.m_ImpulseWnd, &v.m_StepWnd}) {
        if (plot->m_strNote == note)
            continue;
        plot->m_strNote = note;
        plot->RepaintNow();
    }
}

void ShownDesign::Designed(CZantroView& view)
{
    m_fields = FieldsOf(view);
    m_strCaption = CaptionOf(view);
    SetNotes(view, "");
    // The status bar's word that the plots show an earlier design is past.
    if (m_bPreviousSaid) {
        m_bPreviousSaid = false;
        if (Host* host = view.GetHost())
            host->SetStatusText("");
    }
}

void ShownDesign::NotDesigned(CZantroView& view)
{
    if (!Any())
        return;
    SetNotes(view, kPreviousNote);
    if (Host* host = view.GetHost()) {
        host->SetStatusText("The plots show the previous design (" + m_strCaption +
                            "); the form's parameters were not designed.");
        m_bPreviousSaid = true;
    }
}

void ShownDesign::Clear(CZantroView& view)
{
    m_fields.clear();
    m_strCaption.clear();
    SetNotes(view, "");
}

bool ShownDesign::DiffersFromForm(const CZantroView& view) const
{
    return Any() && FieldsOf(view) != m_fields;
}

std::string ShownDesign::WrittenNote(const CZantroView& view) const
{
    return DiffersFromForm(view) ? " (the design on the plots: " + m_strCaption + ")" : std::string();
}
