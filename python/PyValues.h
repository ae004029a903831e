#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// Conversions between Python values and the engine's. A value of the wrong
// kind or outside its range raises DesignError naming the keyword.

namespace py = pybind11;

// A JSON value as Python dicts, lists, floats, ints, strings, bools and
// None, keys in their order.
py::object ToPython(const nlohmann::ordered_json& value);

// A whole number (an int, or a float without fraction); numbers beyond the
// int range are held at its ends, so the range checks refuse them.
int WholeFrom(const py::handle& value, const char* keyword);

// Real taps from any sequence of numbers or a 1-d array; at least one.
std::vector<double> TapsFrom(const py::handle& taps, const char* keyword);
// A float64 numpy array holding a copy of values.
py::object NumpyArray(const std::vector<double>& values);

// "q7", "q15", "q31" (any case), a word length 2..32 (int or its text), or
// None for Q15; rounding "nearest" or "truncate" for word lengths.
QuantSpec QuantSpecFrom(const py::handle& quantize, const std::string& rounding);
QuantRounding RoundingFrom(const std::string& rounding);

// Measurement bands from (lo, hi, kind) or (lo, hi, kind, desired) tuples,
// kind "pass", "stop" or "slope", edges in Hz with lo < hi.
std::vector<MaskBand> MaskBandsFrom(const py::handle& bands);

// An entry of names or of the form's entries (case-insensitive; a space or
// an underscore counts as a dash), or an index 0..count-1; DesignError
// naming keyword and the names otherwise.
int ChoiceFrom(const py::handle& value, const std::vector<std::string>& names,
               const std::vector<std::string>& entries, const char* keyword);
