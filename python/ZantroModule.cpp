#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <utility>

#include "python/DesignBinding.h"
#include "python/DesignError.h"
#include "python/ExportBinding.h"
#include "python/LongCall.h"
#include "python/MeasureBinding.h"
#include "python/ModuleDocs.h"
#include "python/PyValues.h"
#include "python/RequirementBinding.h"
#include "python/WordBinding.h"
#include "python/WordDocs.h"

namespace py = pybind11;

PYBIND11_MODULE(zantro, m)
{
    m.doc() = kModuleDoc;
    // pybind11 looks numpy's C API up once, in a function-local static that
    // imports numpy. Done here, while the import holds the interpreter: done
    // first by two threads at once, the second would wait for the static
    // holding the GIL while the first waits for the GIL inside it.
    py::array_t<double> numpyReady(0);
    m.attr("__version__") = ZANTRO_VERSION;

    static py::exception<DesignError> designError(m, "DesignError", PyExc_ValueError);
    designError.doc() = kDesignErrorDoc;
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const DesignError& e) {
            designError(e.what());
        }
    });

    py::class_<PyDesign>(m, "Design", kDesignDoc)
        .def_property_readonly("taps", &PyDesign::Taps, "The taps, a read-only float64 numpy array.")
        .def_property_readonly("converged", &PyDesign::Converged,
                               "False when a Remez design did not converge (its best taps are kept); else True.")
        .def_property_readonly("passes", &PyDesign::Passes,
                               "The exchange passes of a Remez design; None for the other methods.")
        .def_property_readonly("messages", &PyDesign::Messages,
                               "The form's notes after the design, in order (a Remez pass count, \"The Remez "
                               "algorithm did not converge.\", a scale out of range).")
        .def_property_readonly("analysis", &PyDesign::Analysis,
                               "The achieved figures, as zantro-cli's JSON \"analysis\" object: bands derived from "
                               "the design, Q15 under \"quantized\".")
        .def_property_readonly("parameters", &PyDesign::Parameters,
                               "The keywords that give this design again: zantro.design(**d.parameters).")
        .def_property_readonly("fs", &PyDesign::SamplingRate, "The sampling rate in Hz.")
        .def_property_readonly("gain", &PyDesign::Gain, "The scale factor the scaling applied to the taps.")
        .def_property_readonly("ir_peak", &PyDesign::IrPeak, "The largest tap magnitude before scaling.")
        .def_property_readonly("scale_text", &PyDesign::ScaleText,
                               "The scale factor as the form's scale field shows it (two decimals).")
        .def_property_readonly("fir_type", &PyDesign::FirType,
                               "The linear-phase type: 0 symmetric odd N, 1 symmetric even N, 2 antisymmetric odd "
                               "N, 3 antisymmetric even N.")
        .def_property_readonly("multirate", &PyDesign::Multirate,
                               "A rate change's figures, as zantro-cli's JSON \"multirate\" object: kind, factor, "
                               "rates, the polyphase components, MACs per output and the alias attenuation; None "
                               "for other designs.")
        .def_property_readonly("methods", &PyDesign::Methods,
                               "What least squares, minimum phase, a pulse or a shaped Remez response report, as "
                               "zantro-cli's JSON \"methods\" object; None for the form's methods.")
        .def_property_readonly("requirement", &PyDesign::Requirement,
                               "zantro.to_requirement's search, as zantro-cli's \"to_spec\" object, with the "
                               "program's \"message\" after it; None for other designs.")
        .def("quantize", &PyDesign::Quantize, py::arg("format"), py::arg("rounding") = "nearest", kQuantizeDoc)
        .def(
            "save", [](const PyDesign& d, const py::object& path) { d.Save(PathFrom(path, "path")); },
            py::arg("path"), kSaveDoc)
        .def("__repr__", &PyDesign::Repr)
        // A sequence and array of its taps: np.asarray(d), scipy.signal.freqz(d), np.convolve(x, d).
        .def("__len__", [](const PyDesign& d) { return d.Values().size(); })
        .def("__getitem__", [](const PyDesign& d, const py::object& key) { return d.Taps()[key]; })
        .def("__iter__", [](const PyDesign& d) { return py::iter(d.Taps()); })
        .def(
            "__array__",
            [](const PyDesign& d, const py::object& dtype, const py::object& copy) {
                if (!dtype.is_none())
                    return d.Taps().attr("astype")(dtype);
                return !copy.is_none() && py::bool_(copy) ? d.Taps().attr("copy")() : d.Taps();
            },
            py::arg("dtype") = py::none(), py::arg("copy") = py::none())
        // A value: equal to a design of the same parameters with the same figures asked for.
        .def("__eq__", [](const PyDesign& a, const PyDesign& b) { return a == b; }, py::is_operator())
        .def("__hash__",
             [](const PyDesign& d) {
                 const std::vector<double>& v = d.Values();
                 return py::hash(py::bytes(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(double)));
             })
        .def("__copy__", [](const PyDesign& d) { return d; })
        .def(
            "__deepcopy__",
            [](const PyDesign& d, const py::dict& memo) { return d.DeepCopy(memo); }, py::arg("memo"))
        .def(py::pickle([](const PyDesign& d) { return d.State(); },
                        [](const py::tuple& state) { return PyDesign::FromState(state); }));

    m.def(
        "design",
        [](py::object type, py::object method, py::object window, py::object taps, py::object fs, py::object f1,
           py::object f2, py::object scaling, py::object scale, py::object sinx, py::object att, py::object beta,
           py::object gain, py::object sigma, py::object grid, py::object preset, py::object bands,
           py::object points, py::object decimate, py::object interpolate, py::object halfband,
           py::object aliasBands, py::object minPhase, py::object pulse, py::object rolloff, py::object bt,
           py::object sps, py::object span, py::object pulseGain, py::object cicComp, py::object inverseSinc) {
            py::dict kw;
            const std::pair<const char*, py::object*> given[] = {
                {"type", &type},          {"method", &method},       {"window", &window},
                {"taps", &taps},          {"fs", &fs},               {"f1", &f1},
                {"f2", &f2},              {"scaling", &scaling},     {"scale", &scale},
                {"sinx", &sinx},          {"att", &att},             {"beta", &beta},
                {"gain", &gain},          {"sigma", &sigma},         {"grid", &grid},
                {"preset", &preset},      {"bands", &bands},         {"points", &points},
                {"decimate", &decimate},  {"interpolate", &interpolate}, {"halfband", &halfband},
                {"alias_bands", &aliasBands}, {"min_phase", &minPhase}, {"pulse", &pulse},
                {"rolloff", &rolloff},    {"bt", &bt},               {"sps", &sps},
                {"span", &span},          {"pulse_gain", &pulseGain}, {"cic_comp", &cicComp},
                {"inverse_sinc", &inverseSinc}};
            for (const auto& [key, value] : given)
                kw[key] = *value;
            return DesignFromKeywords(kw);
        },
        py::kw_only(), py::arg("type") = py::none(), py::arg("method") = py::none(), py::arg("window") = py::none(),
        py::arg("taps") = py::none(), py::arg("fs") = py::none(), py::arg("f1") = py::none(),
        py::arg("f2") = py::none(), py::arg("scaling") = py::none(), py::arg("scale") = py::none(),
        py::arg("sinx") = py::none(), py::arg("att") = py::none(), py::arg("beta") = py::none(),
        py::arg("gain") = py::none(), py::arg("sigma") = py::none(), py::arg("grid") = py::none(),
        py::arg("preset") = py::none(), py::arg("bands") = py::none(), py::arg("points") = py::none(),
        py::arg("decimate") = py::none(), py::arg("interpolate") = py::none(), py::arg("halfband") = py::none(),
        py::arg("alias_bands") = py::none(), py::arg("min_phase") = py::none(), py::arg("pulse") = py::none(),
        py::arg("rolloff") = py::none(), py::arg("bt") = py::none(), py::arg("sps") = py::none(),
        py::arg("span") = py::none(), py::arg("pulse_gain") = py::none(), py::arg("cic_comp") = py::none(),
        py::arg("inverse_sinc") = py::none(), kDesignFnDoc);

    m.def(
        "to_requirement",
        [](py::object passBands, py::object stopBands, py::object fs, py::object method, py::object quantize,
           py::object type, py::object grid, py::object decimate, py::object interpolate, py::object halfband,
           py::object aliasBands, bool optimizeWords) {
            py::dict rate;
            for (const auto& [key, value] : {std::pair{"decimate", &decimate}, std::pair{"interpolate", &interpolate},
                                             std::pair{"halfband", &halfband}, std::pair{"alias_bands", &aliasBands}})
                if (!value->is_none() && !(py::isinstance<py::bool_>(*value) && !value->cast<bool>()))
                    rate[key] = *value;
            return DesignToRequirement(passBands, stopBands, fs, method, quantize, type, grid, rate, optimizeWords);
        },
        py::kw_only(), py::arg("pass_bands"), py::arg("stop_bands"), py::arg("fs") = 8000.0,
        py::arg("method") = "remez", py::arg("quantize") = py::none(), py::arg("type") = py::none(),
        py::arg("grid") = py::none(), py::arg("decimate") = py::none(), py::arg("interpolate") = py::none(),
        py::arg("halfband") = py::none(), py::arg("alias_bands") = py::none(), py::arg("optimize_words") = false,
        kToRequirementDoc);

    m.def("measure", &MeasureTaps, py::arg("taps"), py::arg("fs"), py::arg("bands") = py::none(),
          py::arg("quantize") = py::none(), py::arg("rounding") = "nearest", kMeasureDoc);

    m.def(
        "export",
        [](const py::object& what, const std::string& profile, const py::object& root, py::object fs,
           py::object bands, py::object passBands, py::object stopBands, py::object source, py::object wordLength,
           const std::string& rounding, py::object block, bool helium, py::object inputBits, py::object outputBits,
           const std::string& architecture, py::object clocksPerSample, bool pipeline, bool stream, bool testbench,
           bool optimizeWords) {
            return ExportFiles(what, profile, root,
                               ExportKeywords{std::move(fs), std::move(bands), std::move(passBands),
                                              std::move(stopBands), std::move(source), std::move(wordLength),
                                              rounding, std::move(block), helium, std::move(inputBits),
                                              std::move(outputBits), architecture, std::move(clocksPerSample),
                                              pipeline, stream, testbench, optimizeWords});
        },
        py::arg("design"), py::arg("profile"), py::arg("root"), py::kw_only(), py::arg("fs") = py::none(),
        py::arg("bands") = py::none(), py::arg("pass_bands") = py::none(), py::arg("stop_bands") = py::none(),
        py::arg("source") = py::none(), py::arg("word_length") = 16, py::arg("rounding") = "nearest",
        py::arg("block") = 32, py::arg("helium") = false, py::arg("input_bits") = 16,
        py::arg("output_bits") = py::none(), py::arg("architecture") = "parallel",
        py::arg("clocks_per_sample") = py::none(), py::arg("pipeline") = false, py::arg("stream") = false,
        py::arg("testbench") = false, py::arg("optimize_words") = false, kExportDoc);

    m.def("optimize_words", &OptimizeWordsOf, py::arg("taps"), py::arg("fs"), py::arg("quantize"), py::kw_only(),
          py::arg("pass_bands") = py::none(), py::arg("stop_bands") = py::none(), py::arg("bands") = py::none(),
          py::arg("rounding") = "nearest", kOptimizeWordsDoc);

    m.def("fewest_bits", &FewestBitsOf, py::arg("taps"), py::arg("fs"), py::kw_only(),
          py::arg("pass_bands") = py::none(), py::arg("stop_bands") = py::none(), py::arg("optimize") = true,
          py::arg("rounding") = "nearest", kFewestBitsDoc);

    m.def(
        "read_fir", [](const py::object& path) { return ReadFir(PathFrom(path, "path")); }, py::arg("path"),
        kReadFirDoc);

    // Calls Ctrl-C interrupted may still be finishing their work on threads
    // of their own; the interpreter waits for them before it goes.
    py::module_::import("atexit").attr("register")(py::cpp_function(&JoinInterruptedCalls));
}
