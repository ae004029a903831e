#pragma once

#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "design/DesignRequest.h"
#include "design/RequirementSearch.h"
#include "dsp/MaskDerivation.h"

class CFilPar;

// The form's fields and its dialogs' answers as one design request: the one
// mapping the form, zantro-cli and the Python module design through, so that
// a value means the same and is refused with the same text in each. It reads
// values, never controls or a host. The ranges are the engine's
// (ValidateRequest); what only the form's dialogs refuse (a text longer than
// its edit shows, a band dialog's row) is checked here for a table the band
// dialog loads.

// The values a design of the form reads: its fields (kinds are the lists'
// indices; Hz; the scale as a number), the parameter dialogs' last answers,
// and the document's band table, grid density and input points.
struct FormFields {
    int designMethod = DM_SINC;  // 0 .. 3; another index designs nothing
    int filterType = FT_LOWPASS;
    int windowType = WT_HAMMING;
    int taps = 63;
    int samplingRate = 8000;
    int firstCorner = 1000;
    int secondCorner = 3000;
    int irScaling = SC_NATURAL;
    double irScale = 1.0;
    bool sinXComp = false;
    int stopbandAtt = 40;                       // Dolph-Chebyshev dialog, dB
    double shapeFactor = 5.0;                   // Kaiser dialog
    double variance = 1.0;                      // Gaussian edge dialog, taps
    double diffGain = std::numbers::pi;         // differentiator dialog, gain at fs/2
    std::vector<RemezBand> bands{kBandCount};   // the band table, kBandCount rows
    int gridDensity = 16;
    std::optional<std::vector<Complex>> inputData;  // points read (Read File), none before
    bool operator==(const FormFields&) const = default;
};

// Extras > More Methods: least squares or Remez on the band table (minimum
// phase; Remez: a shaped pass band), or a pulse with its own parameters.
struct MethodChoice {
    enum class Method { LeastSquares, Remez, Pulse };
    Method method = Method::LeastSquares;
    bool minimumPhase = false;
    ResponseShape shape;
    PulseRequest pulse;  // unit energy unless chosen otherwise, in every front end
    bool operator==(const MethodChoice&) const = default;
};

// Everything a design of the form reads: the fields and what Extras > More
// Methods or Extras > Rate Change chose besides them.
struct FormDesign {
    FormFields fields;
    std::optional<MethodChoice> method;
    std::optional<RateChange> rateChange;
    bool operator==(const FormDesign&) const = default;
};

// A new document's fields: the parameter set's defaults, the band table of
// target filter 0 ("user specified": every row unused).
FormFields NewDocumentFields();
// The fields of a parameter set (the form stores its fields there after a
// design), with the differentiator dialog's gain, which no parameter set
// holds.
FormFields FieldsOf(const CFilPar& par, double diffGain = std::numbers::pi);
// The fields into a parameter set (what StoreParameters and the band
// dialog write there); the rest of par stays as it is.
void StoreFields(const FormFields& fields, CFilPar& par);

// What a rate change designs with where its front end does not say: Remez
// Exchange, and for the windowed sinc a Kaiser window (Dolph-Chebyshev at
// 60 dB).
void SetRateChangeDefaults(FormFields& fields);

// The request of a design: the method of the list (or of More Methods) with
// the parameters it takes, the rate change around it. A method or pulse
// beside the form's has no corners (they take no part); a pulse and a rate
// change are not scaled (their gain is their own); a pulse's taps are its
// span x sps + 1. nullopt when the design
// method index is none of the list's (a damaged document): the form designs
// nothing then.
std::optional<DesignRequest> RequestOf(const FormDesign& design);

// The More Methods choice a request holds: least squares, a pulse, or Remez
// with minimum phase or a shape; nullopt for the form's own methods.
std::optional<MethodChoice> MethodChoiceOf(const DesignRequest& request);

// The nearest design the form's own fields can hold of request, over base
// (what the request does not say stays as base has it, and the scale field
// the factor the design applied): its method of the
// list (least squares and a shaped or minimum-phase Remez as Remez on the
// table, a pulse as the windowed-sinc lowpass of span x sps + 1 taps cut at
// fs / (2 sps), a rate change's lowpass as Remez on the table its exchange
// runs on, unscaled), its numbers, window, table and points. This is what a
// document holds before its extension, and what the form shows of such a
// design.
FormFields FieldsFor(const DesignRequest& request, FormFields base);

// A design of request (searched for requirement or not) into a parameter
// set as a document keeps it: stored, the fields as the form stores them
// after that design, when they hold it; else the nearest design the fields
// hold (FieldsFor over stored) and the extension block (DesignExtension.h).
void StoreDesign(const DesignRequest& request, const std::optional<SpecRequirement>& requirement,
                 const FormFields& stored, CFilPar& par);

// The form design that maps to request (RequestOf gives request back for
// any request the mapping makes whose scale base's field holds): FieldsFor,
// with the More Methods choice and the rate change the request holds.
FormDesign FormDesignOf(const DesignRequest& request, const FormFields& base);

// The values of a document just opened as the form's Design reads them with
// every dialog accepted as it loads: the scale as its field shows it (two
// decimals; natural scaling 1.00), and for the dialogs the design asks the
// numbers as their edits show them (Kaiser beta and Gaussian sigma two
// decimals; the band rows in use: values three decimals, weights two where
// that reads 1.00 .. 100.00, a weight outside kept as loaded).
FormFields AsLoaded(FormFields fields);

// The refusal of request, if any, with the form's text, in the form's order:
// the request's own refusal of its fields and method first, then (when
// bandDialog: the table came through the band dialog, as the form's and a
// document's do) what the dialog refuses of any row (an edge outside 0 ..
// 10000000 Hz, a value or weight longer than 8 characters as it shows
// them), then the rest of the request's refusal (bandDialog: a weight that
// is not positive reads as the dialog's range).
std::optional<std::string> RefusalText(const DesignRequest& request, bool bandDialog);

// What the mask derivation and the exports read of a design of the form's
// own fields (its four methods), taps taps (frequency sampling: 2P - 1)
// scaled by gain: the fields as they stand, the whole band table and the
// points read.
DesignOutline OutlineOf(const FormFields& fields, int taps, double gain);

// The scale factor as the form's scale field shows it: two decimals, in any
// locale.
std::string ScaleText(double gain);

// The form's fields of a Design to Requirement trial, as the command fills
// the form: base (scaling, scale, x/sin(x), the other answers) with the
// setting's type, method, window (unless -1), taps, rate and corners, and
// its Kaiser beta (DM_SINC) or band table and grid density (DM_REMEZ).
FormFields FilledFields(FormFields base, const SpecFormSetting& setting);
