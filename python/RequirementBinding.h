#pragma once

#include <pybind11/pybind11.h>

#include <vector>

#include "python/DesignBinding.h"

namespace py = pybind11;

// zantro.to_requirement: the fewest taps whose design meets the bands, as
// Design to Requirement finds them (design/RequirementSearch.h), each trial
// designed by Design on a new document's form values; then the design of
// the N found, with the search's figures under Design.requirement. rate
// holds the keywords of a rate change (decimate, interpolate, halfband,
// alias_bands) that were given: the lowpass's fewest taps then, as
// zantro-cli's --to-spec with them finds them (stop_bands may be
// [("alias", min_attenuation_db)], the derived stop bands).
// optimizeWords: the quantize words are chosen for the requirement rather
// than rounded (zantro-cli's --optimize-words), the analysis's "optimized"
// object holding them.
PyDesign DesignToRequirement(const py::handle& passBands, const py::handle& stopBands, const py::handle& fs,
                             const py::handle& method, const py::handle& quantize, const py::handle& type,
                             const py::handle& grid, const py::dict& rate, bool optimizeWords);
