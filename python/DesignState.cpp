#include "python/DesignState.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "document/CArchive.h"
#include "python/DesignError.h"

namespace {

constexpr const char* kNotAState = "This is not the state of a pickled zantro.Design.";

template <class Enum>
int Index(Enum e)
{
    return static_cast<int>(e);
}

// Item i of a tuple of n items.
py::tuple Items(const py::handle& state, size_t n)
{
    if (!py::isinstance<py::tuple>(state) || py::len(state) != n)
        throw DesignError(kNotAState);
    return py::reinterpret_borrow<py::tuple>(state);
}

template <class T>
T Get(const py::tuple& t, size_t i)
{
    try {
        return t[i].cast<T>();
    } catch (const py::cast_error&) {
        throw DesignError(kNotAState);
    }
}

py::tuple BandState(const RemezBand& b)
{
    return py::make_tuple(b.m_bUse, b.m_nLowerEdge, b.m_nUpperEdge, b.m_dValue, b.m_dWeight);
}

RemezBand BandFromState(const py::handle& state)
{
    const py::tuple t = Items(state, 5);
    return RemezBand{Get<int>(t, 0), Get<int>(t, 1), Get<int>(t, 2), Get<double>(t, 3), Get<double>(t, 4)};
}

py::tuple FieldsState(const FormFields& f)
{
    py::list bands;
    for (const RemezBand& b : f.bands)
        bands.append(BandState(b));
    py::object points = py::none();
    if (f.inputData) {
        py::list list;
        for (const Complex& p : *f.inputData)
            list.append(py::make_tuple(p.real(), p.imag()));
        points = list;
    }
    return py::make_tuple(f.designMethod, f.filterType, f.windowType, f.taps, f.samplingRate, f.firstCorner,
                          f.secondCorner, f.irScaling, f.irScale, f.sinXComp, f.stopbandAtt, f.shapeFactor,
                          f.variance, f.diffGain, bands, f.gridDensity, points);
}

FormFields FieldsFromState(const py::handle& state)
{
    const py::tuple t = Items(state, 17);
    FormFields f;
    f.designMethod = Get<int>(t, 0);
    f.filterType = Get<int>(t, 1);
    f.windowType = Get<int>(t, 2);
    f.taps = Get<int>(t, 3);
    f.samplingRate = Get<int>(t, 4);
    f.firstCorner = Get<int>(t, 5);
    f.secondCorner = Get<int>(t, 6);
    f.irScaling = Get<int>(t, 7);
    f.irScale = Get<double>(t, 8);
    f.sinXComp = Get<bool>(t, 9);
    f.stopbandAtt = Get<int>(t, 10);
    f.shapeFactor = Get<double>(t, 11);
    f.variance = Get<double>(t, 12);
    f.diffGain = Get<double>(t, 13);
    f.bands.clear();
    for (const py::handle& b : Get<py::list>(t, 14))
        f.bands.push_back(BandFromState(b));
    f.gridDensity = Get<int>(t, 15);
    if (!t[16].is_none()) {
        std::vector<Complex> points;
        for (const py::handle& p : Get<py::list>(t, 16)) {
            const py::tuple xy = Items(p, 2);
            points.emplace_back(Get<double>(xy, 0), Get<double>(xy, 1));
        }
        f.inputData = std::move(points);
    }
    return f;
}

py::object MethodState(const std::optional<MethodChoice>& method)
{
    if (!method)
        return py::none();
    const ResponseShape& s = method->shape;
    const PulseRequest& p = method->pulse;
    return py::make_tuple(Index(method->method), method->minimumPhase,
                          py::make_tuple(Index(s.kind), s.decimation, s.delay, s.stages),
                          py::make_tuple(Index(p.shape), p.rolloff, p.bt, p.sps, p.span, Index(p.normalisation)));
}

std::optional<MethodChoice> MethodFromState(const py::handle& state)
{
    if (state.is_none())
        return std::nullopt;
    const py::tuple t = Items(state, 4);
    MethodChoice m;
    m.method = static_cast<MethodChoice::Method>(Get<int>(t, 0));
    m.minimumPhase = Get<bool>(t, 1);
    const py::tuple s = Items(t[2], 4);
    m.shape = ResponseShape{static_cast<ShapeKind>(Get<int>(s, 0)), Get<int>(s, 1), Get<int>(s, 2), Get<int>(s, 3)};
    const py::tuple p = Items(t[3], 6);
    m.pulse = PulseRequest{static_cast<PulseShape>(Get<int>(p, 0)), Get<double>(p, 1), Get<double>(p, 2),
                           Get<int>(p, 3), Get<int>(p, 4), static_cast<PulseNormalisation>(Get<int>(p, 5))};
    return m;
}

py::object RateState(const std::optional<RateChange>& rate)
{
    if (!rate)
        return py::none();
    return py::make_tuple(Index(rate->kind), rate->factor, rate->aliasBands, MaskState(rate->stopBands),
                          rate->stopWeight);
}

std::optional<RateChange> RateFromState(const py::handle& state)
{
    if (state.is_none())
        return std::nullopt;
    const py::tuple t = Items(state, 5);
    RateChange r;
    r.kind = static_cast<RateChangeKind>(Get<int>(t, 0));
    r.factor = Get<int>(t, 1);
    r.aliasBands = Get<bool>(t, 2);
    r.stopBands = MaskFromState(t[3]);
    r.stopWeight = Get<double>(t, 4);
    return r;
}

}  // namespace

py::tuple FormDesignState(const FormDesign& design)
{
    return py::make_tuple(FieldsState(design.fields), MethodState(design.method), RateState(design.rateChange));
}

FormDesign FormDesignFromState(const py::handle& state)
{
    const py::tuple t = Items(state, 3);
    return FormDesign{FieldsFromState(t[0]), MethodFromState(t[1]), RateFromState(t[2])};
}

py::list MaskState(const std::vector<MaskBand>& bands)
{
    py::list list;
    for (const MaskBand& b : bands)
        list.append(py::make_tuple(Index(b.kind), b.loHz, b.hiHz, b.desired));
    return list;
}

std::vector<MaskBand> MaskFromState(const py::handle& state)
{
    if (!py::isinstance<py::list>(state))
        throw DesignError(kNotAState);
    std::vector<MaskBand> bands;
    for (const py::handle& item : state) {
        const py::tuple t = Items(item, 4);
        bands.push_back({static_cast<BandKind>(Get<int>(t, 0)), Get<double>(t, 1), Get<double>(t, 2),
                         Get<double>(t, 3)});
    }
    return bands;
}

py::tuple QuantState(const QuantSpec& quant)
{
    return py::make_tuple(Index(quant.format), quant.wordLength,
                          quant.fractionLength ? py::object(py::int_(*quant.fractionLength)) : py::object(py::none()),
                          Index(quant.rounding));
}

QuantSpec QuantFromState(const py::handle& state)
{
    const py::tuple t = Items(state, 4);
    QuantSpec q;
    q.format = static_cast<QuantFormat>(Get<int>(t, 0));
    q.wordLength = Get<int>(t, 1);
    if (!t[2].is_none())
        q.fractionLength = Get<int>(t, 2);
    q.rounding = static_cast<QuantRounding>(Get<int>(t, 3));
    return q;
}

py::object ExtensionState(const DesignExtension& extension)
{
    if (!extension.request && !extension.requirement)
        return py::none();
    char* data = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&data, &size);
    if (!file)
        throw std::bad_alloc();
    {
        CArchive ar(CArchive::store, file);
        WriteExtension(ar, extension);
    }
    std::fclose(file);
    const std::unique_ptr<char, decltype(&std::free)> owned(data, &std::free);
    return py::bytes(data, size);
}

DesignExtension ExtensionFromState(const py::handle& state)
{
    if (state.is_none())
        return {};
    if (!py::isinstance<py::bytes>(state))
        throw DesignError(kNotAState);
    std::string bytes = state.cast<std::string>();
    std::FILE* file = bytes.empty() ? nullptr : fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file)
        throw DesignError(kNotAState);
    std::optional<DesignExtension> extension;
    bool failed = false;
    {
        CArchive ar(CArchive::load, file, bytes.size());
        extension = ReadExtension(ar);
        failed = ar.IsFailed();
    }
    std::fclose(file);
    if (failed || !extension)
        throw DesignError(kNotAState);
    return *extension;
}

// A requirement's band is stored as a mask band: its limit where the
// mask band's desired value stands.
py::object SpecBandsState(const std::optional<std::vector<SpecBand>>& bands)
{
    if (!bands)
        return py::none();
    std::vector<MaskBand> mask;
    for (const SpecBand& b : *bands)
        mask.push_back({b.kind, b.loHz, b.hiHz, b.limitDb});
    return MaskState(mask);
}

std::optional<std::vector<SpecBand>> SpecBandsFromState(const py::handle& state)
{
    if (state.is_none())
        return std::nullopt;
    std::vector<SpecBand> bands;
    for (const MaskBand& b : MaskFromState(state))
        bands.push_back({b.kind, b.loHz, b.hiHz, b.desired});
    return bands;
}
