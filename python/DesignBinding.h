#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

#include "design/DesignOutcome.h"
#include "document/ExportProfile.h"
#include "form/FormRequest.h"

namespace py = pybind11;

// zantro.Design: one finished design. It keeps the form's fields and
// dialog answers it was made from, their request, and what the design gave
// (taps, scaling, status, figures), so it can be quantised, exported and
// saved as the form would.
class PyDesign {
public:
    // Designs the request of design (RequestOf), or exact when given (a
    // document's stored request), with the GIL released; DesignError with
    // the form's message when it is refused (bandDialog: the band table is a
    // document's, as the band dialog loads it).
    static PyDesign Run(const FormDesign& design, bool bandDialog = false, const DesignRequest* exact = nullptr);

    py::object Taps() const { return m_taps; }
    bool Converged() const { return m_converged; }
    py::object Passes() const;
    py::list Messages() const;
    py::object Analysis() const { return m_analysis; }
    py::dict Parameters() const;
    double SamplingRate() const { return m_request.samplingRate; }
    double Gain() const { return m_outcome.gain; }
    double IrPeak() const { return m_outcome.irPeak; }
    std::string ScaleText() const { return ::ScaleText(m_outcome.gain); }
    int FirType() const { return m_outcome.firType; }
    // zantro.to_requirement's search result; None for other designs.
    py::object Requirement() const { return m_requirement; }
    void SetRequirement(py::object requirement) { m_requirement = std::move(requirement); }
    // The requirement a search designed it for, kept by save() and read_fir.
    void SetSearched(const SpecRequirement& requirement) { m_searched = requirement; }
    const std::optional<SpecRequirement>& Searched() const { return m_searched; }
    std::string Repr() const;

    // Measures the taps again on other bands (bandsDerived false: no longer
    // derived from the design), quantised to quant's format.
    void MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& quant, bool bandsDerived = false);
    // The bands the design was measured on.
    const std::vector<MaskBand>& Mask() const { return m_outcome.mask; }
    // A rate change's "multirate" object with the alias attenuation in quant's format.
    void SetRateFigures(const QuantSpec& quant);
    // zantro-cli's "multirate" object of a rate change; None otherwise.
    py::object Multirate() const { return m_multirate; }
    // zantro-cli's "methods" object of the methods beside the form's; None otherwise.
    py::object Methods() const { return m_methods; }
    // The "quantized" object of the analysis for another format.
    py::object Quantize(const py::handle& format, const std::string& rounding) const;
    // File > Save As of the form after this design: the ".fir" document.
    void Save(const std::string& path) const;
    // The design as the export describes it.
    ExportDesign ForExport() const;

private:
    FormDesign m_design;          // as the keywords (or the document) gave it
    DesignRequest m_request;
    FormFields m_stored;          // as the form stores them after the design
    std::optional<SpecRequirement> m_searched;
    DesignOutcome m_outcome;
    std::vector<double> m_values; // the taps
    bool m_converged = true;
    std::vector<std::string> m_messages;
    py::object m_taps;
    py::object m_analysis;
    py::object m_requirement = py::none();
    py::object m_multirate = py::none();
    py::object m_methods = py::none();
};

// zantro.design: the form's defaults changed by the keywords, designed.
PyDesign DesignFromKeywords(const py::dict& keywords);
// zantro.read_fir: File > Open, then the design of the opened document.
PyDesign ReadFir(const std::string& path);
// zantro.export: File > Export... after the design; the paths written.
// wordLength 2..32, block 1..65536, inputBits 2..32, outputBits 2..128
// (None: the accumulator's width) and clocksPerSample 1..1024 (None: 4) as
// zantro-cli --export takes them; a value outside raises DesignError with
// zantro-cli's usage text, and so do clocksPerSample or pipeline with an
// architecture they do not apply to.
py::list ExportDesignFiles(const PyDesign& design, const std::string& profile, const std::string& root,
                           const py::object& wordLength, const std::string& rounding, const py::object& block,
                           bool helium, const py::object& inputBits, const py::object& outputBits,
                           const std::string& architecture, const py::object& clocksPerSample, bool pipeline,
                           bool stream, bool testbench, bool optimizeWords, const py::object& passBands,
                           const py::object& stopBands);
