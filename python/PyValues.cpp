#include "python/PyValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <pybind11/numpy.h>

#include "python/DesignError.h"

namespace {

// numpy's bool scalar (numpy.bool_, numpy.bool from numpy 2) counts as a
// bool, as pybind11's own caster has it.
bool IsBool(const py::handle& value)
{
    const char* name = Py_TYPE(value.ptr())->tp_name;
    return PyBool_Check(value.ptr()) || std::strcmp(name, "numpy.bool_") == 0 || std::strcmp(name, "numpy.bool") == 0;
}

// Python's complex, numpy's complex scalars and complex arrays: their
// __float__ would drop the imaginary part.
bool IsComplex(const py::handle& value)
{
    if (PyComplex_Check(value.ptr()))
        return true;
    if (!py::hasattr(value, "dtype"))
        return false;
    const py::object kind = value.attr("dtype").attr("kind");
    return py::isinstance<py::str>(kind) && kind.cast<std::string>() == "c";
}

bool IsReal(const py::handle& value)
{
    const PyNumberMethods* number = Py_TYPE(value.ptr())->tp_as_number;
    return PyFloat_Check(value.ptr()) || (number && number->nb_float);
}

[[noreturn]] void Refuse(const char* keyword, const std::string& what, const py::handle& value)
{
    throw DesignError(std::string(keyword) + " must be " + what + ", not " + py::repr(value).cast<std::string>());
}

constexpr const char* kWholeRange = "a whole number from -2147483648 to 2147483647";

}  // namespace

int WholeFrom(const py::handle& value, const char* keyword)
{
    if (IsBool(value) || IsComplex(value))
        Refuse(keyword, "a whole number", value);
    if (PyIndex_Check(value.ptr())) {
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!index)
            throw py::error_already_set();
        int overflow = 0;
        const long long n = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        if (overflow != 0 || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            Refuse(keyword, kWholeRange, value);
        return static_cast<int>(n);
    }
    if (IsReal(value)) {
        const double x = PyFloat_AsDouble(value.ptr());
        if (x == -1.0 && PyErr_Occurred())
            throw py::error_already_set();
        if (!std::isfinite(x) || x != std::floor(x))
            Refuse(keyword, "a whole number", value);
        if (x < std::numeric_limits<int>::min() || x > std::numeric_limits<int>::max())
            Refuse(keyword, kWholeRange, value);
        return static_cast<int>(x);
    }
    Refuse(keyword, "a whole number", value);
}

double NumberFrom(const py::handle& value, const char* keyword)
{
    if (IsBool(value) || IsComplex(value) || !(PyIndex_Check(value.ptr()) || IsReal(value)))
        Refuse(keyword, "a number", value);
    const double x = PyFloat_AsDouble(value.ptr());
    if (x == -1.0 && PyErr_Occurred()) {
        // An int beyond the double range.
        if (!PyErr_ExceptionMatches(PyExc_OverflowError))
            throw py::error_already_set();
        PyErr_Clear();
        Refuse(keyword, "a finite number", value);
    }
    if (!std::isfinite(x))
        Refuse(keyword, "a finite number", value);
    return x;
}

std::string PathFrom(const py::handle& value, const char* keyword)
{
    std::string path;
    try {
        path = py::module_::import("os").attr("fsdecode")(value).cast<std::string>();
    } catch (const py::error_already_set& e) {
        if (!e.matches(PyExc_TypeError))
            throw;
        Refuse(keyword, "a path (str, bytes or os.PathLike)", value);
    }
    if (path.find('\0') != std::string::npos)
        Refuse(keyword, "a path without a NUL character", value);
    return path;
}

std::vector<py::tuple> RowsFrom(const py::handle& rows, const std::string& form)
{
    std::vector<py::tuple> table;
    if (py::isinstance<py::str>(rows) || py::isinstance<py::bytes>(rows))
        throw DesignError(form);
    try {
        for (const py::handle& item : py::iter(rows)) {
            if (py::isinstance<py::str>(item) || py::isinstance<py::bytes>(item))
                throw DesignError(form);
            table.push_back(py::tuple(py::reinterpret_borrow<py::object>(item)));
        }
    } catch (const py::error_already_set& e) {
        if (!e.matches(PyExc_TypeError))
            throw;
        throw DesignError(form);
    }
    return table;
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
        if (py::isinstance<py::str>(quantize)) {
            parsed = ParseQuantFormat(quantize.cast<std::string>());
        } else if (!IsBool(quantize) && !IsComplex(quantize) && (PyIndex_Check(quantize.ptr()) || IsReal(quantize))) {
            try {
                parsed = ParseQuantFormat(std::to_string(WholeFrom(quantize, "quantize")));
            } catch (const DesignError&) {
                parsed = std::nullopt;
            }
        }
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
    for (const py::tuple& t : RowsFrom(bands, form)) {
        if (t.size() != 3 && t.size() != 4)
            throw DesignError(form);
        MaskBand band;
        band.loHz = NumberFrom(t[0], "a band's lower edge");
        band.hiHz = NumberFrom(t[1], "a band's upper edge");
        if (t.size() == 4)
            band.desired = NumberFrom(t[3], "a band's desired gain");
        if (!py::isinstance<py::str>(t[2]))
            throw DesignError(form);
        const std::string kind = Lower(t[2].cast<std::string>());
        if (kind == "pass")
            band.kind = BandKind::Pass;
        else if (kind == "stop")
            band.kind = BandKind::Stop;
        else if (kind == "slope")
            band.kind = BandKind::Slope;
        else
            throw DesignError(form);
        if (!(band.loHz < band.hiHz))
            throw DesignError(form);
        mask.push_back(band);
    }
    return mask;
}

std::vector<SpecBand> SpecBandsFrom(const py::handle& rows, BandKind kind, const char* keyword)
{
    std::vector<SpecBand> bands;
    const std::string form = std::string(keyword) + " must be (lo_hz, hi_hz, " +
                             (kind == BandKind::Pass ? "max_ripple_db" : "min_attenuation_db") + ") rows";
    for (const py::tuple& t : RowsFrom(rows, form)) {
        if (t.size() != 3)
            throw DesignError(form);
        SpecBand b;
        b.kind = kind;
        b.loHz = NumberFrom(t[0], "a band's lower edge");
        b.hiHz = NumberFrom(t[1], "a band's upper edge");
        b.limitDb = NumberFrom(t[2], kind == BandKind::Pass ? "a band's ripple" : "a band's attenuation");
        bands.push_back(b);
    }
    return bands;
}

int ChoiceFrom(const py::handle& value, const std::vector<std::string>& names,
               const std::vector<std::string>& entries, const char* keyword, const std::vector<ChoiceAlias>& aliases)
{
    const int count = static_cast<int>(names.size());
    if (py::isinstance<py::str>(value)) {
        const std::string key = Lower(value.cast<std::string>());
        for (const auto* list : {&names, &entries})
            for (size_t i = 0; i < list->size(); ++i)
                if (Lower((*list)[i]) == key)
                    return static_cast<int>(i);
        for (const auto& [alias, index] : aliases)
            if (Lower(alias) == key)
                return index;
    } else if (!IsBool(value) && PyIndex_Check(value.ptr())) {
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!index)
            throw py::error_already_set();
        int overflow = 0;
        const long long i = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        if (overflow == 0 && i >= 0 && i < count)
            return static_cast<int>(i);
    }
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    throw DesignError(std::string(keyword) + " must be one of " + list + " or 0.." + std::to_string(count - 1) +
                      ", not " + py::repr(value).cast<std::string>());
}
