#pragma once

#include "form/RequirementDesign.h"

class CZantroView;

// Extras > Design to Requirement...: asks for the requirement (the dialog
// holds the last one the user gave, kept in the view, or else is seeded
// from the form's type, rate and corners), finds the fewest
// taps that meet it, fills the form and runs its Design, then shows the N
// found, the estimate and the figures achieved. When no N up to 1025 meets
// the requirement the form stays as it was and the message names the best
// figures reached. The search reports each N to the host's progress meter;
// a cancelled search says so and opens the dialog again with what was typed.
void DesignToSpecification(CZantroView& view);

// The dialog's fields as the form suggests them: its rate, its filter type
// when it is one of the four, and transitions of fs/40 starting at its corners.
void SeedSpecDialog(const CZantroView& view, class CRequirementDlg& dlg);

// True when the form holds a valid design with exactly the taps found.
bool FormShowsFound(const CZantroView& view, const SpecDesignResult& result);

inline constexpr const char* kMsgSpecFormDiffers =
    "The design on the form differs from the one found (a parameter dialog was changed or cancelled); "
    "the figures above are not those of the form.";
