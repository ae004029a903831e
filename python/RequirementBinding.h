#pragma once

#include <pybind11/pybind11.h>

#include "python/DesignBinding.h"

namespace py = pybind11;

// zantro.to_requirement: the fewest taps whose design meets the bands, as
// Design to Requirement finds them (design/RequirementSearch.h), each trial
// designed by Design on a new document's form values; then the design of
// the N found, with the search's figures under Design.requirement.
PyDesign DesignToRequirement(const py::handle& passBands, const py::handle& stopBands, const py::handle& fs,
                             const std::string& method, const py::handle& quantize, const py::handle& type,
                             const py::handle& grid);
