#pragma once

#include "design/DesignOutcome.h"
#include "design/RequirementSearch.h"

// One trial of Design to Requirement judged, the same for the form,
// zantro-cli and the Python module (the request of a trial is the form's:
// form/RequirementDesign.h).

// A trial's outcome judged: a refusal, a note besides the Remez pass count
// (a scale out of range) or no valid design of taps taps make it Failed; a
// Remez design that did not converge, or took every pass, NotConverged.
TrialDesign JudgeSpecTrial(const DesignOutcome& outcome, int taps);
