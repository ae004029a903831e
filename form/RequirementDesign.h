#pragma once

#include <string>

#include "design/RequirementSearch.h"

class CZantroView;

// Design to a requirement on the form itself: every trial design is the
// form's own Design on an off-screen copy of the form, so the N found is
// exactly what Design then shows on screen.

// The parts of the user's form that shape a design besides the fields the
// command fills: scaling mode, scale text and sin(x)/x compensation.
struct FormSeed {
    int irScaling = 0;
    std::string irScale = "1.00";
    int sinXComp = 0;
};
// Reads them from the form's controls as they stand.
FormSeed SeedOf(const CZantroView& view);

// Fills the form's controls (type, method, window, taps, rate, corners),
// its Kaiser beta and, for DM_REMEZ, the document's band table and grid
// density (the other rows unused). Design then reads them as typed.
void FillForm(CZantroView& view, const SpecFormSetting& setting);

// One trial: a fresh off-screen form on a scripted host, seeded, filled and
// designed; its parameter dialogs are accepted as they open. Any message
// besides the Remez pass count, a refused dialog or no valid design make it
// Failed; "The Remez algorithm did not converge." makes it NotConverged.
// The program-wide plot axes are left as they were.
TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting);

// Plans, then searches with DesignOffscreen.
SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed);
