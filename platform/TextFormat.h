#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

// Number text that never depends on the process locale: printf-style
// formatting through std::to_chars, and the reading of a leading number
// through std::from_chars. The decimal point is always '.'.

// One value for FormatText: an integer, a floating-point value or a string.
class FormatArg {
public:
    FormatArg() = default;
    FormatArg(int v) : m_value(static_cast<long long>(v)) {}
    FormatArg(long v) : m_value(static_cast<long long>(v)) {}
    FormatArg(long long v) : m_value(v) {}
    FormatArg(unsigned v) : m_value(static_cast<long long>(v)) {}
    FormatArg(double v) : m_value(v) {}
    FormatArg(const char* v) : m_value(std::string_view(v ? v : "")) {}
    FormatArg(const std::string& v) : m_value(std::string_view(v)) {}
    FormatArg(std::string_view v) : m_value(v) {}

    std::variant<std::monostate, long long, double, std::string_view> m_value;
};

// Formats like printf in the "C" locale. Conversions: d i u x X o c (ints),
// f F e E g G (doubles), s (strings), %%; flags - + space 0 and # (for x X o);
// field width and precision as digits; length modifiers (h l ll z ...) are
// skipped. An int given to a double conversion, or a double to an int one,
// is converted; a conversion without a value, or a string given to a number
// conversion, prints nothing.
std::string FormatArgs(std::string_view format, std::span<const FormatArg> args);

template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args)
{
    const FormatArg list[] = {FormatArg(args)..., FormatArg()};
    return FormatArgs(format, std::span<const FormatArg>(list, sizeof...(Args)));
}

// The leading number of text as the standard text-to-double conversion
// reads it in the "C" locale: optional white space, an optional sign, then a
// decimal or "0x" hexadecimal number with optional exponent, "inf",
// "infinity" or "nan"; 0 when text does not start with a number. A value
// beyond the double range gives +-HUGE_VAL, one below it 0.
double TextToDouble(std::string_view text);
