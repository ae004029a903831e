#pragma once

// Texts of the document commands; %1 is the file's title.
inline constexpr const char* kMsgUnexpectedFormat = "Unexpected file format.";
inline constexpr const char* kMsgFileNotFound = "%1 was not found.";
inline constexpr const char* kMsgAccessDenied = "Access to %1 was denied.";
inline constexpr const char* kMsgDiskFull = "Disk full while accessing %1.";
inline constexpr const char* kMsgFailedToOpen = "Failed to open document.";
inline constexpr const char* kMsgFailedToSave = "Failed to save document.";
inline constexpr const char* kMsgSaveChanges = "Save changes to %1?";

// The document type: window title, document name, file-new name, filter
// name, filter extension, registered type id and registered type name.
inline constexpr const char* kDocTypeString =
    "Zantro\n\nZant\nZant Files (*.fir)\n.fir\nZantro.Document\nZant Document";
inline constexpr const char* kDocFilterName = "Zant Files (*.fir)";
inline constexpr const char* kDocFilterPattern = "*.fir";
inline constexpr const char* kAllFilesFilterName = "All Files (*.*)";
inline constexpr const char* kAllFilesFilterPattern = "*.*";
inline constexpr const char* kDocExtension = ".fir";
inline constexpr const char* kUntitled = "Untitled";

// Texts of Make File.
inline constexpr const char* kMsgNoDesign = "No design available.\nPlease do a design or\nselect 'Extras Window'.";
inline constexpr const char* kMsgRootTooShort = "The file name root must be\nat least %1d characters";
inline constexpr int kMinRootLength = 3;
inline constexpr int kMaxRootLength = 32;
inline constexpr const char* kMsgValuesAboveOne =
    "Some impulse response values are > 1.0\nPlease select a different scaling.";
inline constexpr const char* kMsgCannotOpenFile = "Cannot open file %s";
inline constexpr const char* kMsgCannotWriteFile = "Cannot write file %s";
// The tap count was changed by an open or a preset after the last design.
inline constexpr const char* kMsgTapsChanged =
    "The number of taps differs from the last design.\nPlease do a design or\nselect 'Extras Window'.";
inline constexpr const char* kMsgNoNumberFormat = "Please select a number format.";
inline constexpr const char* kMsgNoExtension = "Please select a file extension.";

// Texts of the target filters.
inline constexpr const char* kMsgTargetNotSupported = "Target %d not supported !";

// Texts of Read File.
inline constexpr const char* kMsgCannotReadFile = "Cannot read file %s";
inline constexpr const char* kMsgNoPointsInFile = "The file %s holds no points.\nThe points read before are kept.";
inline constexpr const char* kMsgTooManyPoints = "The maximum number of points is %4i.\nPlease modify your input file.";
