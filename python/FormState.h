#pragma once

#include <optional>

#include <pybind11/pybind11.h>

#include "design/DesignRequest.h"
#include "document/CFilPar.h"

namespace py = pybind11;

// What a design reads of the form and its document, kept as the document's
// parameter set (the form stores its fields there after a design) plus the
// differentiator dialog's answer, which no document holds. zantro.design
// starts from a new document's values and changes them in zantro-cli's
// order: the target preset, then the fields, then the dialogs' answers.
struct FormState {
    CFilPar par;
    DifferentiatorGain gainSelection = DifferentiatorGain::Pi;
    double diffGain = 3.14159265358979323846;  // used with DifferentiatorGain::Other

    // What the form has no field for, as zantro-cli's options give it:
    // least squares (method "ls"; the parameter set then holds Remez),
    // minimum phase, a pulse, a shaped Remez response, a rate change.
    bool leastSquares = false;
    bool minimumPhase = false;
    std::optional<PulseRequest> pulse;
    ResponseShape shape;
    RateChange rateChange;
    // The band weights taken: the band dialog's (as typed), or any
    // positive weight (a requirement search's, at their true ratio).
    RemezWeightRange weightRange = RemezWeightRange::Dialog;

    // True when the design takes one of the paths beside the form's.
    bool UsesNewMethods() const;
    bool UsesRateChange() const { return rateChange.kind != RateChangeKind::None; }

    // A new document: the parameter set's defaults and target preset 0.
    static FormState NewDocument();

    // Applies zantro.design's keywords (None leaves the value as it is),
    // the form's and those of the designs beside it (zantro-cli's options
    // with dashes as underscores: decimate, interpolate, halfband,
    // alias_bands, method "ls", min_phase, pulse, rolloff, bt, sps, span,
    // pulse_gain, cic_comp=(R, M, N), inverse_sinc); a combination
    // zantro-cli refuses raises DesignError with its reason.
    // A parameter dialog's answer (att, beta, gain, sigma) is taken only
    // when the design asks that dialog, as on the form. Raises DesignError
    // for a keyword of the wrong kind.
    void Apply(const py::dict& keywords);
    // The values of a document just opened, as its design takes them from
    // the form's scale field and the dialogs accepted as they load: the
    // numbers as they show them (two decimals for the scale, beta and
    // sigma, three for band values, two for weights).
    void AnswerDialogsAsShown();

    DesignRequest Request() const;
    // The keywords that give this state again: zantro.design(**parameters).
    py::dict Parameters() const;

private:
    // The keywords of the designs beside the form's, and none it does without.
    void AddNewParameters(py::dict& parameters) const;
};

// A copy of a parameter set (CFilPar itself only moves).
CFilPar CopyOf(const CFilPar& par);
FormState CopyOf(const FormState& state);

// True when the design of this state asks the dialog.
bool AsksKaiser(const CFilPar& par);
bool AsksChebyshev(const CFilPar& par);
bool AsksDifferentiatorGain(const CFilPar& par);
bool AsksVariance(const CFilPar& par);
