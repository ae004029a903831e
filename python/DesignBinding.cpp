#include "python/DesignBinding.h"

#include <utility>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CZantroDoc.h"
#include "document/ExportWriters.h"
#include "document/HdlFilterPlan.h"
#include "document/MethodExport.h"
#include "dsp/MaskDerivation.h"
#include "document/DesignJson.h"
#include "document/MethodJson.h"
#include "document/RateChangeReport.h"
#include "form/AnalysisTable.h"
#include "python/DesignError.h"
#include "python/WordBinding.h"
#include "python/KeywordDesign.h"
#include "python/MessageCatcher.h"
#include "python/PyValues.h"

namespace {

// A whole number lo..hi; outside, zantro-cli's usage error for the option
// with the keyword named.
int ExportInteger(const py::handle& value, const char* keyword, int lo, int hi)
{
    const int n = WholeFrom(value, keyword);
    if (n < lo || n > hi)
        throw DesignError(std::string(keyword) + ": Value " + std::to_string(n) + " not in range " +
                          std::to_string(lo) + " to " + std::to_string(hi));
    return n;
}

// A damaged document's method word: the form designs nothing of it.
constexpr const char* kMsgNoListMethod = "The document's design method is none of the form's list: no design.";

// The -3/-6 dB crossings are measured for the form's pass types only, as
// zantro-cli measures them.
bool Crossings(const FormDesign& design)
{
    return !design.method && !design.rateChange && HasCornerCrossings(design.fields.filterType);
}

QuantResult QuantizeDesign(const std::vector<double>& taps, const QuantSpec& quant, const FormDesign& design,
                           const DesignOutcome& outcome)
{
    return QuantizeAndMeasure(taps, quant, design.fields.samplingRate, outcome.mask, Crossings(design));
}



}  // namespace

PyDesign PyDesign::Run(const FormDesign& design, bool bandDialog, const DesignRequest* exact)
{
    PyDesign d;
    d.m_design = design;
    const std::optional<DesignRequest> mapped = exact ? std::optional<DesignRequest>(*exact) : RequestOf(design);
    if (!mapped)
        throw DesignError(kMsgNoListMethod);
    const DesignRequest& request = d.m_request = *mapped;
    if (bandDialog)
        if (const std::optional<std::string> refusal = RefusalText(request, true))
            throw DesignError(*refusal);
    QuantResult quantized;
    ResponseFigures figures;
    {
        py::gil_scoped_release release;
        d.m_outcome = Design(request);
        if (d.m_outcome.valid) {
            d.m_values = d.m_outcome.Taps();
            quantized = QuantizeDesign(d.m_values, QuantSpec{}, design, d.m_outcome);
            figures = Crossings(design) || design.rateChange
                          ? d.m_outcome.figures
                          : MeasureResponse(d.m_values, request.samplingRate, d.m_outcome.mask, false);
        }
    }
    if (const std::optional<DesignNote> refusal = d.m_outcome.Refusal())
        throw DesignError(DesignMessage(*refusal, request));
    if (!d.m_outcome.valid)
        throw DesignError("No design.");
    if (design.rateChange)
        d.m_messages = RateChangeMessages(request, d.m_outcome);
    for (const DesignNote& note : d.m_outcome.notes) {
        if (!design.rateChange)
            d.m_messages.push_back(DesignMessage(note, request));
        if (note.code == DesignCode::RemezNoConvergence)
            d.m_converged = false;
    }
    // The exchange's non-convergence is among the notes already.
    for (const std::string& warning : UnsoundDesignWarnings(true, d.m_outcome.figures))
        d.m_messages.push_back(warning);
    // What the form stores in the document after Design: its fields, the
    // applied scale factor in the scale field and N as designed.
    d.m_stored = design.fields;
    d.m_stored.irScale = d.m_outcome.gain;
    d.m_stored.taps = d.m_outcome.taps;
    d.m_taps = NumpyArray(d.m_values);
    d.m_taps.attr("setflags")(py::arg("write") = false);
    d.m_analysis = ToPython(AnalysisJson(figures, quantized, true));
    d.SetRateFigures(QuantSpec{});
    if (design.method)
        d.m_methods = ToPython(MethodsJson(d.m_outcome, request.samplingRate));
    return d;
}

py::dict PyDesign::Parameters() const
{
    return KeywordsOf(m_design);
}

void PyDesign::SetRateFigures(const QuantSpec& quant)
{
    if (m_design.rateChange)
        m_multirate = ToPython(RateChangeJson(m_outcome, m_request.samplingRate, quant));
}

py::object PyDesign::Passes() const
{
    if (m_design.fields.designMethod == DM_REMEZ && m_outcome.remez.ran && m_outcome.remez.passes > 0)
        return py::int_(m_outcome.remez.passes);
    return py::none();
}

py::list PyDesign::Messages() const
{
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
    return "<zantro.Design " + py::str(p["type"]).cast<std::string>() + " " + method + ", " + std::to_string(m_values.size()) + " taps at " +
           std::to_string(m_request.samplingRate) + " Hz" + (m_converged ? "" : ", did not converge") + ">";
}

py::object PyDesign::Quantize(const py::handle& format, const std::string& rounding) const
{
    const QuantSpec quant = QuantSpecFrom(format, rounding);
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        quantized = QuantizeDesign(m_values, quant, m_design, m_outcome);
    }
    return ToPython(QuantizedJson(quantized));
}

void PyDesign::MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& quant, bool bandsDerived)
{
    const bool crossings = Crossings(m_design);
    const double fs = m_request.samplingRate;
    ResponseFigures figures;
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        figures = MeasureResponse(m_values, fs, mask, crossings);
        quantized = QuantizeAndMeasure(m_values, quant, fs, mask, crossings);
    }
    m_analysis = ToPython(AnalysisJson(figures, quantized, bandsDerived));
}

void PyDesign::Save(const std::string& path) const
{
    CZantroDoc doc;
    StoreDesign(m_request, m_searched, m_stored, doc.m_FilPar);
    MessageCatcher messages;
    if (!doc.OnSaveDocument(CZantroDoc::WithDefaultExtension(path), messages.Owner()))
        throw DesignError(messages.Text("Failed to save document."));
}

ExportDesign PyDesign::ForExport() const
{
    const DesignRequest& q = m_request;
    if (m_design.method) {
        ExportDesign d = MethodExportDesign(q, m_values, m_outcome.gain);
        d.converged = m_converged;
        return d;
    }
    if (m_design.rateChange)
        return RateChangeExportDesign(q, m_outcome);
    const FormFields& p = m_stored;
    ExportDesign d;
    d.outline = OutlineOf(p, p.taps, m_outcome.gain);
    d.irScaling = p.irScaling;
    d.sinXComp = p.sinXComp;
    d.variance = p.variance;
    d.gridDensity = p.gridDensity;
    d.taps = m_values;
    d.bands = m_outcome.mask;
    d.crossings = HasCornerCrossings(p.filterType);
    d.figures = m_outcome.figures;
    d.converged = m_converged;
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

py::list ExportDesignFiles(const PyDesign& design, const std::string& profile, const std::string& root,
                           const py::object& wordLength, const std::string& rounding, const py::object& block,
                           bool helium, const py::object& inputBits, const py::object& outputBits,
                           const std::string& architecture, const py::object& clocksPerSample, bool pipeline,
                           bool stream, bool testbench, bool optimizeWords, const py::object& passBands,
                           const py::object& stopBands)
{
    const std::optional<ExportProfile> parsed = ParseExportProfile(profile);
    if (!parsed) {
        std::string names;
        for (int i = 0; i < kExportProfileCount; ++i)
            names += (names.empty() ? "" : ", ") + std::string(ExportProfileName(static_cast<ExportProfile>(i)));
        throw DesignError("profile must be one of " + names + ", not \"" + profile + "\"");
    }
    ExportOptions options;
    options.profile = *parsed;
    options.root = root;
    // zantro-cli refuses these ranges as usage errors, whatever the profile.
    options.wordLength = ExportInteger(wordLength, "word_length", 2, 32);
    options.rounding = RoundingFrom(rounding);
    options.blockSize = ExportInteger(block, "block", kMinExportBlockSize, kMaxExportBlockSize);
    options.helium = helium;
    options.inputBits = ExportInteger(inputBits, "input_bits", kMinHdlInputBits, kMaxHdlInputBits);
    options.outputBits =
        outputBits.is_none() ? 0 : ExportInteger(outputBits, "output_bits", kMinHdlOutputBits, kMaxHdlOutputBits);
    if (!ParseHdlArchitecture(architecture, options.filter.architecture))
        throw DesignError("architecture must be parallel, folded or multiplierless, not \"" + architecture + "\"");
    const bool folded = options.filter.architecture == HdlArchitecture::Folded;
    if (!clocksPerSample.is_none() && !folded)
        throw DesignError("clocks_per_sample does not apply to architecture " + architecture + " (only to folded)");
    if (pipeline && folded)
        throw DesignError("pipeline does not apply to architecture folded (only to parallel, multiplierless)");
    if (!clocksPerSample.is_none())
        options.filter.clocksPerSample =
            ExportInteger(clocksPerSample, "clocks_per_sample", kMinHdlClocksPerSample, kMaxHdlClocksPerSample);
    options.filter.pipeline = pipeline;
    options.stream = stream;
    options.testbench = testbench;
    ExportDesign exported = design.ForExport();
    QuantSpec words;
    words.format = QuantFormat::Bits;
    words.wordLength = options.wordLength;
    words.rounding = options.rounding;
    exported.chosenWords = ExportWordsOf(exported, optimizeWords, passBands, stopBands, words);
    MessageCatcher messages;
    bool written = false;
    {
        py::gil_scoped_release release;
        written = WriteExport(exported, options, messages.Owner());
    }
    if (!written)
        throw DesignError(messages.Text("The export failed."));
    py::list paths;
    for (const std::string& path : ExportFilePaths(options))
        paths.append(path);
    return paths;
}
