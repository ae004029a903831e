#include "python/FormState.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "document/InputFile.h"
#include "platform/DataExchange.h"
#include "platform/TextFormat.h"
#include "python/DesignError.h"
#include "python/DesignNames.h"
#include "python/PyValues.h"

namespace {

double NumberFrom(const py::handle& value, const char* keyword)
{
    if (!py::isinstance<py::bool_>(value) && (py::isinstance<py::int_>(value) || py::isinstance<py::float_>(value)))
        return value.cast<double>();
    throw DesignError(std::string(keyword) + " must be a number, not " + py::repr(value).cast<std::string>());
}

bool Given(const py::dict& keywords, const char* key)
{
    return keywords.contains(key) && !keywords[key].is_none();
}

// The number the dialog's edit shows for value, read back as the dialog reads it.
double AsShown(const char* format, double value)
{
    return TextToDouble(FormatText(format, value));
}

int PresetFrom(const py::handle& value)
{
    return ChoiceFrom(value, EntriesOf(kTargetFilterNames), {}, "preset");
}

void ApplyBands(CFilPar& par, const py::handle& bands)
{
    const char* form = "bands must be (lo_hz, hi_hz, value, weight) rows, at most 8";
    std::vector<RemezBand> rows;
    for (const py::handle& item : bands) {
        const py::tuple t = py::tuple(py::reinterpret_borrow<py::object>(item));
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
    // As the band dialog takes them: the rows given in use, the others unused.
    for (int row = 0; row < kBandCount; ++row)
        if (row < static_cast<int>(rows.size()))
            par.m_Bands[row] = rows[static_cast<size_t>(row)];
        else
            par.m_Bands[row].m_bUse = 0;
}

void ApplyPoints(CFilPar& par, const py::handle& points)
{
    const std::vector<double> values = TapsFrom(points, "points");
    if (values.size() > static_cast<size_t>(kMaxInputPoints))
        throw DesignError(FormatText("The maximum number of points is %4i.\nPlease modify your input file.",
                                     kMaxInputPoints));
    CPoints data(static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i]))
            throw DesignError("points must be finite numbers");
        data[static_cast<int>(i)] = Complex(values[i], 0.0);
    }
    par.m_InputData.Copy(data);
    par.m_bInputData = 1;
}

bool Flag(const py::dict& kw, const char* key)
{
    return Given(kw, key) && py::bool_(kw[key]);
}

// Keywords of the form's own design that a design beside it does without.
void RefuseFormKeywords(const py::dict& kw, const std::vector<const char*>& keys, const std::string& why)
{
    for (const char* key : keys)
        if (Given(kw, key) && !(std::string(key) == "sinx" && !Flag(kw, key)))
            throw DesignError(why + "; leave " + key + " out");
}

void ApplyRateChange(FormState& state, const py::dict& kw)
{
    RateChange& r = state.rateChange;
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
    if (state.leastSquares)
        throw DesignError(std::string(given) + " designs with method \"remez\" or \"sinc\"");
    // zantro-cli's defaults for a rate change: Remez, a Kaiser window, 60 dB for Dolph-Chebyshev.
    CFilPar& p = state.par;
    if (!Given(kw, "method"))
        p.m_nDesignMethod = DM_REMEZ;
    if (!Given(kw, "window"))
        p.m_nWindowType = WT_KAISER;
    p.m_nStopbandAtt = 60;  // the answer below replaces it when the design asks
}

void ApplyNewMethods(FormState& state, const py::dict& kw)
{
    CFilPar& p = state.par;
    state.minimumPhase = Flag(kw, "min_phase");
    const bool pulseOnly = Given(kw, "rolloff") || Given(kw, "bt") || Given(kw, "sps") || Given(kw, "span") ||
                           Given(kw, "pulse_gain");
    if (Given(kw, "pulse")) {
        PulseRequest r;
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
        if (Given(kw, "method") || Given(kw, "bands") || Given(kw, "taps") || state.minimumPhase ||
            Given(kw, "cic_comp") || Flag(kw, "inverse_sinc"))
            throw DesignError("pulse designs its own taps (span x sps + 1): leave out method, bands, taps, "
                              "min_phase, cic_comp and inverse_sinc");
        state.pulse = r;
    } else if (pulseOnly) {
        throw DesignError("rolloff, bt, sps, span and pulse_gain go with pulse");
    }
    if (Given(kw, "cic_comp")) {
        if (Flag(kw, "inverse_sinc"))
            throw DesignError("give one of cic_comp and inverse_sinc");
        const char* form = "cic_comp must be (R, M, N): decimation, differential delay, stages";
        py::tuple t;
        try {
            t = py::tuple(kw["cic_comp"]);
        } catch (const py::error_already_set&) {
            throw DesignError(form);
        }
        if (t.size() != 3)
            throw DesignError(form);
        state.shape = ResponseShape{ShapeKind::CicInverse, WholeFrom(t[0], "cic_comp's R"),
                                    WholeFrom(t[1], "cic_comp's M"), WholeFrom(t[2], "cic_comp's N")};
    } else if (Flag(kw, "inverse_sinc")) {
        state.shape = ResponseShape{ShapeKind::InverseSinc, 1, 1, 1};
    }
    if (!state.UsesNewMethods())
        return;
    if (state.shape.kind != ShapeKind::None && (p.m_nDesignMethod != DM_REMEZ || state.leastSquares)) {
        if (Given(kw, "method"))
            throw DesignError("cic_comp and inverse_sinc shape a Remez design: give method=\"remez\"");
        p.m_nDesignMethod = DM_REMEZ;
    }
    if (state.minimumPhase && p.m_nDesignMethod != DM_REMEZ) {
        if (Given(kw, "method"))
            throw DesignError("min_phase factors a Remez or least-squares design: give method=\"remez\" or \"ls\"");
        p.m_nDesignMethod = DM_REMEZ;
    }
    RefuseFormKeywords(kw, {"preset", "points", "sinx"},
                       "method \"ls\", min_phase, pulse, cic_comp and inverse_sinc design without the form");
}

}  // namespace

bool FormState::UsesNewMethods() const
{
    return leastSquares || minimumPhase || pulse.has_value() || shape.kind != ShapeKind::None;
}

CFilPar CopyOf(const CFilPar& par)
{
    CFilPar c;
    c.m_nDesignMethod = par.m_nDesignMethod;
    c.m_nFilterType = par.m_nFilterType;
    c.m_nWindowType = par.m_nWindowType;
    c.m_nFirstCorner = par.m_nFirstCorner;
    c.m_nSecondCorner = par.m_nSecondCorner;
    c.m_nSamplingRate = par.m_nSamplingRate;
    c.m_nTaps = par.m_nTaps;
    c.m_nIRScaling = par.m_nIRScaling;
    c.m_bSinXComp = par.m_bSinXComp;
    c.m_dIRScale = par.m_dIRScale;
    c.m_nStopbandAtt = par.m_nStopbandAtt;
    c.m_dShapeFactor = par.m_dShapeFactor;
    c.m_dVariance = par.m_dVariance;
    c.m_strOutfile = par.m_strOutfile;
    c.m_nOutExt = par.m_nOutExt;
    c.m_nNumFormat = par.m_nNumFormat;
    c.m_bInputData = par.m_bInputData;
    c.m_InputData.Copy(par.m_InputData);
    std::copy(par.m_Bands, par.m_Bands + kBandCount, c.m_Bands);
    c.m_nGridDensity = par.m_nGridDensity;
    c.m_nVersion = par.m_nVersion;
    return c;
}

FormState CopyOf(const FormState& state)
{
    FormState c;
    c.par = CopyOf(state.par);
    c.gainSelection = state.gainSelection;
    c.diffGain = state.diffGain;
    c.leastSquares = state.leastSquares;
    c.minimumPhase = state.minimumPhase;
    c.pulse = state.pulse;
    c.shape = state.shape;
    c.rateChange = state.rateChange;
    c.weightRange = state.weightRange;
    return c;
}

bool AsksKaiser(const CFilPar& par)
{
    return par.m_nDesignMethod != DM_REMEZ && par.m_nWindowType == WT_KAISER;
}

bool AsksChebyshev(const CFilPar& par)
{
    return par.m_nDesignMethod != DM_REMEZ && par.m_nWindowType == WT_CHEBYSHEV;
}

bool AsksDifferentiatorGain(const CFilPar& par)
{
    return par.m_nDesignMethod == DM_SINC && par.m_nFilterType == FT_DIFFERENTIATOR;
}

bool AsksVariance(const CFilPar& par)
{
    return par.m_nDesignMethod == DM_DIRECT && par.m_nFilterType == FT_GAUSSIAN;
}

FormState FormState::NewDocument()
{
    FormState state;
    state.par.ApplyTargetPreset(0);
    return state;
}

void FormState::Apply(const py::dict& kw)
{
    CFilPar& p = par;
    if (Given(kw, "preset"))
        p.ApplyTargetPreset(PresetFrom(kw["preset"]));
    if (Given(kw, "type"))
        p.m_nFilterType = ChoiceFrom(kw["type"], kTypeNames, EntriesOf(kFilterTypeNames), "type");
    if (Given(kw, "method")) {
        const int method = ChoiceFrom(kw["method"], kMethodNames, kMethodEntries, "method");
        leastSquares = method == kLeastSquaresIndex;
        p.m_nDesignMethod = leastSquares ? DM_REMEZ : method;
    }
    if (Given(kw, "window"))
        p.m_nWindowType = ChoiceFrom(kw["window"], kWindowNames, EntriesOf(kWindowTypeNames), "window");
    if (Given(kw, "taps"))
        p.m_nTaps = WholeFrom(kw["taps"], "taps");
    if (Given(kw, "fs"))
        p.m_nSamplingRate = WholeFrom(kw["fs"], "fs");
    if (Given(kw, "f1"))
        p.m_nFirstCorner = WholeFrom(kw["f1"], "f1");
    if (Given(kw, "f2"))
        p.m_nSecondCorner = WholeFrom(kw["f2"], "f2");
    if (Given(kw, "scaling"))
        p.m_nIRScaling = ChoiceFrom(kw["scaling"], kScalingNames, EntriesOf(kIRScalingNames), "scaling");
    if (Given(kw, "scale"))
        p.m_dIRScale = NumberFrom(kw["scale"], "scale");
    if (Given(kw, "sinx"))
        p.m_bSinXComp = py::bool_(kw["sinx"]) ? 1 : 0;
    if (Given(kw, "bands"))
        ApplyBands(p, kw["bands"]);
    if (Given(kw, "grid"))
        p.m_nGridDensity = WholeFrom(kw["grid"], "grid");
    if (Given(kw, "points"))
        ApplyPoints(p, kw["points"]);

    ApplyRateChange(*this, kw);
    ApplyNewMethods(*this, kw);

    if (Given(kw, "att") && AsksChebyshev(p))
        p.m_nStopbandAtt = WholeFrom(kw["att"], "att");
    if (Given(kw, "beta") && AsksKaiser(p))
        p.m_dShapeFactor = NumberFrom(kw["beta"], "beta");
    if (Given(kw, "sigma") && AsksVariance(p))
        p.m_dVariance = NumberFrom(kw["sigma"], "sigma");
    if (Given(kw, "gain") && AsksDifferentiatorGain(p)) {
        const py::object gain = kw["gain"];
        std::string key;
        if (py::isinstance<py::str>(gain)) {
            key = gain.cast<std::string>();
            for (char& c : key)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (key == "pi") {
            gainSelection = DifferentiatorGain::Pi;
        } else if (key == "pi/2") {
            gainSelection = DifferentiatorGain::HalfPi;
        } else if (key.empty() && py::isinstance<py::int_>(gain) && !py::isinstance<py::bool_>(gain) &&
                   gain.cast<long long>() == 1) {
            gainSelection = DifferentiatorGain::One;
        } else if (key.empty()) {
            gainSelection = DifferentiatorGain::Other;
            diffGain = NumberFrom(gain, "gain");
        } else {
            throw DesignError("gain must be \"pi\", \"pi/2\", 1 or a number, not " +
                              py::repr(gain).cast<std::string>());
        }
    }
}

void FormState::AnswerDialogsAsShown()
{
    // The form's scale field shows two decimals too.
    par.m_dIRScale = AsShown("%2.2f", par.m_dIRScale);
    if (AsksKaiser(par))
        par.m_dShapeFactor = AsShown("%2.2f", par.m_dShapeFactor);
    if (AsksVariance(par))
        par.m_dVariance = AsShown("%2.2f", par.m_dVariance);
    if (par.m_nDesignMethod == DM_REMEZ)
        for (RemezBand& band : par.m_Bands)
            if (band.m_bUse == 1) {
                band.m_dValue = AsShown("%4.3f", band.m_dValue);
                band.m_dWeight = AsShown("%4.2f", band.m_dWeight);
            }
}

DesignRequest FormState::Request() const
{
    DesignRequest q;
    q.filterType = static_cast<FilterType>(par.m_nFilterType);
    q.method = static_cast<DesignMethod>(par.m_nDesignMethod);
    q.window = static_cast<WindowType>(par.m_nWindowType);
    q.taps = par.m_nTaps;
    q.samplingRate = par.m_nSamplingRate;
    q.firstCorner = par.m_nFirstCorner;
    q.secondCorner = par.m_nSecondCorner;
    q.kaiserBeta = par.m_dShapeFactor;
    q.chebyshevAttenuation = par.m_nStopbandAtt;
    q.diffGainSelection = gainSelection;
    q.diffGain = diffGain;
    q.gaussianVariance = par.m_dVariance;
    q.bands.assign(par.m_Bands, par.m_Bands + kBandCount);
    q.gridDensity = par.m_nGridDensity;
    q.hasInputData = par.m_bInputData != 0;
    for (int i = 0; i < par.m_InputData.m_nCount; ++i)
        q.samplingPoints.push_back(par.m_InputData[i]);
    q.scaling = static_cast<IRScaling>(par.m_nIRScaling);
    q.scale = par.m_dIRScale;
    q.sinXCompensation = par.m_bSinXComp != 0;
    q.rateChange = rateChange;
    q.weightRange = weightRange;
    if (UsesNewMethods()) {
        // As zantro-cli's request of these methods: no corners.
        q.firstCorner = 0;
        q.secondCorner = 0;
        if (pulse) {
            q.method = DesignMethod::Pulse;
            q.pulse = *pulse;
        } else if (leastSquares) {
            q.method = DesignMethod::LeastSquares;
            q.weightRange = RemezWeightRange::AnyPositive;
        } else {
            q.method = DesignMethod::Remez;
        }
        q.minimumPhase = minimumPhase;
        q.remezShape = shape;
    }
    return q;
}

py::dict FormState::Parameters() const
{
    const auto name = [](const std::vector<std::string>& names, int index) -> py::object {
        if (index >= 0 && index < static_cast<int>(names.size()))
            return py::str(names[static_cast<size_t>(index)]);
        return py::int_(index);
    };
    py::dict d;
    d["type"] = name(kTypeNames, par.m_nFilterType);
    d["method"] = leastSquares ? py::str("ls") : name(kMethodNames, par.m_nDesignMethod);
    d["window"] = name(kWindowNames, par.m_nWindowType);
    d["taps"] = par.m_nTaps;
    d["fs"] = par.m_nSamplingRate;
    d["f1"] = par.m_nFirstCorner;
    d["f2"] = par.m_nSecondCorner;
    d["scaling"] = name(kScalingNames, par.m_nIRScaling);
    d["scale"] = par.m_dIRScale;
    d["sinx"] = par.m_bSinXComp != 0;
    d["att"] = par.m_nStopbandAtt;
    d["beta"] = par.m_dShapeFactor;
    switch (gainSelection) {
    case DifferentiatorGain::Pi:
        d["gain"] = "pi";
        break;
    case DifferentiatorGain::HalfPi:
        d["gain"] = "pi/2";
        break;
    case DifferentiatorGain::One:
        d["gain"] = 1;
        break;
    default:
        d["gain"] = diffGain;
        break;
    }
    d["sigma"] = par.m_dVariance;
    d["grid"] = par.m_nGridDensity;
    py::list bands;
    for (const RemezBand& b : par.m_Bands)
        if (b.m_bUse == 1)
            bands.append(py::make_tuple(b.m_nLowerEdge, b.m_nUpperEdge, b.m_dValue, b.m_dWeight));
    d["bands"] = bands;
    if (par.m_bInputData) {
        py::list points;
        for (int i = 0; i < par.m_InputData.m_nCount; ++i)
            points.append(par.m_InputData[i].real());
        d["points"] = points;
    } else {
        d["points"] = py::none();
    }
    AddNewParameters(d);
    return d;
}

void FormState::AddNewParameters(py::dict& d) const
{
    if (rateChange.kind == RateChangeKind::Halfband)
        d["halfband"] = true;
    else if (rateChange.kind != RateChangeKind::None)
        d[rateChange.kind == RateChangeKind::Decimate ? "decimate" : "interpolate"] = rateChange.factor;
    if (rateChange.aliasBands)
        d["alias_bands"] = true;
    if (UsesRateChange()) {
        for (const char* key : {"bands", "f2", "scaling", "scale", "sinx", "gain", "sigma", "points"})
            d.attr("pop")(key, py::none());
    }
    if (minimumPhase)
        d["min_phase"] = true;
    if (shape.kind == ShapeKind::CicInverse)
        d["cic_comp"] = py::make_tuple(shape.decimation, shape.delay, shape.stages);
    else if (shape.kind == ShapeKind::InverseSinc)
        d["inverse_sinc"] = true;
    if (pulse) {
        d["pulse"] = kPulseNames[static_cast<size_t>(pulse->shape)];
        if (pulse->shape == PulseShape::Gaussian)
            d["bt"] = pulse->bt;
        else
            d["rolloff"] = pulse->rolloff;
        d["sps"] = pulse->sps;
        d["span"] = pulse->span;
        d["pulse_gain"] = pulse->normalisation == PulseNormalisation::UnitEnergy ? "energy" : "dc";
        for (const char* key : {"method", "taps", "bands", "points"})
            d.attr("pop")(key, py::none());
    }
    if (UsesNewMethods())
        d.attr("pop")("points", py::none());
}
