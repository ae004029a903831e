#include "python/DesignBinding.h"

#include <utility>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CZantroDoc.h"
#include "document/DesignJson.h"
#include "document/MethodExport.h"
#include "document/MethodJson.h"
#include "document/RateChangeReport.h"
#include "dsp/MaskDerivation.h"
#include "form/AnalysisTable.h"
#include "python/DesignError.h"
#include "python/DesignState.h"
#include "python/KeywordDesign.h"
#include "python/MessageCatcher.h"
#include "python/PyValues.h"
#include "python/WordBinding.h"

namespace {

// A damaged document's method word: the form designs nothing of it.
constexpr const char* kMsgNoListMethod = "The document's design method is none of the form's list: no design.";

// The -3/-6 dB crossings are measured for the form's pass types only, as
// zantro-cli measures them.
bool Crossings(const FormDesign& design)
{
    return !design.method && !design.rateChange && HasCornerCrossings(design.fields.filterType);
}


}  // namespace

PyDesign PyDesign::Run(const FormDesign& design, bool bandDialog, const DesignRequest* exact)
{
    PyDesign d;
    d.m_design = design;
    d.m_bandDialog = bandDialog;
    d.m_exact = exact != nullptr;
    const std::optional<DesignRequest> mapped = exact ? std::optional<DesignRequest>(*exact) : RequestOf(design);
    if (!mapped)
        throw DesignError(kMsgNoListMethod);
    d.m_request = *mapped;
    d.m_request.measure = false;
    const DesignRequest& request = d.m_request;
    if (bandDialog)
        if (const std::optional<std::string> refusal = RefusalText(request, true))
            throw DesignError(*refusal);
    d.m_outcome = std::make_shared<SharedOutcome>();
    DesignOutcome& outcome = d.m_outcome->outcome;
    {
        py::gil_scoped_release release;
        outcome = Design(request);
        if (outcome.valid) {
            d.m_values = outcome.Taps();
            d.m_mask = MeasurementMask(request, outcome);
        }
    }
    if (const std::optional<DesignNote> refusal = outcome.Refusal())
        throw DesignError(DesignMessage(*refusal, request));
    if (!outcome.valid)
        throw DesignError("No design.");
    if (design.rateChange)
        d.m_messages = RateChangeMessages(request, outcome);
    for (const DesignNote& note : outcome.notes) {
        if (!design.rateChange)
            d.m_messages.push_back(DesignMessage(note, request));
        if (note.code == DesignCode::RemezNoConvergence)
            d.m_converged = false;
    }
    // What the form stores in the document after Design: its fields, the
    // applied scale factor in the scale field and N as designed.
    d.m_stored = design.fields;
    d.m_stored.irScale = outcome.gain;
    d.m_stored.taps = outcome.taps;
    d.m_taps = NumpyArray(d.m_values);
    d.m_taps.attr("setflags")(py::arg("write") = false);
    return d;
}

const DesignOutcome& PyDesign::MeasuredOutcome()
{
    SharedOutcome& shared = *m_outcome;
    if (!shared.measured.load(std::memory_order_acquire)) {
        // The mutex is taken only without the GIL: a thread waiting for it
        // never holds up the one measuring.
        py::gil_scoped_release release;
        std::lock_guard lock(shared.mutex);
        if (!shared.measured.load(std::memory_order_relaxed)) {
            MeasureOutcome(m_request, shared.outcome);
            shared.measured.store(true, std::memory_order_release);
        }
    }
    return shared.outcome;
}

py::object PyDesign::Analysis()
{
    if (m_analysis)
        return m_analysis;
    const std::vector<MaskBand>& mask = m_analysisBands ? *m_analysisBands : m_mask;
    const bool crossings = Crossings(m_design);
    const double fs = m_request.samplingRate;
    // The form's designs and rate changes are measured on their own bands
    // as Design measures them; the methods beside the form's without the
    // crossings, as zantro-cli measures them.
    const bool asDesigned = !m_analysisBands && !m_design.method;
    ResponseFigures figures = asDesigned ? MeasuredOutcome().figures : ResponseFigures{};
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        if (!asDesigned)
            figures = MeasureResponse(m_values, fs, mask, crossings);
        quantized = QuantizeAndMeasure(m_values, m_analysisQuant, fs, mask, crossings);
    }
    py::dict analysis = ToPython(AnalysisJson(figures, quantized, !m_analysisBands));
    if (m_analysisWords)
        analysis["optimized"] =
            ToPython(OptimizedJson(ChooseWordsStoppably(m_values, fs, mask, {m_analysisQuant, *m_analysisWords})));
    m_analysis = analysis;
    return m_analysis;
}

void PyDesign::MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& quant)
{
    m_analysisBands = mask;
    m_analysisQuant = quant;
    m_analysis = py::object();
}

void PyDesign::ChooseAnalysisWords(const std::vector<SpecBand>& requirement)
{
    m_analysisWords = requirement;
    m_analysis = py::object();
}

void PyDesign::QuantizeAnalysis(const QuantSpec& quant)
{
    m_analysisQuant = quant;
    m_analysis = py::object();
}

py::dict PyDesign::Parameters() const
{
    return KeywordsOf(m_design);
}

void PyDesign::SetRateFigures(const QuantSpec& quant)
{
    m_rateQuant = quant;
    m_multirate = py::object();
}

py::object PyDesign::Multirate()
{
    if (!m_design.rateChange)
        return py::none();
    if (!m_multirate) {
        const DesignOutcome& measured = MeasuredOutcome();
        nlohmann::ordered_json json;
        {
            py::gil_scoped_release release;
            json = RateChangeJson(measured, m_request.samplingRate, m_rateQuant);
        }
        m_multirate = ToPython(json);
    }
    return m_multirate;
}

py::object PyDesign::Methods()
{
    if (!m_design.method)
        return py::none();
    if (!m_methods)
        m_methods = ToPython(MethodsJson(m_outcome->outcome, m_request.samplingRate));
    return m_methods;
}

py::object PyDesign::Passes() const
{
    const RemezReport& remez = m_outcome->outcome.remez;
    if (m_design.fields.designMethod == DM_REMEZ && remez.ran && remez.passes > 0)
        return py::int_(remez.passes);
    return py::none();
}

py::list PyDesign::Messages()
{
    // Whether the whole response rises above the pass band is known once
    // the design is measured (the exchange's non-convergence is among the
    // notes already).
    if (!m_warned) {
        const std::vector<std::string> warnings = UnsoundDesignWarnings(true, MeasuredOutcome().figures);
        // Another thread may have added them while this one measured without the GIL.
        if (!m_warned) {
            m_messages.insert(m_messages.end(), warnings.begin(), warnings.end());
            m_warned = true;
        }
    }
    py::list list;
    for (const std::string& m : m_messages)
        list.append(m);
    return list;
}

std::string PyDesign::Repr() const
{
    const py::dict p = Parameters();
    const std::string method = p.contains("pulse")    ? "pulse " + py::str(p["pulse"]).cast<std::string>()
                               : p.contains("method") ? py::str(p["method"]).cast<std::string>()
                                                      : std::string();
    return "<zantro.Design " + py::str(p["type"]).cast<std::string>() + " " + method + ", " +
           std::to_string(m_values.size()) + " taps at " + std::to_string(m_request.samplingRate) + " Hz" +
           (m_converged ? "" : ", did not converge") + ">";
}

py::object PyDesign::Quantize(const py::handle& format, const std::string& rounding) const
{
    const QuantSpec quant = QuantSpecFrom(format, rounding);
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        quantized = QuantizeAndMeasure(m_values, quant, m_request.samplingRate, m_mask, Crossings(m_design));
    }
    return ToPython(QuantizedJson(quantized));
}

void PyDesign::Save(const std::string& path) const
{
    CZantroDoc doc;
    StoreDesign(m_request, m_searched, m_stored, doc.m_FilPar);
    MessageCatcher messages;
    if (!doc.OnSaveDocument(CZantroDoc::WithDefaultExtension(path), messages.Owner()))
        throw DesignError(messages.Text("Failed to save document."));
}

ExportDesign PyDesign::ForExport()
{
    const DesignRequest& q = m_request;
    if (m_design.method) {
        const double gain = m_outcome->outcome.gain;
        ExportDesign d;
        {
            py::gil_scoped_release release;
            d = MethodExportDesign(q, m_values, gain);
        }
        d.converged = m_converged;
        return d;
    }
    const DesignOutcome& measured = MeasuredOutcome();
    if (m_design.rateChange)
        return RateChangeExportDesign(q, measured);
    const FormFields& p = m_stored;
    ExportDesign d;
    d.outline = OutlineOf(p, p.taps, measured.gain);
    d.irScaling = p.irScaling;
    d.sinXComp = p.sinXComp;
    d.variance = p.variance;
    d.gridDensity = p.gridDensity;
    d.taps = m_values;
    d.bands = measured.mask;
    d.crossings = HasCornerCrossings(p.filterType);
    d.figures = measured.figures;
    d.converged = m_converged;
    return d;
}

namespace {

bool SameQuant(const QuantSpec& a, const QuantSpec& b)
{
    return a.format == b.format && a.wordLength == b.wordLength && a.fractionLength == b.fractionLength &&
           a.rounding == b.rounding;
}

}  // namespace

DesignExtension PyDesign::Stored() const
{
    return DesignExtension{m_exact ? std::optional(m_request) : std::nullopt, m_searched};
}

bool PyDesign::operator==(const PyDesign& other) const
{
    return m_design == other.m_design && Stored() == other.Stored() && m_values == other.m_values &&
           m_analysisBands == other.m_analysisBands && SameQuant(m_analysisQuant, other.m_analysisQuant) &&
           SameQuant(m_rateQuant, other.m_rateQuant) && m_requirement.equal(other.m_requirement) &&
           SpecBandsState(m_analysisWords).equal(SpecBandsState(other.m_analysisWords));
}

PyDesign PyDesign::DeepCopy(const py::dict& memo) const
{
    PyDesign d = *this;
    const py::object deepcopy = py::module_::import("copy").attr("deepcopy");
    for (py::object* value : {&d.m_analysis, &d.m_multirate, &d.m_methods, &d.m_requirement})
        if (*value)
            *value = deepcopy(*value, memo);
    d.m_taps = NumpyArray(m_values);
    d.m_taps.attr("setflags")(py::arg("write") = false);
    return d;
}

py::tuple PyDesign::State() const
{
    return py::make_tuple(kDesignStateVersion, FormDesignState(m_design), m_bandDialog,
                          m_analysisBands ? MaskState(*m_analysisBands) : py::object(py::none()),
                          QuantState(m_analysisQuant), QuantState(m_rateQuant), m_requirement,
                          ExtensionState(Stored()), SpecBandsState(m_analysisWords));
}

PyDesign PyDesign::FromState(const py::tuple& state)
{
    if (state.size() != 9 || !py::isinstance<py::int_>(state[0]) || state[0].cast<int>() != kDesignStateVersion)
        throw DesignError("This pickled zantro.Design was written by another version of the module.");
    const DesignExtension stored = ExtensionFromState(state[7]);
    PyDesign d = Run(FormDesignFromState(state[1]), state[2].cast<bool>(),
                     stored.request ? &*stored.request : nullptr);
    d.m_searched = stored.requirement;
    d.m_analysisWords = SpecBandsFromState(state[8]);
    if (!state[3].is_none())
        d.m_analysisBands = MaskFromState(state[3]);
    d.m_analysisQuant = QuantFromState(state[4]);
    d.m_rateQuant = QuantFromState(state[5]);
    d.m_requirement = state[6];
    return d;
}

PyDesign DesignFromKeywords(const py::dict& keywords)
{
    return PyDesign::Run(FormDesignOf(keywords));
}

PyDesign ReadFir(const std::string& path)
{
    CZantroDoc doc;
    MessageCatcher messages;
    if (!doc.OnOpenDocument(path, messages.Owner()))
        throw DesignError(messages.Text("Failed to open document."));
    const std::optional<DesignExtension>& stored = doc.m_FilPar.m_Extension;
    if (!stored || !stored->request)
        return PyDesign::Run(FormDesign{AsLoaded(FieldsOf(doc.m_FilPar))}, true);
    // The design as stored, every value exact; judged by its requirement.
    const DesignRequest& request = *stored->request;
    PyDesign design = PyDesign::Run(FormDesignOf(request, FieldsOf(doc.m_FilPar)), false, &request);
    if (stored->requirement) {
        design.SetSearched(*stored->requirement);
        design.MeasureOn(RequirementMask(*stored->requirement), QuantSpec{});
    }
    return design;
}
