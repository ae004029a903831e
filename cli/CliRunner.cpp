#include "cli/CliRunner.h"

#include <chrono>
#include <ostream>

#include "form/FormTemplate.h"
#include "form/COutfileDlg.h"
#include "document/CZantroDoc.h"
#include "form/ExportCommand.h"
#include "form/FileCommands.h"
#include "plot/PlotAxes.h"
#include "form/CDifferentiatorDlg.h"
#include "form/CKaiserShapeDlg.h"
#include "form/CRemezDlg.h"
#include "form/CStopbandAttDlg.h"
#include "form/CVarianceDlg.h"
#include "form/DesignToRequirementCommand.h"
#include "cli/RequirementOptions.h"
#include "platform/DataExchange.h"

CliRunner::CliRunner(std::ostream& messages) : m_messages(messages)
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
    NewDocument(m_doc, m_view);
}

void CliRunner::RunCommands(const CliOptions& o)
{
    if (o.docPath && !OpenDocument(m_doc, m_view, *o.docPath)) {
        m_bFailed = true;
        return;
    }
    // A document holding a design beyond its fields was designed as stored
    // when it opened; Design would make the nearest design of its fields.
    const CFilPar& opened = m_doc.m_FilPar;
    const bool designedAsStored = o.docPath && opened.m_Extension && opened.m_Extension->request && !ChangesForm(o);
    if (o.preset) {
        // A preset the combo cannot take is refused with its messages.
        const size_t messages = m_host.Messages().size();
        ChoosePreset(*o.preset);
        if (m_host.Messages().size() != messages)
            m_bFailed = true;
    }
    Enter(o);
    AnswerBands(o);
    m_view.m_WordRequest = WordRequestOf(o);
    // A failed Read File ends the run as a failed open does: designing
    // from the points held before would pass for a design of the file.
    if (o.inputFile && !ReadFile(*o.inputFile))
        return;
    if (o.windowOnly)
        Run(ID_EXTRAS_WINDOW);
    else if (o.toSpec)
        DesignToSpec(o);
    else if (designedAsStored)
        m_bDesignRan = !o.noDesign;
    else if (!o.noDesign)
        Run(IDC_DESIGN);
    if (o.fewestBits)
        RunFewestBits(o);
    if (o.makeRoot)
        MakeFile(o);
    if (o.exportRequest.profile)
        Export(o);
    if (o.savePath && !SaveDocument(m_doc, m_view, CZantroDoc::WithDefaultExtension(*o.savePath)))
        m_bFailed = true;
}

bool CliRunner::ChangesForm(const CliOptions& o)
{
    return o.preset || o.filterType || o.designMethod || o.windowType || o.irScaling || o.taps || o.samplingRate ||
           o.firstCorner || o.secondCorner || o.scale || o.sinXComp || o.stopbandAtt || o.shapeFactor ||
           o.diffGain || o.variance || !o.bands.empty() || o.gridDensity || o.inputFile || o.windowOnly || o.toSpec;
}

void CliRunner::DesignToSpec(const CliOptions& o)
{
    SpecRequest request;
    int fs = 0;
    request.requirement = RequirementOf(o, ParseInt(m_host.GetDlgItemText(m_view, IDC_SAMPLING_RATE), fs) ? fs : 0);
    request.designMethod = o.designMethod.value_or(DM_SINC);
    request.quantize = o.specQuantize;
    request.chooseWords = o.optimizeWords;
    unsigned grid = 0;
    if (o.gridDensity && ParseUInt(*o.gridDensity, grid))
        request.gridDensity = static_cast<int>(grid);
    if (const char* refusal = RefusalOf(request)) {
        m_view.MessageBox(refusal);
        m_bFailed = true;
        return;
    }
    // The form's own refusal of its scaling, which no N changes.
    if (const std::optional<std::string> refusal = SeedRefusal(request, SeedOf(m_view))) {
        m_view.MessageBox(*refusal);
        m_bFailed = true;
        return;
    }
    m_specRequest = request;
    m_specResult = FindSpecDesign(request, SeedOf(m_view));
    std::string text = SpecOutcomeText(request, *m_specResult);
    if (m_specResult->search.status == SpecSearchStatus::Met) {
        FillForm(m_view, m_specResult->setting);
        Run(IDC_DESIGN);
        if (!FormShowsFound(m_view, *m_specResult)) {
            text += '\n';
            text += kMsgSpecFormDiffers;
            m_bFailed = true;
        } else {
            m_view.SetShownRequirement(request.requirement);
        }
    } else {
        m_bFailed = true;
    }
    m_view.MessageBox(text);
}

void CliRunner::AnswerBands(const CliOptions& o)
{
    // Without bands or grid the band dialog is accepted as it loads.
    if (o.bands.empty() && !o.gridDensity)
        return;
    using Action = ScriptedHost::Action;
    std::vector<Action> actions;
    const RemezBand* current = m_doc.m_FilPar.m_Bands;
    for (int row = 0; row < CRemezDlg::kRows; ++row) {
        const bool wanted = o.bands.empty() ? current[row].m_bUse != 0 : row < static_cast<int>(o.bands.size());
        // The Use check box toggles with each click.
        if (wanted != (current[row].m_bUse != 0))
            actions.push_back({Action::Click, CRemezDlg::UseId(row), {}});
        if (row < static_cast<int>(o.bands.size())) {
            const CliOptions::Band& b = o.bands[static_cast<size_t>(row)];
            actions.push_back({Action::Type, CRemezDlg::LowerEdgeId(row), b.lower});
            actions.push_back({Action::Type, CRemezDlg::UpperEdgeId(row), b.upper});
            actions.push_back({Action::Type, CRemezDlg::ValueId(row), b.value});
            actions.push_back({Action::Type, CRemezDlg::WeightId(row), b.weight});
        }
    }
    if (o.gridDensity)
        actions.push_back({Action::Type, CRemezDlg::IDC_GRID_DENSITY, *o.gridDensity});
    m_host.QueueDialog(CRemezDlg::IDD, std::move(actions));
}

bool CliRunner::ReadFile(const std::string& path)
{
    const size_t messages = m_host.Messages().size();
    m_host.QueueOpenFile(path);
    m_host.Click(m_view, IDC_READ_FILE);
    const bool read = m_host.Messages().size() == messages;
    if (!read)
        m_bFailed = true;
    return read;
}

void CliRunner::ChoosePreset(const std::string& preset)
{
    const int count = static_cast<int>(std::size(kTargetFilterNames));
    for (int i = 0; i < count; ++i)
        if (preset == kTargetFilterNames[i] || preset == std::to_string(i)) {
            m_host.SelectEntry(m_view, IDC_TARGET_FILTER, i);
            return;
        }
    // Anything else is typed into the combo's edit field, which selects no
    // entry; the form hears of it as of a selection change.
    m_host.TypeText(m_view, IDC_TARGET_FILTER, preset);
    m_view.OnSelChange(IDC_TARGET_FILTER);
}

void CliRunner::MakeFile(const CliOptions& o)
{
    using Action = ScriptedHost::Action;
    std::vector<Action> actions = {{Action::Type, COutfileDlg::IDC_ROOT, *o.makeRoot}};
    if (o.outExt)
        actions.push_back({Action::Select, COutfileDlg::IDC_EXTENSION, {}, *o.outExt});
    if (o.numFormat)
        actions.push_back({Action::Select, COutfileDlg::IDC_NUMBER_FORMAT, {}, *o.numFormat});
    m_host.QueueDialog(COutfileDlg::IDD, std::move(actions));
    // Make File shows no message on success: any message or refusal is a failure.
    const size_t messages = m_host.Messages().size();
    const size_t statusTexts = m_host.StatusTexts().size();
    const int refused = m_host.RefusedDialogs();
    m_host.Click(m_view, IDC_MAKE_FILE);
    if (m_host.Messages().size() != messages || m_host.RefusedDialogs() != refused)
        m_bFailed = true;
    if (m_host.StatusTexts().size() != statusTexts)
        m_messages << m_host.StatusTexts().back() << '\n';
}

void CliRunner::RunFewestBits(const CliOptions& o)
{
    if (m_view.m_bDesignValid != 1 || m_view.m_nTaps != m_view.m_Coeffs.m_nCount)
        return;
    std::vector<double> taps;
    for (int i = 0; i < m_view.m_nTaps; ++i)
        taps.push_back(m_view.m_Coeffs.GetValue(i, 0));
    m_fewestBits = FewestBitsFor(o, taps, m_view.m_nSamplingRate);
    m_messages << m_fewestBits->message << '\n';
    if (m_fewestBits->chosen.status != WordLengthStatus::Met)
        m_bFailed = true;
    else if (m_view.m_WordRequest)
        m_view.m_WordRequest->format = m_fewestBits->chosen.words.words.quantSpec;
}

void CliRunner::Export(const CliOptions& o)
{
    // "Wrote ..." as Make File prints it: the status text the command leaves.
    const size_t statusTexts = m_host.StatusTexts().size();
    ExportRequest request = o.exportRequest;
    if (m_fewestBits && m_fewestBits->chosen.status == WordLengthStatus::Met)
        request.wordLength = m_fewestBits->chosen.bits;
    if (!ExportDesignFiles(m_view, ExportOptionsOf(request, o.analysis.quantize.rounding)))
        m_bFailed = true;
    else if (m_host.StatusTexts().size() != statusTexts)
        m_messages << m_host.StatusTexts().back() << '\n';
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

    Answer(CStopbandAttDlg::IDD, CStopbandAttDlg::IDC_ATT_EDIT, o.stopbandAtt);
    Answer(CKaiserShapeDlg::IDD, CKaiserShapeDlg::IDC_SHAPE_EDIT, o.shapeFactor);
    AnswerGain(o.diffGain);
    Answer(CVarianceDlg::IDD, CVarianceDlg::IDC_VARIANCE_EDIT, o.variance);
}

void CliRunner::Run(int commandId)
{
    m_bDesignRan = true;
    const auto start = std::chrono::steady_clock::now();
    m_host.Click(m_view, commandId);
    const auto stop = std::chrono::steady_clock::now();
    m_dCommandSeconds = std::chrono::duration<double>(stop - start).count();
}

int CliRunner::ExitStatus() const
{
    if (m_bFailed || m_host.RefusedDialogs() != 0)
        return 1;
    return !m_bDesignRan || m_view.m_bDesignValid == 1 ? 0 : 1;
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
        m_host.QueueDialog(CDifferentiatorDlg::IDD, {{Action::Click, CDifferentiatorDlg::IDC_GAIN_PI, {}}});
    else if (key == "pi/2")
        m_host.QueueDialog(CDifferentiatorDlg::IDD, {{Action::Click, CDifferentiatorDlg::IDC_GAIN_HALF_PI, {}}});
    else if (key == "1")
        m_host.QueueDialog(CDifferentiatorDlg::IDD, {{Action::Click, CDifferentiatorDlg::IDC_GAIN_ONE, {}}});
    else
        m_host.QueueDialog(CDifferentiatorDlg::IDD, {{Action::Click, CDifferentiatorDlg::IDC_GAIN_OTHER, {}},
                                                          {Action::Type, CDifferentiatorDlg::IDC_GAIN_EDIT, *gain}});
}
