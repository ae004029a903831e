#include "platform/TextFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Directive {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    int width = 0;
    int precision = -1;
};

// sign + prefix + digits padded to the field width.
std::string Pad(const Directive& directive, std::string sign, std::string_view prefix, std::string digits, bool zeroAllowed)
{
    const size_t length = sign.size() + prefix.size() + digits.size();
    const size_t width = static_cast<size_t>(directive.width);
    if (length >= width)
        return sign + std::string(prefix) + digits;
    const size_t fill = width - length;
    if (directive.left)
        return sign + std::string(prefix) + digits + std::string(fill, ' ');
    if (directive.zero && zeroAllowed)
        return sign + std::string(prefix) + std::string(fill, '0') + digits;
    return std::string(fill, ' ') + sign + std::string(prefix) + digits;
}

std::string SignOf(const Directive& directive, bool negative)
{
    if (negative)
        return "-";
    if (directive.plus)
        return "+";
    if (directive.space)
        return " ";
    return "";
}

std::string FormatInteger(const Directive& directive, char conversion, long long value)
{
    const bool isSigned = conversion == 'd' || conversion == 'i';
    unsigned long long magnitude;
    bool negative = false;
    if (isSigned) {
        negative = value < 0;
        magnitude = negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    } else {
        magnitude = static_cast<unsigned int>(value);
    }
    const int base = conversion == 'x' || conversion == 'X' ? 16 : conversion == 'o' ? 8 : 10;
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, base);
    std::string digits(buf, res.ptr);
    if (conversion == 'X')
        std::transform(digits.begin(), digits.end(), digits.begin(), [](char c) { return c >= 'a' && c <= 'f' ? char(c - 32) : c; });
    if (directive.precision >= 0) {
        if (directive.precision == 0 && magnitude == 0)
            digits.clear();
        if (digits.size() < static_cast<size_t>(directive.precision))
            digits.insert(0, static_cast<size_t>(directive.precision) - digits.size(), '0');
    }
    std::string_view prefix;
    if (directive.alternate && magnitude != 0 && base == 16)
        prefix = conversion == 'X' ? "0X" : "0x";
    if (directive.alternate && base == 8 && (digits.empty() || digits[0] != '0'))
        digits.insert(0, 1, '0');
    return Pad(directive, isSigned ? SignOf(directive, negative) : std::string(), prefix, digits, directive.precision < 0);
}

std::string FormatFloating(const Directive& directive, char conversion, double value)
{
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    const int precision = directive.precision < 0 ? 6 : directive.precision;
    std::chars_format format = std::chars_format::fixed;
    const char lower = static_cast<char>(conversion | 0x20);
    if (lower == 'e')
        format = std::chars_format::scientific;
    else if (lower == 'g')
        format = std::chars_format::general;
    // A fixed double needs at most 309 integer digits.
    std::vector<char> buf(static_cast<size_t>(precision) + 340);
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, format, precision);
    std::string digits(buf.data(), res.ptr);
    if (conversion >= 'A' && conversion <= 'Z')
        std::transform(digits.begin(), digits.end(), digits.begin(), [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
    return Pad(directive, SignOf(directive, negative), {}, digits, std::isfinite(value));
}

std::string FormatOne(const Directive& directive, char conversion, const FormatArg& arg)
{
    const auto* integer = std::get_if<long long>(&arg.m_value);
    const auto* floating = std::get_if<double>(&arg.m_value);
    switch (conversion) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
        if (integer)
            return FormatInteger(directive, conversion, *integer);
        if (floating)
            return FormatInteger(directive, conversion, static_cast<long long>(*floating));
        return {};
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
        if (floating)
            return FormatFloating(directive, conversion, *floating);
        if (integer)
            return FormatFloating(directive, conversion, static_cast<double>(*integer));
        return {};
    case 'c':
        if (integer)
            return Pad(directive, {}, {}, std::string(1, static_cast<char>(*integer)), false);
        return {};
    case 's':
        if (const auto* text = std::get_if<std::string_view>(&arg.m_value)) {
            std::string_view s = *text;
            if (directive.precision >= 0 && s.size() > static_cast<size_t>(directive.precision))
                s = s.substr(0, static_cast<size_t>(directive.precision));
            return Pad(directive, {}, {}, std::string(s), false);
        }
        return {};
    default:
        return {};
    }
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

// The power of the base of the first significant digit of the number text
// (base 10, or 2 for hexadecimal), with its exponent part: its sign tells an
// overflow from an underflow.
long long MagnitudeOf(std::string_view text, bool hex)
{
    const int digitPower = hex ? 4 : 1;
    size_t i = 0;
    long long integerDigits = 0, leadingZeros = 0;
    bool significant = false;
    for (; i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i])); ++i) {
        if (text[i] != '0')
            significant = true;
        if (significant)
            ++integerDigits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i])); ++i) {
            if (!significant && text[i] == '0')
                ++leadingZeros;
            else
                significant = true;
        }
    }
    long long power = integerDigits > 0 ? (integerDigits - 1) * digitPower : -(leadingZeros + 1) * digitPower;
    if (i < text.size() && (text[i] | 0x20) == (hex ? 'p' : 'e')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        long long exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1LL << 40);
        power += negative ? -exponent : exponent;
    }
    return power;
}

}  // namespace

std::string FormatArgs(std::string_view format, std::span<const FormatArg> args)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        const size_t start = i++;
        Directive directive;
        for (; i < format.size() && std::strchr("-+ #0", format[i]) && format[i] != '\0'; ++i) {
            switch (format[i]) {
            case '-': directive.left = true; break;
            case '+': directive.plus = true; break;
            case ' ': directive.space = true; break;
            case '#': directive.alternate = true; break;
            default: directive.zero = true; break;
            }
        }
        for (; i < format.size() && IsDigit(format[i]); ++i)
            directive.width = std::min(directive.width * 10 + (format[i] - '0'), 100000);
        if (i < format.size() && format[i] == '.') {
            directive.precision = 0;
            for (++i; i < format.size() && IsDigit(format[i]); ++i)
                directive.precision = std::min(directive.precision * 10 + (format[i] - '0'), 100000);
        }
        for (; i < format.size() && std::strchr("hlLqjzt", format[i]) && format[i] != '\0'; ++i) {
        }
        if (i >= format.size()) {
            out.append(format.substr(start));
            break;
        }
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        if (next < args.size())
            out += FormatOne(directive, format[i], args[next++]);
    }
    return out;
}

double TextToDouble(std::string_view text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    // from_chars takes a minus sign of its own; a second sign is no number.
    if (p == end || *p == '+' || *p == '-')
        return 0.0;

    double value = 0.0;
    std::from_chars_result res{};
    bool hex = false;
    if (end - p >= 3 && p[0] == '0' && (p[1] | 0x20) == 'x' && (IsHexDigit(p[2]) || p[2] == '.')) {
        hex = true;
        p += 2;
        res = std::from_chars(p, end, value, std::chars_format::hex);
        // "0x." without digits reads as the 0 before the x.
        if (res.ec == std::errc::invalid_argument)
            return negative ? -0.0 : 0.0;
    } else {
        res = std::from_chars(p, end, value, std::chars_format::general);
    }
    if (res.ec == std::errc::invalid_argument)
        return 0.0;
    if (res.ec == std::errc::result_out_of_range)
        value = MagnitudeOf(std::string_view(p, static_cast<size_t>(res.ptr - p)), hex) >= 0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}
