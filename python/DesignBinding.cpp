#include "python/DesignBinding.h"

#include <utility>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CZantroDoc.h"
#include "document/ExportWriters.h"
#include "dsp/MaskDerivation.h"
#include "document/DesignJson.h"
#include "python/DesignError.h"
#include "python/MessageCatcher.h"
#include "python/PyValues.h"

namespace {

QuantResult QuantizeDesign(const std::vector<double>& taps, const QuantSpec& spec, const DesignRequest& q,
                           const DesignOutcome& outcome)
{
    return QuantizeAndMeasure(taps, spec, q.samplingRate, outcome.mask, HasCornerCrossings(IndexOf(q.filterType)));
}

}  // namespace

PyDesign PyDesign::Run(const FormState& state)
{
    PyDesign d;
    d.m_requested = CopyOf(state);
    const DesignRequest request = state.Request();
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        d.m_outcome = Design(request);
        if (d.m_outcome.valid) {
            d.m_values = d.m_outcome.Taps();
            quantized = QuantizeDesign(d.m_values, QuantSpec{}, request, d.m_outcome);
        }
    }
    if (const std::optional<DesignNote> refusal = d.m_outcome.Refusal())
        throw DesignError(DesignMessage(*refusal));
    if (!d.m_outcome.valid)
        throw DesignError("No design.");
    for (const DesignNote& note : d.m_outcome.notes) {
        d.m_messages.push_back(DesignMessage(note));
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
    d.m_analysis = ToPython(AnalysisJson(d.m_outcome.figures, quantized, true));
    return d;
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
    const py::dict p = Parameters();
    return "<zantro.Design " + py::str(p["type"]).cast<std::string>() + " " +
           py::str(p["method"]).cast<std::string>() + ", " + std::to_string(m_values.size()) + " taps at " +
           std::to_string(m_requested.par.m_nSamplingRate) + " Hz" + (m_converged ? "" : ", did not converge") + ">";
}

py::object PyDesign::Quantize(const py::handle& format, const std::string& rounding) const
{
    const QuantSpec spec = QuantSpecFrom(format, rounding);
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        quantized = QuantizeDesign(m_values, spec, m_requested.Request(), m_outcome);
    }
    return ToPython(QuantizedJson(quantized));
}

void PyDesign::MeasureOn(const std::vector<MaskBand>& mask, const QuantSpec& spec)
{
    const bool crossings = HasCornerCrossings(m_requested.par.m_nFilterType);
    const double fs = m_requested.par.m_nSamplingRate;
    ResponseFigures figures;
    QuantResult quantized;
    {
        py::gil_scoped_release release;
        figures = MeasureResponse(m_values, fs, mask, crossings);
        quantized = QuantizeAndMeasure(m_values, spec, fs, mask, crossings);
    }
    m_analysis = ToPython(AnalysisJson(figures, quantized, false));
}

void PyDesign::Save(const std::string& path) const
{
    CZantroDoc doc;
    doc.m_FilPar = CopyOf(m_stored);
    MessageCatcher messages;
    if (!doc.OnSaveDocument(CZantroDoc::WithDefaultExtension(path), messages.Owner()))
        throw DesignError(messages.Text("Failed to save document."));
}

ExportDesign PyDesign::ForExport() const
{
    const CFilPar& p = m_stored;
    const DesignRequest q = m_requested.Request();
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
                           int wordLength, const std::string& rounding, int block, bool helium)
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
    options.wordLength = wordLength;
    options.rounding = RoundingFrom(rounding);
    options.blockSize = block;
    options.helium = helium;
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
