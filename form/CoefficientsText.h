#pragma once

#include <string>

class CZantroView;

// The taps of the design the plots show as text for the clipboard: one per
// line, each in the shortest form that reads back to the same double, '.'
// as the decimal point whatever the locale. "" before the first design.
std::string CoefficientsText(const CZantroView& view);
