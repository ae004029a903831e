#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

#include "dsp/OrderEstimate.h"
#include "dsp/ResponseMeasurement.h"
#include "dsp/TapQuantization.h"

// Conversions between Python values and the engine's. A value of the wrong
// kind or outside its range raises DesignError naming the keyword; nothing
// is held at a limit. Numbers may be any integer-like (__index__: int, a
// numpy integer) or real (__float__: float, a numpy float, a 0-d array)
// value, never a bool or a complex number; sequences may be lists, tuples
// or numpy arrays.

namespace py = pybind11;

// A JSON value as Python dicts, lists, floats, ints, strings, bools and
// None, keys in their order.
py::object ToPython(const nlohmann::ordered_json& value);

// A whole number: an integer-like value, or a real one without fraction,
// from INT_MIN to INT_MAX (the fields' range; the design refuses what its
// field does not take, with the form's message).
int WholeFrom(const py::handle& value, const char* keyword);
// A finite real number.
double NumberFrom(const py::handle& value, const char* keyword);
// A file's path: str, bytes or os.PathLike (as os.fsdecode reads it),
// without a NUL character.
std::string PathFrom(const py::handle& value, const char* keyword);

// The rows of a table: each item of a list, tuple or 2-d array as a tuple
// (a row of an array gives numpy scalars); DesignError(form) when rows is
// no such table or an item is no sequence.
std::vector<py::tuple> RowsFrom(const py::handle& rows, const std::string& form);

// Real taps from any sequence of numbers or a 1-d array; at least one.
std::vector<double> TapsFrom(const py::handle& taps, const char* keyword);
// A float64 numpy array holding a copy of values.
py::object NumpyArray(const std::vector<double>& values);

// "q7", "q15", "q31" (any case), a word length 2..32 (a whole number or its
// text), or None for Q15; rounding "nearest" or "truncate" for word lengths.
QuantSpec QuantSpecFrom(const py::handle& quantize, const std::string& rounding);
QuantRounding RoundingFrom(const std::string& rounding);

// Measurement bands from (lo, hi, kind) or (lo, hi, kind, desired) rows,
// kind "pass", "stop" or "slope", edges in Hz with lo < hi.
std::vector<MaskBand> MaskBandsFrom(const py::handle& bands);

// A requirement's bands of kind from (lo_hz, hi_hz, limit_db) rows: a pass
// band's largest ripple or a stop band's smallest attenuation.
std::vector<SpecBand> SpecBandsFrom(const py::handle& rows, BandKind kind, const char* keyword);

// Another name of an entry, with the entry's index.
using ChoiceAlias = std::pair<const char*, int>;

// An entry of names or of the form's entries or aliases (case-insensitive;
// a space or an underscore counts as a dash), or an index 0..count-1;
// DesignError naming keyword and the names otherwise.
int ChoiceFrom(const py::handle& value, const std::vector<std::string>& names,
               const std::vector<std::string>& entries, const char* keyword,
               const std::vector<ChoiceAlias>& aliases = {});
