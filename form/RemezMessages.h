#pragma once

// The texts of the frequency-sampling design, the band dialog and the Remez
// design command live with the design's other texts.
#include "design/DesignMessages.h"
