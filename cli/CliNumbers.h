#pragma once

#include <optional>
#include <string>

// A whole number typed into an option: fallback when the option was not
// given, -1 when its text is not a whole number in the int range (so the
// design's range check refuses it).
int WholeNumberText(const std::optional<std::string>& text, int fallback);
