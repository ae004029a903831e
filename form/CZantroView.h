#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design/Design.h"
#include "dsp/Multirate.h"
#include "dsp/OrderEstimate.h"
#include "form/CFloatKeys.h"
#include "form/DesignHistory.h"
#include "form/DesignValue.h"
#include "form/FormRequest.h"
#include "form/RateChangeFields.h"
#include "design/WordChoice.h"
#include "form/RequirementFields.h"
#include "form/ShownDesign.h"
#include "platform/CWnd.h"
#include "plot/CMagnitudeWnd.h"
#include "plot/CPhaseWnd.h"
#include "plot/CPlotWnd.h"
#include "dsp/CPoints.h"

class CDialog;
class CZantroDoc;
struct CPrintInfo;
struct DialogTemplate;

// Control ids of the main form (template 101); the *_LABEL ids are the
// static captions beside the fields, the *_TITLE ids those above the plots.
enum FormControl {
    IDC_FILTER_TYPE_LABEL = 1000,
    IDC_FILTER_TYPE = 1001,
    IDC_TAPS_LABEL = 1002,
    IDC_SAMPLING_RATE_LABEL = 1005,
    IDC_DESIGN_METHOD_LABEL = 1007,
    IDC_WINDOW_TYPE_LABEL = 1009,
    IDC_FIRST_CORNER_LABEL = 1011,
    IDC_SECOND_CORNER_LABEL = 1013,
    IDC_IMPULSE_TITLE = 1027,
    IDC_PHASE_TITLE = 1028,
    IDC_STEP_TITLE = 1029,
    IDC_IR_SCALING_LABEL = 1048,
    IDC_SINX_COMP_LABEL = 1065,
    IDC_IR_SCALE_LABEL = 1078,
    IDC_TARGET_FILTER_LABEL = 1154,
    IDC_SAMPLING_RATE = 1006,
    IDC_DESIGN_METHOD = 1008,
    IDC_WINDOW_TYPE = 1010,
    IDC_FIRST_CORNER = 1012,
    IDC_SECOND_CORNER = 1014,
    IDC_DESIGN = 1023,
    IDC_MAKE_FILE = 1024,
    IDC_CLOSE = 1025,
    IDC_MAGNITUDE_CAPTION = 1026,
    IDC_SPARE = 1030,
    IDC_TAPS = 1032,
    IDC_IR_SCALING = 1064,
    IDC_SINX_COMP = 1066,
    IDC_READ_FILE = 1071,
    IDC_IR_SCALE = 1079,
    IDC_TARGET_FILTER = 1153,
};

// Menu command Extras > Window.
inline constexpr int ID_EXTRAS_WINDOW = 32771;

// The main form: the working copy of the design parameters bound to the
// controls of template 101, the five design arrays, the four plots and the
// results of the last design. Frequencies in Hz; N = m_nTaps (4..1025).
class CZantroView : public CWnd {
public:
    CZantroView();

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    // Runs the command; one that runs out of memory shows "Not enough memory
    // to complete the command." and leaves the design as it was.
    void OnCommand(int id) override;
    void OnSelChange(int id) override;

    void SetDocument(CZantroDoc* doc) { m_pDocument = doc; }
    CZantroDoc* GetDocument() const { return m_pDocument; }

    // Window creation: the four plot windows, magnitude, phase, impulse, step.
    int OnCreate();
    // For a new document (program start, File > New) applies the target
    // preset; after File > Open it does not.
    void OnInitialUpdate(bool newDocument = true);
    // The document changed: members to controls, nothing reloaded.
    void OnUpdate();
    // Pages of the printed report: 2 for Remez designs, else 1.
    int GetPrintPageCount() const { return m_nDesignMethod == 2 ? 2 : 1; }

    // Printing of the design report. Prepare: sets the page range 1..GetPrintPageCount();
    // true lets the framework go on with its print dialog. OnPrint draws page
    // info.m_nCurPage into info.m_rectDraw (device units, left and top 0):
    // page 1 the parameter list and the four plots, page 2 the band table.
    bool OnPreparePrinting(CPrintInfo& info);
    void OnPrint(DrawContext& dc, const CPrintInfo& info);
    // The text blocks of pages 1 and 2; each sets its own extents and origin.
    void PrintParameterList(DrawContext& dc, const Rect& page);
    void PrintBandTable(DrawContext& dc, const Rect& page);

    void LoadParameters();
    void StoreParameters();

    // Commands.
    void OnDesign();
    // The first steps of every design: the fields into the members (the
    // scale text read, 1.00 for natural scaling) and their refusal shown;
    // false when the design cannot go on.
    bool ReadFields();
    // Design of a document just opened: OnDesign at once, with every
    // parameter dialog answered as it loads (the values the document holds)
    // and none shown. Its messages are shown as after any Design. The form's
    // fields are not stored back (StoreParameters does nothing meanwhile), so
    // the document keeps the file's values and stays unmodified; the Remez
    // band dialog's answer is stored as usual, since the design reads it there.
    void DesignQuietly();
    // Where the messages of DesignQuietly go when set (the desktop program
    // puts them in its status bar, a command-line print on stderr): all of
    // that design's messages in order, once it ends, and no message box.
    // Unset, they are shown as after Design.
    std::function<void(const std::vector<std::string>& messages)> m_quietMessages;
    // The form's message box; during DesignQuietly with m_quietMessages set
    // the text is kept for it instead and IDOK returned.
    int MessageBox(const std::string& text, unsigned type = MB_OK);
    // A parameter dialog of the design (Kaiser, Dolph-Chebyshev,
    // differentiator, variance, Remez bands): run modally, or answered in
    // memory during DesignQuietly. IDOK, IDCANCEL, or -1 without a host.
    int RunParameterDialog(CDialog& dlg);
    void OnExtrasWindow();
    void OnReadFile();
    void OnMakeFile();
    void OnClose();
    void OnSelchangeTargetFilter();

    // Design steps shared by the design routines.
    // The refusal of the fields (corners against fs/2, the scale), shown; 0 then.
    int ValidateParameters();
    static int GetFirType(int filterType, int taps);
    void ResizeArrays(int n);
    // The routines of the methods: each asks its parameter dialogs (in the
    // order the design meets them) and runs the design; a cancelled dialog
    // ends it with the arrays resized (and the window computed when the
    // differentiator's gain was cancelled).
    void DesignSincOrDirect();
    void DesignFrequencySampling();
    void DesignRemezFilter();
    // The Remez band dialog on the document's band table, stored back on
    // OK: true to go on designing, false when cancelled (or no document).
    bool AskRemezBands();
    // The window's parameter dialog (Dolph-Chebyshev, Kaiser) for type: 1
    // when answered or none is needed, 0 when cancelled.
    int AskWindowParameters(int type);
    // Asks the window's parameters and computes its samples into points:
    // 1 when computed, 0 when the parameter dialog was cancelled.
    int ComputeWindow(CPoints& points, int type);
    // The form's fields, the dialogs' last answers and the document's band
    // table, grid density and input data.
    FormFields Fields() const;
    // Shows fields on the form (members, controls, the document's band
    // table and grid density), as a user would type them.
    void SetFields(const FormFields& fields);
    // Those fields as one design request (RequestOf), nothing measured; none
    // for a design method index outside the list.
    std::optional<DesignRequest> MakeRequest() const;
    // Designs MakeRequest() and takes the outcome.
    void RunDesign();
    // The outcome of request into the form: the arrays, the pass count, its
    // messages in order, the scale factor into the scale field; then, for a
    // valid design, the four plots, the valid flag and the design value
    // (m_design). Taps that are not finite show "The design gives
    // coefficients that are not finite numbers." and leave the plots and
    // the value as they were.
    void TakeOutcome(const DesignRequest& request, DesignOutcome outcome);
    // c: spectrum length, 1024 or 1025. ComputeResponse fills m_Step and
    // m_Spectrum from m_Coeffs; ShowResponse loads the four plots for n taps.
    void ComputeResponse(int c);
    void ShowResponse(int n, int c);
    void ShowImpulse();
    void ShowStep();
    void ShowMagnitude();
    void ShowPhase(int n, int c);

    int m_nDesignMethod;
    int m_nFilterType;
    int m_nWindowType;
    int m_nFirstCorner;
    int m_nSamplingRate;
    int m_nSecondCorner;
    int m_nTaps;
    int m_nIRScaling;
    int m_bSinXComp;
    std::string m_strIRScale;
    int m_nTargetFilter;
    CMagnitudeWnd m_MagnitudeWnd;
    CPhaseWnd m_PhaseWnd;
    CPlotWnd m_ImpulseWnd;
    CPlotWnd m_StepWnd;
    CPoints m_Window;
    CPoints m_Coeffs;
    CPoints m_Step;
    CPoints m_Spectrum;
    CPoints m_SinXComp;
    int m_nFirType;
    double m_dIRPeak;
    double m_dGain;
    int m_nStopbandAtt;
    double m_dShapeFactor;
    double m_dVariance;
    double m_dDiffGain;
    int m_nDiffGainSel;
    std::string m_strOutfile;
    int m_nOutExt;
    int m_nNumFormat;
    CFloatKeys m_IRScaleEdit;
    double m_dIRScale;
    int m_bDesignValid;

    // Pass count of the last Remez design, 0 when none ran.
    int m_nRemezPasses = 0;
    // The last design's Remez exchange converged (true without one).
    bool m_bConverged = true;
    // The design the plots show, and whether the fields still describe it.
    ShownDesign m_shown;
    // The designs shown since the program started (Edit > Undo, Redo).
    DesignHistory m_history;
    // The design the plots show (DesignValue.h): what Make File, Export,
    // Copy, the Analysis window, Undo and Redo and Save take. None before
    // the first design.
    std::optional<DesignValue> m_design;
    // The requirement a search designed the shown design for, which the
    // analysis judges (kept through Undo, Redo and a document's reopening).
    const SpecRequirement* ShownRequirement() const
    {
        return m_design && m_design->requirement ? &*m_design->requirement : nullptr;
    }
    // The shown design answers requirement: kept in the value, the document's
    // extension and the history's entry.
    void SetShownRequirement(const SpecRequirement& requirement);
    // The request of the shown design when Extras > More Methods made it.
    const DesignRequest* ShownMethodRequest() const { return m_design ? MethodRequestOf(*m_design) : nullptr; }
    // The requirement dialog's fields at its last OK; it reopens with them.
    std::optional<RequirementFields> m_LastRequirement;
    // The rate-change dialog's fields at its last OK (but for those the form gives it).
    std::optional<RateChangeFields> m_LastRateChange;
    // After a command that may have designed (designsShownBefore: DesignsShown()
    // when it began): a new design on the plots is kept with its caption and
    // in the history; otherwise the plots are marked as the previous design.
    void NoteDesignOutcome(int designsShownBefore);
    int DesignsShown() const { return m_nDesignsShown; }

    // Fixed-point words chosen for a requirement rather than rounded (Design
    // to Requirement with optimised words, the Analysis window's Optimised
    // words, zantro-cli's --optimize-words): the analysis shows them beside
    // the rounded words and every fixed-point export writes them, chosen
    // again for each design and format. Its bands, or else the requirement
    // the design shown was made for, or else the design's own figures.
    std::optional<WordRequest> m_WordRequest;

private:
    void DispatchCommand(int id);
    // Design's steps; OnDesign then notes whether the plots show a new design.
    void DesignFromFields();
    // The design a document holds beyond its fields (opened with its
    // extension), designed as it is stored, no dialog asked.
    void DesignStored(const DesignExtension& extension);

    CZantroDoc* m_pDocument = nullptr;
    bool m_bQuietDesign = false;
    // Designs shown on the plots so far.
    int m_nDesignsShown = 0;
    std::vector<std::string> m_quietTexts;
};
