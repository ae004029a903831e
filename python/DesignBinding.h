#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

#include "design/DesignOutcome.h"
#include "document/DesignExtension.h"
#include "document/ExportProfile.h"
#include "form/FormRequest.h"

namespace py = pybind11;

// zantro.Design: one finished design. It keeps the form's fields and
// dialog answers it was made from, their request, and what the design gave
// (taps, scaling, status), so it can be quantised, exported and saved as
// the form would. A design is a value: its taps are read-only, what it
// measures is computed when first asked for (the analysis, the multirate
// and methods objects, an export's figures) and kept, and copies share
// what they can.
class PyDesign {
public:
    // Designs the request of design (RequestOf), or exact when given (a
    // document's stored request), with the GIL released, unmeasured;
    // DesignError with the form's message when it is refused (bandDialog:
    // the band table is a document's, as the band dialog loads it).
    static PyDesign Run(const FormDesign& design, bool bandDialog = false, const DesignRequest* exact = nullptr);

    py::object Taps() const { return m_taps; }
    const std::vector<double>& Values() const { return m_values; }
    bool Converged() const { return m_converged; }
    py::object Passes() const;
    // The design's notes, then why it is unsound (measured when first asked for).
    py::list Messages();
    // zantro-cli's JSON "analysis" object, measured the first time.
    py::object Analysis();
    py::dict Parameters() const;
    double SamplingRate() const { return m_request.samplingRate; }
    double Gain() const { return m_outcome->outcome.gain; }
    double IrPeak() const { return m_outcome->outcome.irPeak; }
    std::string ScaleText() const { return ::ScaleText(m_outcome->outcome.gain); }
    int FirType() const { return m_outcome->outcome.firType; }
    // zantro.to_requirement's search result; None for other designs.
    py::object Requirement() const { return m_requirement; }
    void SetRequirement(py::object requirement) { m_requirement = std::move(requirement); }
    // The requirement a search designed it for, kept by save() and read_fir.
    void SetSearched(const SpecRequirement& requirement) { m_searched = requirement; }
    const std::optional<SpecRequirement>& Searched() const { return m_searched; }
    std::string Repr() const;

    // The analysis measures other bands (no longer derived from the design)
    // in quant's format.
    void MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& quant);
    // The analysis measures the design's own bands in quant's format.
    void QuantizeAnalysis(const QuantSpec& quant);
    // The analysis holds the words of its format chosen for requirement
    // (its "optimized" object).
    void ChooseAnalysisWords(const std::vector<SpecBand>& requirement);
    // The bands the design is measured on.
    const std::vector<MaskBand>& Mask() const { return m_mask; }
    // A rate change's "multirate" object gives the alias attenuation in quant's format.
    void SetRateFigures(const QuantSpec& quant);
    // zantro-cli's "multirate" object of a rate change; None otherwise.
    py::object Multirate();
    // zantro-cli's "methods" object of the methods beside the form's; None otherwise.
    py::object Methods();
    // The "quantized" object of the analysis for another format.
    py::object Quantize(const py::handle& format, const std::string& rounding) const;
    // File > Save As of the form after this design: the ".fir" document.
    void Save(const std::string& path) const;
    // The design as the export describes it (measured when not yet).
    ExportDesign ForExport();

    // A copy holding copies of the dicts (copy.deepcopy with memo) and of the taps.
    PyDesign DeepCopy(const py::dict& memo) const;

    // Same parameters, taps, requirement and what the analysis measures.
    bool operator==(const PyDesign& other) const;
    // What pickling keeps: the parameters, the requirement and what the
    // analysis measures; FromState designs them again.
    py::tuple State() const;
    static PyDesign FromState(const py::tuple& state);

private:
    // The design's outcome, shared by copies; the measured part (mask,
    // figures, a rate change's polyphase figures) written once, with the
    // GIL released, under the mutex.
    struct SharedOutcome {
        DesignOutcome outcome;
        std::mutex mutex;
        std::atomic<bool> measured{false};
    };
    const DesignOutcome& MeasuredOutcome();
    // The exact request (a document's) and the searched requirement.
    DesignExtension Stored() const;

    FormDesign m_design;          // as the keywords (or the document) gave it
    bool m_bandDialog = false;
    bool m_exact = false;         // m_request is a document's stored request
    DesignRequest m_request;
    FormFields m_stored;          // as the form stores them after the design
    std::optional<SpecRequirement> m_searched;
    std::shared_ptr<SharedOutcome> m_outcome;
    std::vector<double> m_values; // the taps
    std::vector<MaskBand> m_mask; // the design's own bands
    bool m_converged = true;
    std::vector<std::string> m_messages;
    bool m_warned = false;        // m_messages holds the unsound design's warnings
    // What the analysis measures: other bands than the design's, the format.
    std::optional<std::vector<MaskBand>> m_analysisBands;
    QuantSpec m_analysisQuant;
    std::optional<std::vector<SpecBand>> m_analysisWords;
    QuantSpec m_rateQuant;
    py::object m_taps;
    py::object m_analysis;        // null until asked for, as the two below
    py::object m_multirate;
    py::object m_methods;
    py::object m_requirement = py::none();
};

// zantro.design: the form's defaults changed by the keywords, designed.
PyDesign DesignFromKeywords(const py::dict& keywords);
// zantro.read_fir: File > Open, then the design of the opened document.
PyDesign ReadFir(const std::string& path);
