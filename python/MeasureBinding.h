#pragma once

#include <string>

#include "python/PyValues.h"

// zantro.measure: the achieved figures of any taps at a sampling rate (Hz),
// against the given bands, before and after quantisation, as zantro-cli's
// JSON "analysis" object. The -3 dB and -6 dB crossings are measured when a
// pass band is given.
py::object MeasureTaps(const py::handle& taps, const py::handle& fs, const py::handle& bands,
                       const py::handle& quantize, const std::string& rounding);
