#pragma once

// Command ids of the menu, the toolbar and the accelerators, as the
// application framework numbers its standard commands.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,  // up to ID_FILE_MRU_FILE1 + 3
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// Extras > Analysis... (Extras > Window is the form's own command).
inline constexpr int ID_EXTRAS_ANALYSIS = 32772;
// File > Export... (beside Make File).
inline constexpr int ID_FILE_EXPORT = 32773;
// Extras > Design to Requirement... (the form's DesignToSpecification).
inline constexpr int ID_EXTRAS_DESIGN_TO_SPEC = 32774;
// Extras > Rate Change... (the form's DesignRateChange).
inline constexpr int ID_EXTRAS_RATE_CHANGE = 32775;
// Extras > More Methods... (the form's DesignMoreMethods).
inline constexpr int ID_EXTRAS_MORE_METHODS = 32776;

// The form's Design and Make File buttons from the keyboard (F5, Ctrl+M).
inline constexpr int ID_FORM_DESIGN = 32790;
inline constexpr int ID_FORM_MAKE_FILE = 32791;
// Edit > Copy Coefficients (Ctrl+Shift+C): the taps as text, one per line.
inline constexpr int ID_EDIT_COPY_COEFFS = 32792;

// Number of entries of the recent-file list.
inline constexpr int kRecentFileCount = 4;
