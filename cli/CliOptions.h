#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/AnalysisOptions.h"
#include "cli/ExportCliOptions.h"
#include "cli/MultirateOptions.h"
#include "dsp/OrderEstimate.h"
#include "dsp/PulseShaping.h"
#include "dsp/ResponseShape.h"

// What one zantro-cli run asks for. Unset members leave the form as the
// program starts it. Combo choices are entry indices; texts are typed into
// the form's edits (and the parameter dialogs' edits) as they stand.
struct CliOptions {
    // File > Open before anything else.
    std::optional<std::string> docPath;
    // Target Filter combo: an entry by index or text; other text is typed
    // into the combo's edit field.
    std::optional<std::string> preset;

    // Main form combos.
    std::optional<int> filterType;    // 0..8, combo 1001
    std::optional<int> designMethod;  // 0..3, combo 1008
    std::optional<int> windowType;    // 0..5, combo 1010
    std::optional<int> irScaling;     // 0..3, combo 1064

    // Main form edits: digits only for the four integer fields.
    std::optional<std::string> taps;          // edit 1032
    std::optional<std::string> samplingRate;  // edit 1006, Hz
    std::optional<std::string> firstCorner;   // edit 1012, Hz
    std::optional<std::string> secondCorner;  // edit 1014, Hz
    std::optional<std::string> scale;         // edit 1079, at most 8 characters
    bool sinXComp = false;                    // check box 1066 on

    // Answers to the parameter dialogs, used when the design opens them.
    std::optional<std::string> stopbandAtt;   // dB, digits only (dialog 131)
    std::optional<std::string> shapeFactor;   // Kaiser beta text (dialog 132)
    std::optional<std::string> diffGain;      // "pi", "pi/2", "1" or a number text (dialog 133)
    std::optional<std::string> variance;      // sigma text, at most 5 characters (dialog 135)

    // Remez band dialog answers: rows 1, 2, ... in use with these texts
    // (lower edge Hz, upper edge Hz, value, weight), the other rows unused;
    // and the grid density text.
    struct Band {
        std::string lower, upper, value, weight;
    };
    std::vector<Band> bands;
    std::optional<std::string> gridDensity;
    // Read File before the design.
    std::optional<std::string> inputFile;
    // Taps designed elsewhere, read from this file instead of a design
    // (ForeignTapsRun.h).
    std::optional<std::string> coefficientsFile;

    // Extras > Window instead of Design; or neither.
    bool windowOnly = false;
    bool noDesign = false;

    // Make File after the design: the root typed into the dialog, and the
    // dialog's extension (0 ".c", 1 ".cpp") and number format (0..4) lists.
    std::optional<std::string> makeRoot;
    std::optional<int> outExt;
    std::optional<int> numFormat;
    // File > Export... after Make File; its rounding is analysis.quantize's.
    ExportRequest exportRequest;
    // File > Save As at the end.
    std::optional<std::string> savePath;

    // Design to a requirement instead of Design: the fewest taps whose
    // design (designMethod sinc: Kaiser window, or remez) meets every band,
    // also after quantisation to specQuantize when given. Bands in Hz with
    // the ripple (pass) or attenuation (stop) in dB, in the order given.
    bool toSpec = false;
    std::vector<SpecBand> specBands;
    std::optional<QuantSpec> specQuantize;
    // Fixed-point words chosen for the requirement (the bands above, or the
    // design's own figures) rather than rounded; the shortest word that
    // meets the requirement (WordCliOptions.h).
    bool optimizeWords = false;
    bool fewestBits = false;

    // The design methods beside the form's four, designed by the design
    // itself rather than typed into the form: --method ls (designMethod
    // kCliLeastSquares), --min-phase on remez or ls, --pulse with its
    // parameters, a shaped Remez pass band (--cic-comp or --inverse-sinc).
    bool minPhase = false;
    std::optional<PulseShape> pulse;
    std::optional<double> rolloff;
    std::optional<double> bt;
    std::optional<int> sps;
    std::optional<int> span;
    std::optional<PulseNormalisation> pulseGain;
    std::optional<ResponseShape> remezShape;
    // A lowpass for a rate change, designed without the form (MultirateRun.h).
    MultirateCliRequest multirate;

    // One JSON object on stdout instead of the coefficients.
    bool json = false;
    // The mask and quantisation of the JSON object's "analysis".
    AnalysisRequest analysis;
    // Folder for magnitude.svg, phase.svg, impulse.svg and step.svg, written
    // after the commands as the four plots paint.
    std::optional<std::string> svgDir;
};
