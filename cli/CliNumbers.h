#pragma once

#include <optional>
#include <string>
#include <vector>

// The text of command-line options, read the same way whatever the
// process locale.

// A whole number typed into an option: fallback when the option was not
// given, -1 when its text is not a whole number in the int range (so the
// design's range check refuses it).
int WholeNumberText(const std::optional<std::string>& text, int fallback);

// The whole text as a finite decimal number; nullopt when it is empty, has
// anything after the number, or is infinite or not a number.
std::optional<double> FiniteNumber(const std::string& text);

// The text with ASCII capitals made small ("Q15" -> "q15"), as option
// values are compared whatever their case.
std::string Lower(std::string text);

// The fields of a colon-separated value ("LO:HI:VALUE"): one more field
// than colons, empty fields kept.
std::vector<std::string> ColonFields(const std::string& text);
