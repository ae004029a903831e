#include <pybind11/pybind11.h>

#include "python/DesignError.h"
#include "python/MeasureBinding.h"

namespace py = pybind11;

namespace {

constexpr const char* kModuleDoc = R"(FIR filter design with Zantro's engine.

Design a filter from the parameters of Zantro's form (zantro.design), or
find the fewest taps that meet a requirement (zantro.to_requirement);
measure any taps (zantro.measure); export them for a target
(zantro.export) and read and write ".fir" documents (zantro.read_fir,
Design.save). Taps are float64 numpy arrays; figures are plain dicts and
lists, the same objects zantro-cli prints with --json. Frequencies are in
Hz. A refused parameter raises zantro.DesignError (a ValueError) with the
program's own message. Designs and measurements release the GIL, so
threads design in parallel.)";

constexpr const char* kMeasureDoc = R"(measure(taps, fs, bands=None, quantize=None, rounding="nearest") -> dict

The achieved figures of any real taps at sampling rate fs (Hz), as
zantro-cli's JSON "analysis" object: on a uniform grid of at least 16
points per tap (never fewer than 8192) up to fs/2 plus every band edge,
the bands' largest and smallest gain, ripple or attenuation, group delay,
DC and Nyquist gain, peak tap and headroom; under "quantized" the integer
words of the fixed-point taps and the same figures for them.

taps: a sequence or 1-d array of numbers.
bands: (lo_hz, hi_hz, kind) or (lo_hz, hi_hz, kind, desired) tuples, kind
  "pass", "stop" or "slope" (a differentiator's line desired * f / (fs/2));
  desired is a pass band's ideal gain (default 1). With a pass band the
  -3 dB and -6 dB crossings are measured too. None: no bands.
quantize: "q7", "q15", "q31" (Make File's words) or a word length 2..32
  whose fraction length is taken from the peak tap; None: "q15".
rounding: "nearest" (halves away from zero) or "truncate", for word lengths.

Raises DesignError for a band outside 0..fs/2, fs not above 0, or taps
that are not finite.)";

}  // namespace

PYBIND11_MODULE(zantro, m)
{
    m.doc() = kModuleDoc;
    m.attr("__version__") = ZANTRO_VERSION;

    static py::exception<DesignError> designError(m, "DesignError", PyExc_ValueError);
    designError.doc() = "A refused parameter or a failed design, read or write; the message is the program's own text.";
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const DesignError& e) {
            designError(e.what());
        }
    });

    m.def("measure", &MeasureTaps, py::arg("taps"), py::arg("fs"), py::arg("bands") = py::none(),
          py::arg("quantize") = py::none(), py::arg("rounding") = "nearest", kMeasureDoc);
}
