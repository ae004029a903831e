#pragma once

#include <string>

#include <pybind11/pybind11.h>

namespace py = pybind11;

// zantro.export's keywords beside the design, profile and root.
struct ExportKeywords {
    // Taps designed elsewhere only: their rate in Hz (needed), the bands
    // measured (as zantro.measure takes them) and the name of their origin.
    // The requirement (as zantro.to_requirement takes it): judged for taps
    // designed elsewhere; what the words are chosen for with optimizeWords.
    py::object fs = py::none();
    py::object bands = py::none();
    py::object passBands = py::none();
    py::object stopBands = py::none();
    py::object source = py::none();
    // As zantro-cli --export takes them: word length 2..32, block 1..65536,
    // input bits 2..32, output bits 2..128 (None: the accumulator's width),
    // the FPGA filter's architecture and its clocks a sample 1..1024 (None:
    // 4; folded only) and pipelining (not folded).
    py::object wordLength;
    std::string rounding;
    py::object block;
    bool helium = false;
    py::object inputBits;
    py::object outputBits;
    std::string architecture;
    py::object clocksPerSample;
    bool pipeline = false;
    bool stream = false;
    bool testbench = false;
    // The words chosen rather than rounded: for pass_bands and stop_bands
    // when given, else for the design's own figures on its bands.
    bool optimizeWords = false;
};

// zantro.export: File > Export... after a design (a zantro.Design), or the
// export of taps designed elsewhere (a sequence or 1-d array of at most
// 65535 finite numbers) as zantro-cli --coefficients writes it; the paths
// written. A value outside its range raises DesignError with zantro-cli's
// usage text, the keyword named, and so do clocks_per_sample or pipeline
// with an architecture they do not apply to.
py::list ExportFiles(const py::handle& what, const std::string& profile, const py::handle& root,
                     const ExportKeywords& keywords);
