#pragma once

#include <string>

#include "document/ExportProfile.h"

class CZantroView;

// File > Export...: the form's design written for a target, beside Make
// File. The desktop asks for the options in its dialog, zantro-cli takes
// them from the command line.

// The design the plots show as the export describes it: the form's kinds
// and corners, the band table, the taps and their figures on the derived
// mask as it was designed; a design of Extras > More Methods by its own
// request and name, and the lowpass of a rate change with its rate change
// (for the multirate profiles). Empty taps before the first design. With
// the form's word request, the words chosen for it (DesignAnalysis.h
// ChosenWordsOf).
ExportDesign ExportDesignOf(const CZantroView& view);

// Refuses before the first design with Make File's message; then checks
// the options and writes the files of the design the plots show (the
// status text names it when the form's fields no longer do). Every message
// goes through the form. True when the files were written.
bool ExportDesignFiles(CZantroView& view, const ExportOptions& options);

// The comment a C profile's header opens with (or the other profiles'
// commented summary), for the dialog's preview; "" for a design without taps.
std::string ExportPreviewText(const ExportDesign& design, const ExportOptions& options);
