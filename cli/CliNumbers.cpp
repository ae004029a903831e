#include "cli/CliNumbers.h"

#include <charconv>

int WholeNumberText(const std::optional<std::string>& text, int fallback)
{
    if (!text)
        return fallback;
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    return ec == std::errc() && ptr == end ? value : -1;
}
