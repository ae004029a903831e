#pragma once

#include <iosfwd>

#include "cli/CliOptions.h"
#include "cli/WordCliOptions.h"
#include "form/CZantroView.h"
#include "form/RequirementDesign.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"

// One headless session of the program: a new document and the main form on
// a scripted host, driven through the form's controls as a user drives them.
// Every message box is written to the message stream as it is shown, and
// so is the status-bar text of Make File (the files written).
class CliRunner {
public:
    explicit CliRunner(std::ostream& messages);
    CliRunner(const CliRunner&) = delete;
    CliRunner& operator=(const CliRunner&) = delete;

    // The program's start: the form is created and initialised for a new
    // document with target filter 0.
    void Start();
    // Types the options into the form's controls and queues the answers of
    // the parameter dialogs that the command may open.
    void Enter(const CliOptions& options);
    // Clicks the command (IDC_DESIGN, ID_EXTRAS_WINDOW, ...) and measures
    // its wall time.
    void Run(int commandId);

    // The whole session in the program's order: open, preset, typed options,
    // Read File, Design or Extras > Window, Make File, Export, save. A failed
    // open or Read File stops it. A document that holds a design beyond its
    // fields keeps the design its open made unless an option changes the form.
    void RunCommands(const CliOptions& options);

    // 0: every command completed (the design command with a valid design)
    // and no dialog refused its answer; 1 otherwise.
    int ExitStatus() const;
    // Wall time of the last Run, seconds.
    double CommandSeconds() const { return m_dCommandSeconds; }

    const ScriptedHost& Host() const { return m_host; }
    const CZantroView& View() const { return m_view; }
    // Painting writes the plots' frame state, so drawing needs the form itself.
    CZantroView& View() { return m_view; }
    const CZantroDoc& Document() const { return m_doc; }
    // The request and outcome of --to-spec; empty without it or when the
    // request was refused.
    const std::optional<SpecRequest>& SpecRequestUsed() const { return m_specRequest; }
    const std::optional<SpecDesignResult>& SpecResult() const { return m_specResult; }
    // --fewest-bits' search on the design's taps; empty without it or
    // without a valid design.
    const std::optional<FewestBitsResult>& FewestBits() const { return m_fewestBits; }

private:
    void Select(int id, const std::optional<int>& index);
    void Type(int id, const std::optional<std::string>& text);
    void Check(int id, bool on);
    void Answer(int templateId, int editId, const std::optional<std::string>& text);
    void AnswerGain(const std::optional<std::string>& gain);
    void ChoosePreset(const std::string& preset);
    void AnswerBands(const CliOptions& options);
    // True when an option types into the form, answers a dialog or runs a
    // command other than Design.
    static bool ChangesForm(const CliOptions& options);
    // False when Read File showed a message (the file was refused).
    bool ReadFile(const std::string& path);
    void MakeFile(const CliOptions& options);
    void Export(const CliOptions& options);
    // --fewest-bits after the design: the search, its message, and the word
    // length the form's chosen words and the export then take.
    void RunFewestBits(const CliOptions& options);
    // --to-spec in place of Design: the search, then the form filled with
    // the N found and Design run; its message is shown like any other.
    void DesignToSpec(const CliOptions& options);

    std::ostream& m_messages;
    ScriptedHost m_host;
    CZantroDoc m_doc;
    CZantroView m_view;
    double m_dCommandSeconds = 0.0;
    bool m_bDesignRan = false;
    bool m_bFailed = false;  // a file command failed
    std::optional<SpecRequest> m_specRequest;
    std::optional<SpecDesignResult> m_specResult;
    std::optional<FewestBitsResult> m_fewestBits;
};
