#pragma once

#include <string>

class CZantroView;

// The taps of the form's design as text for the clipboard: one per line,
// each in the shortest form that reads back to the same double, '.' as the
// decimal point whatever the locale. "" without a valid design of the
// form's tap count.
std::string CoefficientsText(const CZantroView& view);
