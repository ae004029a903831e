#include "python/KeywordDesign.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "document/CFilPar.h"
#include "document/InputFile.h"
#include "platform/TextFormat.h"
#include "python/DesignError.h"
#include "python/DesignNames.h"
#include "python/PyValues.h"

namespace {

bool Given(const py::dict& keywords, const char* key)
{
    return keywords.contains(key) && !keywords[key].is_none();
}

bool Flag(const py::dict& kw, const char* key)
{
    return Given(kw, key) && py::bool_(kw[key]);
}

void ApplyPreset(FormFields& f, const py::handle& value)
{
    const int preset = ChoiceFrom(value, EntriesOf(kTargetFilterNames), {}, "preset");
    CFilPar par;
    StoreFields(f, par);
    par.ApplyTargetPreset(preset);
    f.designMethod = par.m_nDesignMethod;
    f.filterType = par.m_nFilterType;
    f.taps = par.m_nTaps;
    f.bands.assign(par.m_Bands, par.m_Bands + kBandCount);
    f.gridDensity = par.m_nGridDensity;
}

void ApplyBands(FormFields& f, const py::handle& bands)
{
    const char* form = "bands must be (lo_hz, hi_hz, value, weight) rows, at most 8";
    std::vector<RemezBand> rows;
    for (const py::tuple& t : RowsFrom(bands, form)) {
        if (t.size() != 4)
            throw DesignError(form);
        RemezBand band;
        band.m_bUse = 1;
        band.m_nLowerEdge = WholeFrom(t[0], "a band's lower edge");
        band.m_nUpperEdge = WholeFrom(t[1], "a band's upper edge");
        band.m_dValue = NumberFrom(t[2], "a band's value");
        band.m_dWeight = NumberFrom(t[3], "a band's weight");
        rows.push_back(band);
    }
    if (rows.size() > static_cast<size_t>(kBandCount))
        throw DesignError(form);
    // The rows given in use, the others unused.
    for (int row = 0; row < kBandCount; ++row)
        if (row < static_cast<int>(rows.size()))
            f.bands[static_cast<size_t>(row)] = rows[static_cast<size_t>(row)];
        else
            f.bands[static_cast<size_t>(row)].m_bUse = 0;
}

// The window by name or index; given with its dialog's answer as scipy
// takes it, ("kaiser", beta) or ("chebwin", attenuation_db), that answer.
std::optional<double> ApplyWindow(FormFields& f, const py::dict& kw)
{
    const py::object window = kw["window"];
    const bool pair = py::isinstance<py::tuple>(window) || py::isinstance<py::list>(window);
    const py::handle name = pair && py::len(window) > 0 ? py::handle(py::tuple(window)[0]) : py::handle(window);
    f.windowType = ChoiceFrom(name, kWindowNames, EntriesOf(kWindowTypeNames), "window", kWindowAliases);
    if (!pair)
        return std::nullopt;
    const py::tuple t(window);
    const bool kaiser = f.windowType == WT_KAISER;
    if (t.size() != 2 || !(kaiser || f.windowType == WT_CHEBYSHEV))
        throw DesignError("window takes a name, (\"kaiser\", beta) or (\"chebwin\", attenuation_db), not " +
                          py::repr(window).cast<std::string>());
    const char* keyword = kaiser ? "beta" : "att";
    if (Given(kw, keyword))
        throw DesignError(std::string("window gives the ") + (kaiser ? "Kaiser beta" : "attenuation") +
                          " already; leave " + keyword + " out");
    return kaiser ? NumberFrom(t[1], "the Kaiser window's beta")
                  : WholeFrom(t[1], "the Dolph-Chebyshev window's attenuation");
}

void ApplyPoints(FormFields& f, const py::handle& points)
{
    const std::vector<double> values = TapsFrom(points, "points");
    if (values.size() > static_cast<size_t>(kMaxInputPoints))
        throw DesignError(FormatText("The maximum number of points is %4i.\nPlease modify your input file.",
                                     kMaxInputPoints));
    std::vector<Complex> data;
    for (double v : values) {
        if (!std::isfinite(v))
            throw DesignError("points must be finite numbers");
        data.emplace_back(v, 0.0);
    }
    f.inputData = std::move(data);
}

double GainFrom(const py::handle& gain)
{
    std::string key;
    if (py::isinstance<py::str>(gain)) {
        key = gain.cast<std::string>();
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (key == "pi")
            return std::numbers::pi;
        if (key == "pi/2")
            return std::numbers::pi / 2.0;
        throw DesignError("gain must be \"pi\", \"pi/2\", 1 or a number, not " + py::repr(gain).cast<std::string>());
    }
    return NumberFrom(gain, "gain");
}

// Keywords of the form's own design that a design beside it does without.
void RefuseFormKeywords(const py::dict& kw, const std::vector<const char*>& keys, const std::string& why)
{
    for (const char* key : keys)
        if (Given(kw, key) && !(std::string(key) == "sinx" && !Flag(kw, key)))
            throw DesignError(why + "; leave " + key + " out");
}

void ApplyRateChange(FormDesign& d, const py::dict& kw, bool leastSquares)
{
    RateChange r;
    const char* given = nullptr;
    int kinds = 0;
    for (const auto& [key, kind] : {std::pair{"decimate", RateChangeKind::Decimate},
                                   std::pair{"interpolate", RateChangeKind::Interpolate}})
        if (Given(kw, key)) {
            r.kind = kind;
            r.factor = WholeFrom(kw[key], key);
            given = key;
            ++kinds;
        }
    if (Flag(kw, "halfband")) {
        r.kind = RateChangeKind::Halfband;
        r.factor = 2;
        given = "halfband";
        ++kinds;
    }
    r.aliasBands = Flag(kw, "alias_bands");
    if (kinds > 1)
        throw DesignError("give one of decimate, interpolate and halfband");
    if (!given) {
        if (r.aliasBands)
            throw DesignError("alias_bands needs decimate or interpolate");
        return;
    }
    if (r.kind == RateChangeKind::Halfband && r.aliasBands)
        throw DesignError("halfband has one alias band, fs/2 - f1 .. fs/2, already; leave alias_bands out");
    RefuseFormKeywords(kw, {"preset", "points", "bands", "f2", "scaling", "scale", "sinx", "gain", "sigma",
                            "min_phase", "pulse", "cic_comp", "inverse_sinc"},
                       std::string(given) + " designs a lowpass of its own without the form");
    if (leastSquares)
        throw DesignError(std::string(given) + " designs with method \"remez\" or \"sinc\"");
    d.rateChange = r;
}

void ApplyNewMethods(FormDesign& d, const py::dict& kw, bool leastSquares)
{
    MethodChoice c;
    c.minimumPhase = Flag(kw, "min_phase");
    const bool pulseOnly = Given(kw, "rolloff") || Given(kw, "bt") || Given(kw, "sps") || Given(kw, "span") ||
                           Given(kw, "pulse_gain");
    bool pulse = false;
    if (Given(kw, "pulse")) {
        PulseRequest& r = c.pulse;
        r.shape = static_cast<PulseShape>(ChoiceFrom(kw["pulse"], kPulseNames, {}, "pulse"));
        const bool gaussian = r.shape == PulseShape::Gaussian;
        if (Given(kw, "rolloff")) {
            if (gaussian)
                throw DesignError("rolloff is the raised cosine's; pulse=\"gaussian\" takes bt");
            r.rolloff = NumberFrom(kw["rolloff"], "rolloff");
        }
        if (Given(kw, "bt")) {
            if (!gaussian)
                throw DesignError("bt is the Gaussian's; pulse=\"rc\" and \"rrc\" take rolloff");
            r.bt = NumberFrom(kw["bt"], "bt");
        }
        if (Given(kw, "sps"))
            r.sps = WholeFrom(kw["sps"], "sps");
        if (Given(kw, "span"))
            r.span = WholeFrom(kw["span"], "span");
        if (Given(kw, "pulse_gain"))
            r.normalisation = ChoiceFrom(kw["pulse_gain"], kPulseGainNames, {}, "pulse_gain") == 0
                                  ? PulseNormalisation::UnitEnergy
                                  : PulseNormalisation::UnitDcGain;
        if (Given(kw, "method") || Given(kw, "bands") || Given(kw, "taps") || c.minimumPhase ||
            Given(kw, "cic_comp") || Flag(kw, "inverse_sinc"))
            throw DesignError("pulse designs its own taps (span x sps + 1): leave out method, bands, taps, "
                              "min_phase, cic_comp and inverse_sinc");
        RefuseFormKeywords(kw, {"scaling", "scale"},
                           "pulse scales its taps by pulse_gain (unit energy or unit gain at DC)");
        c.method = MethodChoice::Method::Pulse;
        pulse = true;
    } else if (pulseOnly) {
        throw DesignError("rolloff, bt, sps, span and pulse_gain go with pulse");
    }
    if (Given(kw, "cic_comp")) {
        if (Flag(kw, "inverse_sinc"))
            throw DesignError("give one of cic_comp and inverse_sinc");
        const char* form = "cic_comp must be (R, M, N): decimation, differential delay, stages";
        const std::vector<py::tuple> rows = RowsFrom(py::make_tuple(kw["cic_comp"]), form);
        const py::tuple& t = rows.front();
        if (t.size() != 3)
            throw DesignError(form);
        c.shape = ResponseShape{ShapeKind::CicInverse, WholeFrom(t[0], "cic_comp's R"),
                                WholeFrom(t[1], "cic_comp's M"), WholeFrom(t[2], "cic_comp's N")};
    } else if (Flag(kw, "inverse_sinc")) {
        c.shape = ResponseShape{ShapeKind::InverseSinc, 1, 1, 1};
    }
    const bool shaped = c.shape.kind != ShapeKind::None;
    if (!pulse && !leastSquares && !c.minimumPhase && !shaped)
        return;
    FormFields& f = d.fields;
    if (!pulse) {
        if (shaped && (f.designMethod != DM_REMEZ || leastSquares) && Given(kw, "method"))
            throw DesignError("cic_comp and inverse_sinc shape a Remez design: give method=\"remez\"");
        if (c.minimumPhase && !leastSquares && f.designMethod != DM_REMEZ && Given(kw, "method"))
            throw DesignError("min_phase factors a Remez or least-squares design: give method=\"remez\" or \"ls\"");
        c.method = leastSquares && !shaped ? MethodChoice::Method::LeastSquares : MethodChoice::Method::Remez;
        if (c.method == MethodChoice::Method::Remez)
            f.designMethod = DM_REMEZ;
    }
    RefuseFormKeywords(kw, {"preset", "points", "sinx"},
                       "method \"ls\", min_phase, pulse, cic_comp and inverse_sinc design without the form");
    d.method = c;
}

}  // namespace

FormDesign FormDesignOf(const py::dict& kw)
{
    FormDesign d;
    FormFields& f = d.fields;
    f = NewDocumentFields();
    if (Given(kw, "preset"))
        ApplyPreset(f, kw["preset"]);
    if (Given(kw, "type"))
        f.filterType = ChoiceFrom(kw["type"], kTypeNames, EntriesOf(kFilterTypeNames), "type");
    bool leastSquares = false;
    if (Given(kw, "method")) {
        const int method = ChoiceFrom(kw["method"], kMethodNames, kMethodEntries, "method");
        leastSquares = method == kLeastSquaresIndex;
        f.designMethod = leastSquares ? DM_REMEZ : method;
    }
    std::optional<double> windowParameter;
    if (Given(kw, "window"))
        windowParameter = ApplyWindow(f, kw);
    if (Given(kw, "taps"))
        f.taps = WholeFrom(kw["taps"], "taps");
    if (Given(kw, "fs"))
        f.samplingRate = WholeFrom(kw["fs"], "fs");
    if (Given(kw, "f1"))
        f.firstCorner = WholeFrom(kw["f1"], "f1");
    if (Given(kw, "f2"))
        f.secondCorner = WholeFrom(kw["f2"], "f2");
    if (Given(kw, "scaling"))
        f.irScaling = ChoiceFrom(kw["scaling"], kScalingNames, EntriesOf(kIRScalingNames), "scaling");
    if (Given(kw, "scale"))
        f.irScale = NumberFrom(kw["scale"], "scale");
    if (Given(kw, "sinx"))
        f.sinXComp = static_cast<bool>(py::bool_(kw["sinx"]));
    if (Given(kw, "bands"))
        ApplyBands(f, kw["bands"]);
    if (Given(kw, "grid"))
        f.gridDensity = WholeFrom(kw["grid"], "grid");
    if (Given(kw, "points"))
        ApplyPoints(f, kw["points"]);

    ApplyRateChange(d, kw, leastSquares);
    if (d.rateChange) {
        // A rate change's own defaults for what the keywords leave out.
        FormFields defaults = f;
        SetRateChangeDefaults(defaults);
        if (!Given(kw, "method"))
            f.designMethod = defaults.designMethod;
        if (!Given(kw, "window"))
            f.windowType = defaults.windowType;
        f.stopbandAtt = defaults.stopbandAtt;
    }
    ApplyNewMethods(d, kw, leastSquares);

    if (Given(kw, "att"))
        f.stopbandAtt = WholeFrom(kw["att"], "att");
    if (Given(kw, "beta"))
        f.shapeFactor = NumberFrom(kw["beta"], "beta");
    if (windowParameter && f.windowType == WT_KAISER)
        f.shapeFactor = *windowParameter;
    else if (windowParameter)
        f.stopbandAtt = static_cast<int>(*windowParameter);
    if (Given(kw, "sigma"))
        f.variance = NumberFrom(kw["sigma"], "sigma");
    if (Given(kw, "gain"))
        f.diffGain = GainFrom(kw["gain"]);
    return d;
}

py::dict KeywordsOf(const FormDesign& design)
{
    const FormFields& f = design.fields;
    const auto name = [](const std::vector<std::string>& names, int index) -> py::object {
        if (index >= 0 && index < static_cast<int>(names.size()))
            return py::str(names[static_cast<size_t>(index)]);
        return py::int_(index);
    };
    const bool leastSquares = design.method && design.method->method == MethodChoice::Method::LeastSquares;
    py::dict d;
    d["type"] = name(kTypeNames, f.filterType);
    d["method"] = leastSquares ? py::str("ls") : name(kMethodNames, f.designMethod);
    d["window"] = name(kWindowNames, f.windowType);
    d["taps"] = f.taps;
    d["fs"] = f.samplingRate;
    d["f1"] = f.firstCorner;
    d["f2"] = f.secondCorner;
    d["scaling"] = name(kScalingNames, f.irScaling);
    d["scale"] = f.irScale;
    d["sinx"] = f.sinXComp;
    d["att"] = f.stopbandAtt;
    d["beta"] = f.shapeFactor;
    if (f.diffGain == std::numbers::pi)
        d["gain"] = "pi";
    else if (f.diffGain == std::numbers::pi / 2.0)
        d["gain"] = "pi/2";
    else if (f.diffGain == 1.0)
        d["gain"] = 1;
    else
        d["gain"] = f.diffGain;
    d["sigma"] = f.variance;
    d["grid"] = f.gridDensity;
    py::list bands;
    for (const RemezBand& b : f.bands)
        if (b.m_bUse == 1)
            bands.append(py::make_tuple(b.m_nLowerEdge, b.m_nUpperEdge, b.m_dValue, b.m_dWeight));
    d["bands"] = bands;
    if (f.inputData) {
        py::list points;
        for (const Complex& p : *f.inputData)
            points.append(p.real());
        d["points"] = points;
    } else {
        d["points"] = py::none();
    }

    if (const std::optional<RateChange>& rate = design.rateChange) {
        if (rate->kind == RateChangeKind::Halfband)
            d["halfband"] = true;
        else
            d[rate->kind == RateChangeKind::Decimate ? "decimate" : "interpolate"] = rate->factor;
        if (rate->aliasBands)
            d["alias_bands"] = true;
        for (const char* key : {"bands", "f2", "scaling", "scale", "sinx", "gain", "sigma", "points"})
            d.attr("pop")(key, py::none());
    }
    if (const std::optional<MethodChoice>& m = design.method) {
        if (m->minimumPhase)
            d["min_phase"] = true;
        if (m->shape.kind == ShapeKind::CicInverse)
            d["cic_comp"] = py::make_tuple(m->shape.decimation, m->shape.delay, m->shape.stages);
        else if (m->shape.kind == ShapeKind::InverseSinc)
            d["inverse_sinc"] = true;
        if (m->method == MethodChoice::Method::Pulse) {
            const PulseRequest& p = m->pulse;
            d["pulse"] = kPulseNames[static_cast<size_t>(p.shape)];
            if (p.shape == PulseShape::Gaussian)
                d["bt"] = p.bt;
            else
                d["rolloff"] = p.rolloff;
            d["sps"] = p.sps;
            d["span"] = p.span;
            d["pulse_gain"] = p.normalisation == PulseNormalisation::UnitEnergy ? "energy" : "dc";
            for (const char* key : {"method", "taps", "bands", "points", "scaling", "scale"})
                d.attr("pop")(key, py::none());
        }
        d.attr("pop")("points", py::none());
    }
    return d;
}
