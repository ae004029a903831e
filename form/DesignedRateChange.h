#pragma once

#include "design/DesignRequest.h"
#include "document/ExportProfile.h"

// A rate change's lowpass that Extras > Rate Change... designed through
// the engine as zantro-cli designs it (a half-band, or the fewest taps
// meeting a requirement): its request (taps is N designed) and what File >
// Export... writes of it (the band table the exchange ran on, the mask and
// figures of the design, the rate change).
struct DesignedRateChange {
    DesignRequest request;
    ExportDesign exportDesign;
};
