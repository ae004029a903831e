#pragma once

#include "design/DesignMessages.h"

// Texts of the Design command besides those of the design itself.
// A command ran out of memory; nothing of the previous design was lost.
inline constexpr const char* kMsgOutOfMemory =
    "Not enough memory to complete the command.\nThe previous design and plots are kept.";
// Anything else a command threw; the reason follows on the next line.
inline constexpr const char* kMsgCommandFailed = "The command could not be completed.";
