#include "cli/CliNumbers.h"

#include <charconv>
#include <cmath>

int WholeNumberText(const std::optional<std::string>& text, int fallback)
{
    if (!text)
        return fallback;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    return ec == std::errc() && ptr == end ? value : -1;
}

std::optional<double> FiniteNumber(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string> ColonFields(const std::string& text)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ':')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}
