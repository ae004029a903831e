#pragma once

#include <optional>
#include <vector>

#include "design/DesignRequest.h"
#include "document/DesignExtension.h"
#include "document/ExportProfile.h"
#include "dsp/Multirate.h"
#include "dsp/OrderEstimate.h"
#include "form/FormRequest.h"

// The design the form's plots show, as one value: what Make File, File >
// Export..., Edit > Copy Coefficients, the Analysis window, Undo and Redo
// and the document's extension take, so they never disagree about which
// design is current. A command that makes no design (a refusal, a
// cancelled dialog) leaves it as it was, as it leaves the plots.
struct DesignValue {
    // What was designed; none for Extras > Window's window.
    std::optional<DesignRequest> request;
    // The form's fields as they stood after the design (the export's
    // description and the derived bands of a design of the form's list).
    FormFields fields;
    std::vector<double> taps;
    double gain = 1.0;  // the scale factor applied
    int firType = 0;
    // A rate change's lowpass as the export describes it (its band table,
    // mask and figures), kept from its design.
    std::optional<ExportDesign> rateChangeExport;
    // The requirement a search designed it for, which the analysis judges.
    std::optional<SpecRequirement> requirement;
};

// The request of a design of Extras > More Methods (a method beside the
// form's list, minimum phase, a shape, a pulse); nullptr otherwise.
const DesignRequest* MethodRequestOf(const DesignValue& value);

// The rate change the lowpass was designed for.
std::optional<MultirateDesign> RateChangeOf(const DesignValue& value);

// What a document saved with this design holds beyond its fields; none
// when the fields hold it (NeedsExtension).
std::optional<DesignExtension> ExtensionOf(const DesignValue& value);
