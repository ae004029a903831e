#include "cli/CliRunner.h"

#include <chrono>
#include <ostream>

#include "plot/PlotAxes.h"

namespace {

// Parameter dialogs and the controls the command line answers them with.
constexpr int kStopbandAttDlg = 131;
constexpr int kStopbandAttEdit = 1034;
constexpr int kKaiserShapeDlg = 132;
constexpr int kKaiserShapeEdit = 1036;
constexpr int kDifferentiatorDlg = 133;
constexpr int kGainPi = 1050;
constexpr int kGainHalfPi = 1155;
constexpr int kGainOne = 1051;
constexpr int kGainOther = 1052;
constexpr int kGainOtherEdit = 1053;
constexpr int kVarianceDlg = 135;
constexpr int kVarianceEdit = 1068;

}  // namespace

CliRunner::CliRunner(std::ostream& messages)
{
    m_host.onMessage = [&messages](const ScriptedHost::Message& m) { messages << m.text << '\n'; };
}

void CliRunner::Start()
{
    // The axis records are program-wide; a session starts from their initial contents.
    ResetPlotAxes();
    m_view.SetHost(&m_host);
    m_view.SetDocument(&m_doc);
    m_host.CreateControls(m_view);
    m_view.OnCreate();
    m_view.OnInitialUpdate();
}

void CliRunner::Enter(const CliOptions& o)
{
    Select(IDC_FILTER_TYPE, o.filterType);
    Select(IDC_DESIGN_METHOD, o.designMethod);
    Select(IDC_WINDOW_TYPE, o.windowType);
    Type(IDC_TAPS, o.taps);
    Type(IDC_SAMPLING_RATE, o.samplingRate);
    Type(IDC_FIRST_CORNER, o.firstCorner);
    Type(IDC_SECOND_CORNER, o.secondCorner);
    Select(IDC_IR_SCALING, o.irScaling);
    Type(IDC_IR_SCALE, o.scale);
    Check(IDC_SINX_COMP, o.sinXComp);

    Answer(kStopbandAttDlg, kStopbandAttEdit, o.stopbandAtt);
    Answer(kKaiserShapeDlg, kKaiserShapeEdit, o.shapeFactor);
    AnswerGain(o.diffGain);
    Answer(kVarianceDlg, kVarianceEdit, o.variance);
}

void CliRunner::Run(int commandId)
{
    const auto start = std::chrono::steady_clock::now();
    m_host.Click(m_view, commandId);
    const auto stop = std::chrono::steady_clock::now();
    m_dCommandSeconds = std::chrono::duration<double>(stop - start).count();
}

int CliRunner::ExitStatus() const
{
    return m_view.m_bDesignValid == 1 && m_host.RefusedDialogs() == 0 ? 0 : 1;
}

void CliRunner::Select(int id, const std::optional<int>& index)
{
    if (index)
        m_host.SelectEntry(m_view, id, *index);
}

void CliRunner::Type(int id, const std::optional<std::string>& text)
{
    if (text)
        m_host.TypeText(m_view, id, *text);
}

void CliRunner::Check(int id, bool on)
{
    // A click toggles the check box, so click only when it shows the other state.
    if (on != (m_host.IsDlgButtonChecked(m_view, id) != 0))
        m_host.Click(m_view, id);
}

void CliRunner::Answer(int templateId, int editId, const std::optional<std::string>& text)
{
    if (text)
        m_host.QueueDialog(templateId, {{ScriptedHost::Action::Type, editId, *text}});
}

void CliRunner::AnswerGain(const std::optional<std::string>& gain)
{
    if (!gain)
        return;
    using Action = ScriptedHost::Action;
    std::string key;
    for (char c : *gain)
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (key == "pi")
        m_host.QueueDialog(kDifferentiatorDlg, {{Action::Click, kGainPi, {}}});
    else if (key == "pi/2")
        m_host.QueueDialog(kDifferentiatorDlg, {{Action::Click, kGainHalfPi, {}}});
    else if (key == "1")
        m_host.QueueDialog(kDifferentiatorDlg, {{Action::Click, kGainOne, {}}});
    else
        m_host.QueueDialog(kDifferentiatorDlg, {{Action::Click, kGainOther, {}}, {Action::Type, kGainOtherEdit, *gain}});
}
