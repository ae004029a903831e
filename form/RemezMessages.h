#pragma once

// The texts of the frequency-sampling design, the band dialog and the Remez
// design command live with the design's other texts; the band dialog's own
// range is the form's.
#include "design/DesignMessages.h"

// The band dialog takes typed weights 1.00 .. 100.00 (and keeps a loaded one
// outside them while its text is untouched).
inline constexpr const char* kMsgWeightRange = "Weight must be in the range from 1.00 to 100.00.";
