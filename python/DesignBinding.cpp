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
#include "python/DesignError.h"
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

// The -3/-6 dB crossings are measured for the form's pass types only, as
// zantro-cli measures them.
bool Crossings(const FormState& state)
{
    return !state.UsesNewMethods() && !state.UsesRateChange() && HasCornerCrossings(state.par.m_nFilterType);
}

QuantResult QuantizeDesign(const std::vector<double>& taps, const QuantSpec& quant, const FormState& state,
                           const DesignOutcome& outcome)
{
    return QuantizeAndMeasure(taps, quant, state.par.m_nSamplingRate, outcome.mask, Crossings(state));
}

// What the form's own design only can be saved as.
void RefuseBeside(const FormState& state, const char* what)
{
    if (state.UsesNewMethods())
        throw DesignError(std::string(what) + " takes the form's four methods and rate changes, not method \"ls\", "
                                              "min_phase, pulse, cic_comp or inverse_sinc");
}

}  // namespace

PyDesign PyDesign::Run(const FormState& state)
{
    PyDesign d;
    d.m_requested = CopyOf(state);
    const DesignRequest request = state.Request();
    QuantResult quantized;
    ResponseFigures figures;
    {
        py::gil_scoped_release release;
        d.m_outcome = Design(request);
        if (d.m_outcome.valid) {
            d.m_values = d.m_outcome.Taps();
            quantized = QuantizeDesign(d.m_values, QuantSpec{}, state, d.m_outcome);
            figures = Crossings(state) || state.UsesRateChange()
                          ? d.m_outcome.figures
                          : MeasureResponse(d.m_values, request.samplingRate, d.m_outcome.mask, false);
        }
    }
    if (const std::optional<DesignNote> refusal = d.m_outcome.Refusal())
        throw DesignError(DesignMessage(*refusal, request));
    if (!d.m_outcome.valid)
        throw DesignError("No design.");
    if (state.UsesRateChange())
        d.m_messages = RateChangeMessages(request, d.m_outcome);
    for (const DesignNote& note : d.m_outcome.notes) {
        if (!state.UsesRateChange())
            d.m_messages.push_back(DesignMessage(note, request));
        if (note.code == DesignCode::RemezNoConvergence)
            d.m_converged = false;
    }
    // What the form stores in the document after Design: its fields, the
    // applied scale factor in the scale field and N as designed.
    d.m_stored = CopyOf(state.par);
    d.m_stored.m_dIRScale = d.m_outcome.gain;
    d.m_stored.m_nTaps = d.m_outcome.taps;
    d.m_taps = NumpyArray(d.m_values);
    d.m_taps.attr("setflags")(py::arg("write") = false);
    d.m_analysis = ToPython(AnalysisJson(figures, quantized, true));
    d.SetRateFigures(QuantSpec{});
    if (state.UsesNewMethods())
        d.m_methods = ToPython(MethodsJson(d.m_outcome, request.samplingRate));
    return d;
}

void PyDesign::SetRateFigures(const QuantSpec& quant)
{
    if (m_requested.UsesRateChange())
        m_multirate = ToPython(RateChangeJson(m_outcome, m_requested.par.m_nSamplingRate, quant));
}

py::object PyDesign::Passes() const
{
    if (m_requested.par.m_nDesignMethod == DM_REMEZ && m_outcome.remez.ran && m_outcome.remez.passes > 0)
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
    const py::dict p = m_requested.Parameters();
    const std::string method = p.contains("pulse")    ? "pulse " + py::str(p["pulse"]).cast<std::string>()
                               : p.contains("method") ? py::str(p["method"]).cast<std::string>()
                                                      : std::string();
    return "<zantro.Design " + py::str(p["type"]).cast<std::string>() + " " + method + ", " + std::to_string(m_values.size()) + " taps at " +
           std::to_string(m_requested.par.m_nSamplingRate) + " Hz" + (m_converged ? "" : ", did not converge") + ">";
}

py::object PyDesign::Quantize(const py::handle& format, const std::string& rounding) const
{
    const QuantSpec quant = QuantSpecFrom(format, rounding);
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        quantized = QuantizeDesign(m_values, quant, m_requested, m_outcome);
    }
    return ToPython(QuantizedJson(quantized));
}

void PyDesign::MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& quant, bool bandsDerived)
{
    const bool crossings = Crossings(m_requested);
    const double fs = m_requested.par.m_nSamplingRate;
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
    RefuseBeside(m_requested, "A .fir document");
    if (m_requested.UsesRateChange())
        throw DesignError("A .fir document holds the form's designs, not a rate change's lowpass");
    CZantroDoc doc;
    doc.m_FilPar = CopyOf(m_stored);
    MessageCatcher messages;
    if (!doc.OnSaveDocument(CZantroDoc::WithDefaultExtension(path), messages.Owner()))
        throw DesignError(messages.Text("Failed to save document."));
}

ExportDesign PyDesign::ForExport() const
{
    const DesignRequest q = m_requested.Request();
    if (m_requested.UsesNewMethods())
        return MethodExportDesign(q, m_values, m_outcome.gain);
    if (m_requested.UsesRateChange())
        return RateChangeExportDesign(q, m_outcome);
    const CFilPar& p = m_stored;
    ExportDesign d;
    DesignOutline& o = d.outline;
    o.filterType = p.m_nFilterType;
    o.designMethod = p.m_nDesignMethod;
    o.windowType = p.m_nWindowType;
    o.taps = p.m_nTaps;
    o.fs = p.m_nSamplingRate;
    o.firstCorner = p.m_nFirstCorner;
    o.secondCorner = p.m_nSecondCorner;
    o.shapeFactor = p.m_dShapeFactor;
    o.stopbandAtt = p.m_nStopbandAtt;
    o.diffGain = DifferentiatorGainOf(q);
    o.gain = m_outcome.gain;
    o.remezBands.assign(p.m_Bands, p.m_Bands + kBandCount);
    if (p.m_bInputData)
        for (int i = 0; i < p.m_InputData.m_nCount; ++i)
            o.inputData.push_back(p.m_InputData.GetValue(i, 0));
    d.irScaling = p.m_nIRScaling;
    d.sinXComp = p.m_bSinXComp != 0;
    d.variance = p.m_dVariance;
    d.gridDensity = p.m_nGridDensity;
    d.taps = m_values;
    d.bands = m_outcome.mask;
    d.crossings = HasCornerCrossings(p.m_nFilterType);
    d.figures = m_outcome.figures;
    return d;
}

PyDesign DesignFromKeywords(const py::dict& keywords)
{
    FormState state = FormState::NewDocument();
    state.Apply(keywords);
    return PyDesign::Run(state);
}

PyDesign ReadFir(const std::string& path)
{
    CZantroDoc doc;
    MessageCatcher messages;
    if (!doc.OnOpenDocument(path, messages.Owner()))
        throw DesignError(messages.Text("Failed to open document."));
    FormState state;
    state.par = std::move(doc.m_FilPar);
    state.AnswerDialogsAsShown();
    return PyDesign::Run(state);
}

py::list ExportDesignFiles(const PyDesign& design, const std::string& profile, const std::string& root,
                           const py::object& wordLength, const std::string& rounding, const py::object& block,
                           bool helium, const py::object& inputBits, const py::object& outputBits,
                           const std::string& architecture, const py::object& clocksPerSample, bool pipeline,
                           bool stream, bool testbench)
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
    const ExportDesign exported = design.ForExport();
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
