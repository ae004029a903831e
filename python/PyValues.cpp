#include "python/PyValues.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <pybind11/numpy.h>

#include "python/DesignError.h"

int WholeFrom(const py::handle& value, const char* keyword)
{
    if (!py::isinstance<py::bool_>(value)) {
        if (py::isinstance<py::int_>(value)) {
            const py::int_ big = py::reinterpret_borrow<py::int_>(value);
            if (big < py::int_(std::numeric_limits<int>::min()))
                return std::numeric_limits<int>::min();
            if (big > py::int_(std::numeric_limits<int>::max()))
                return std::numeric_limits<int>::max();
            return big.cast<int>();
        }
        if (py::isinstance<py::float_>(value)) {
            const double x = value.cast<double>();
            if (std::isfinite(x) && x == std::floor(x))
                return static_cast<int>(std::fmax(std::fmin(x, std::numeric_limits<int>::max()),
                                                  std::numeric_limits<int>::min()));
        }
    }
    throw DesignError(std::string(keyword) + " must be a whole number, not " + py::repr(value).cast<std::string>());
}

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c == ' ' || c == '_' ? '-' : std::tolower(c));
    });
    return text;
}

}  // namespace

py::object ToPython(const nlohmann::ordered_json& value)
{
    using Type = nlohmann::ordered_json::value_t;
    switch (value.type()) {
    case Type::object: {
        py::dict d;
        for (const auto& [key, item] : value.items())
            d[py::str(key)] = ToPython(item);
        return d;
    }
    case Type::array: {
        py::list l;
        for (const auto& item : value)
            l.append(ToPython(item));
        return l;
    }
    case Type::string:
        return py::str(value.get_ref<const std::string&>());
    case Type::boolean:
        return py::bool_(value.get<bool>());
    case Type::number_integer:
        return py::int_(value.get<long long>());
    case Type::number_unsigned:
        return py::int_(value.get<unsigned long long>());
    case Type::number_float: {
        // JSON has no infinity or NaN; zantro-cli prints them as null.
        const double v = value.get<double>();
        return std::isfinite(v) ? py::object(py::float_(v)) : py::object(py::none());
    }
    default:
        return py::none();
    }
}

std::vector<double> TapsFrom(const py::handle& taps, const char* keyword)
{
    py::array_t<double, py::array::c_style | py::array::forcecast> array;
    try {
        array = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(taps);
    } catch (const py::error_already_set&) {
        array = {};
    }
    if (!array || array.ndim() != 1 || array.size() == 0)
        throw DesignError(std::string(keyword) + " must be a non-empty sequence of numbers");
    return std::vector<double>(array.data(), array.data() + array.size());
}

py::object NumpyArray(const std::vector<double>& values)
{
    py::array_t<double> array(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), array.mutable_data());
    return array;
}

QuantRounding RoundingFrom(const std::string& rounding)
{
    const std::string key = Lower(rounding);
    if (key == "nearest")
        return QuantRounding::Nearest;
    if (key == "truncate")
        return QuantRounding::Truncate;
    throw DesignError("rounding must be \"nearest\" or \"truncate\", not \"" + rounding + "\"");
}

QuantSpec QuantSpecFrom(const py::handle& quantize, const std::string& rounding)
{
    QuantSpec quant;
    if (!quantize.is_none()) {
        std::optional<QuantSpec> parsed;
        if (py::isinstance<py::bool_>(quantize))
            parsed = std::nullopt;
        else if (py::isinstance<py::int_>(quantize))
            parsed = ParseQuantFormat(std::to_string(quantize.cast<long long>()));
        else if (py::isinstance<py::str>(quantize))
            parsed = ParseQuantFormat(quantize.cast<std::string>());
        if (!parsed)
            throw DesignError("quantize must be \"q7\", \"q15\", \"q31\" or a word length 2..32, not " +
                              py::repr(quantize).cast<std::string>());
        quant = *parsed;
    }
    quant.rounding = RoundingFrom(rounding);
    return quant;
}

std::vector<MaskBand> MaskBandsFrom(const py::handle& bands)
{
    std::vector<MaskBand> mask;
    if (bands.is_none())
        return mask;
    const char* form = "each band must be (lo_hz, hi_hz, \"pass\"|\"stop\"|\"slope\"[, desired]) with lo_hz < hi_hz";
    for (const py::handle& item : bands) {
        const py::tuple t = py::tuple(py::reinterpret_borrow<py::object>(item));
        if (t.size() != 3 && t.size() != 4)
            throw DesignError(form);
        MaskBand band;
        try {
            band.loHz = t[0].cast<double>();
            band.hiHz = t[1].cast<double>();
            if (t.size() == 4)
                band.desired = t[3].cast<double>();
        } catch (const py::cast_error&) {
            throw DesignError(form);
        }
        const std::string kind = Lower(py::str(t[2]).cast<std::string>());
        if (kind == "pass")
            band.kind = BandKind::Pass;
        else if (kind == "stop")
            band.kind = BandKind::Stop;
        else if (kind == "slope")
            band.kind = BandKind::Slope;
        else
            throw DesignError(form);
        if (!(band.loHz < band.hiHz) || !std::isfinite(band.desired))
            throw DesignError(form);
        mask.push_back(band);
    }
    return mask;
}

int ChoiceFrom(const py::handle& value, const std::vector<std::string>& names,
               const std::vector<std::string>& entries, const char* keyword)
{
    const int count = static_cast<int>(names.size());
    if (py::isinstance<py::int_>(value) && !py::isinstance<py::bool_>(value)) {
        const long long index = value.cast<long long>();
        if (index >= 0 && index < count)
            return static_cast<int>(index);
    } else if (py::isinstance<py::str>(value)) {
        const std::string key = Lower(value.cast<std::string>());
        for (const auto* list : {&names, &entries})
            for (size_t i = 0; i < list->size(); ++i)
                if (Lower((*list)[i]) == key)
                    return static_cast<int>(i);
    }
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    throw DesignError(std::string(keyword) + " must be one of " + list + " or 0.." + std::to_string(count - 1) +
                      ", not " + py::repr(value).cast<std::string>());
}
