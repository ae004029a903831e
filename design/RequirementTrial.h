#pragma once

#include "design/DesignOutcome.h"
#include "design/DesignRequest.h"
#include "design/RequirementSearch.h"

// One trial of Design to Requirement, the same for the form, zantro-cli and
// the Python module: the values a design of N taps takes, designed by
// Design and judged.

// base (what the setting leaves as it is: scaling, scale, x/sin(x), the
// other dialogs' answers) with the setting's type, method, window (unless
// -1), taps, rate, corners, Kaiser beta, band table (kBandCount rows) and
// grid density; band weights at the ratio the search stored (any positive
// weight); nothing measured.
DesignRequest SpecTrialRequest(DesignRequest base, const SpecFormSetting& setting);

// A trial's outcome judged: a refusal, a note besides the Remez pass count
// (a scale out of range) or no valid design of taps taps make it Failed; a
// Remez design that did not converge, or took every pass, NotConverged.
TrialDesign JudgeSpecTrial(const DesignOutcome& outcome, int taps);

// Design of SpecTrialRequest(base, setting), judged.
TrialDesign DesignSpecTrial(const DesignRequest& base, const SpecFormSetting& setting);
