#pragma once

#include <vector>

#include <pybind11/pybind11.h>

#include "document/DesignExtension.h"
#include "form/FormRequest.h"

namespace py = pybind11;

// A design's parameters as plain Python values (tuples, lists, numbers) for
// pickling, and back: every field and dialog answer of FormDesign, the
// unused rows of the band table included. The From functions raise
// DesignError for a state they did not write.

inline constexpr int kDesignStateVersion = 2;

py::tuple FormDesignState(const FormDesign& design);
FormDesign FormDesignFromState(const py::handle& state);

py::list MaskState(const std::vector<MaskBand>& bands);
std::vector<MaskBand> MaskFromState(const py::handle& state);

py::tuple QuantState(const QuantSpec& quant);
QuantSpec QuantFromState(const py::handle& state);

// A document's exact request and a search's requirement as the bytes of the
// document's extension block (None when neither is given), and back.
py::object ExtensionState(const DesignExtension& extension);
DesignExtension ExtensionFromState(const py::handle& state);

// A requirement's bands (None when not given), and back.
py::object SpecBandsState(const std::optional<std::vector<SpecBand>>& bands);
std::optional<std::vector<SpecBand>> SpecBandsFromState(const py::handle& state);
