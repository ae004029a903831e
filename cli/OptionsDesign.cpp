#include "cli/OptionsDesign.h"

#include <numbers>
#include <ostream>

#include "cli/CliNumbers.h"
#include "cli/MethodOptions.h"
#include "document/CZantroDoc.h"
#include "platform/CWnd.h"
#include "platform/ScriptedHost.h"
#include "platform/TextFormat.h"

namespace {

// "pi", "pi/2", "1" or a number, as the differentiator dialog's choices.
double GainOf(const std::string& text)
{
    const std::string key = Lower(text);
    if (key == "pi")
        return std::numbers::pi;
    if (key == "pi/2")
        return std::numbers::pi / 2.0;
    return TextToDouble(text);
}

}  // namespace

FormDesign FormDesignOf(const CliOptions& o)
{
    FormDesign d;
    FormFields& f = d.fields;
    f = NewDocumentFields();
    if (o.multirate.kind)
        SetRateChangeDefaults(f);
    if (o.filterType)
        f.filterType = *o.filterType;
    if (o.designMethod && *o.designMethod != kCliLeastSquares)
        f.designMethod = *o.designMethod;
    if (o.windowType)
        f.windowType = *o.windowType;
    f.taps = WholeNumberText(o.taps, f.taps);
    f.samplingRate = WholeNumberText(o.samplingRate, f.samplingRate);
    f.firstCorner = WholeNumberText(o.firstCorner, f.firstCorner);
    f.secondCorner = WholeNumberText(o.secondCorner, f.secondCorner);
    if (o.irScaling)
        f.irScaling = *o.irScaling;
    if (o.scale)
        f.irScale = TextToDouble(*o.scale);
    f.sinXComp = o.sinXComp;
    f.stopbandAtt = WholeNumberText(o.stopbandAtt, f.stopbandAtt);
    if (o.shapeFactor)
        f.shapeFactor = TextToDouble(*o.shapeFactor);
    if (o.variance)
        f.variance = TextToDouble(*o.variance);
    if (o.diffGain)
        f.diffGain = GainOf(*o.diffGain);
    if (!o.bands.empty()) {
        f.bands.assign(kBandCount, RemezBand{});
        for (size_t row = 0; row < o.bands.size() && row < f.bands.size(); ++row) {
            const CliOptions::Band& b = o.bands[row];
            f.bands[row] = RemezBand{1, WholeNumberText(b.lower, -1), WholeNumberText(b.upper, -1),
                                     TextToDouble(b.value), TextToDouble(b.weight)};
        }
    }
    f.gridDensity = WholeNumberText(o.gridDensity, f.gridDensity);

    if (UsesNewMethods(o)) {
        MethodChoice& m = d.method.emplace();
        if (o.pulse) {
            m.method = MethodChoice::Method::Pulse;
            m.pulse.shape = *o.pulse;
            m.pulse.rolloff = o.rolloff.value_or(m.pulse.rolloff);
            m.pulse.bt = o.bt.value_or(m.pulse.bt);
            m.pulse.sps = o.sps.value_or(m.pulse.sps);
            m.pulse.span = o.span.value_or(m.pulse.span);
            m.pulse.normalisation = o.pulseGain.value_or(m.pulse.normalisation);
        } else {
            m.method = o.designMethod == kCliLeastSquares ? MethodChoice::Method::LeastSquares
                                                          : MethodChoice::Method::Remez;
            m.minimumPhase = o.minPhase;
            m.shape = o.remezShape.value_or(ResponseShape{});
        }
    }
    if (const MultirateCliRequest& r = o.multirate; r.kind) {
        RateChange& rate = d.rateChange.emplace();
        rate.kind = *r.kind == MultirateKind::Halfband      ? RateChangeKind::Halfband
                    : *r.kind == MultirateKind::Interpolate ? RateChangeKind::Interpolate
                                                            : RateChangeKind::Decimate;
        rate.factor = r.factor;
        rate.aliasBands = r.aliasBands;
    }
    return d;
}

DesignRequest RequestOf(const CliOptions& options)
{
    return *RequestOf(FormDesignOf(options));
}

bool SaveDesign(const CliOptions& o, const DesignRequest& request, const DesignOutcome& outcome,
                const std::optional<SpecRequirement>& requirement, std::ostream& err)
{
    FormFields stored = FormDesignOf(o).fields;
    stored.taps = outcome.taps;
    stored.irScale = outcome.gain;
    CZantroDoc doc;
    StoreDesign(request, requirement, stored, doc.m_FilPar);
    ScriptedHost host;
    host.onMessage = [&err](const ScriptedHost::Message& m) { err << m.text << '\n'; };
    CWnd owner;
    owner.SetHost(&host);
    return doc.OnSaveDocument(CZantroDoc::WithDefaultExtension(*o.savePath), &owner);
}
