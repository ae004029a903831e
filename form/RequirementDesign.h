#pragma once

#include <optional>
#include <string>

#include "design/RateChangeSearch.h"
#include "design/RequirementSearch.h"
#include "form/FormRequest.h"

class CZantroView;

// Design to a requirement: every trial is Design of what the form would
// hold for that N (its fields filled, its scaling seeded, its dialogs
// accepted as they open), so the N found is exactly what the form's Design
// then shows on screen.

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

// One trial of base's fields filled with the setting (FilledFields), as the
// form designs them, judged (JudgeSpecTrial); nothing measured or shown.
TrialDesign DesignSpecTrial(const FormFields& base, const SpecFormSetting& setting);

// One trial: Design of the setting with the seed's scaling, nothing shown.
// A refusal, a note besides the Remez pass count, or no valid design of
// setting.taps taps make it Failed; a Remez design that did not converge
// NotConverged.
TrialDesign DesignOffscreen(const FormSeed& seed, const SpecFormSetting& setting);

// The form's refusal of the seed whatever N: a scale text longer than the
// field takes, or a scale out of range; the message, or none.
std::optional<std::string> SeedRefusal(const SpecRequest& request, const FormSeed& seed);
inline constexpr size_t kMaxScaleChars = 8;

// What a rate change's search asked of the request it found, as the
// analysis judges it: the pass band 0 .. f1 with its ripple, then the stop
// bands with their attenuation (the derived ones at the alias attenuation).
SpecRequirement AskedOf(const DesignRequest& found, const RateChangeRequirement& requirement);

// Plans, then searches with DesignOffscreen; progress as FindSpecDesign's.
SpecDesignResult FindSpecDesign(const SpecRequest& request, const FormSeed& seed,
                                const SpecSearchProgress& progress = {});
