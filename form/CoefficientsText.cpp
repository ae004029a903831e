#include "form/CoefficientsText.h"

#include <charconv>

#include "form/CZantroView.h"

std::string CoefficientsText(const CZantroView& view)
{
    if (!view.m_design)
        return {};
    std::string text;
    for (double tap : view.m_design->taps) {
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, tap);
        if (ec == std::errc())
            text.append(buffer, end);
        text += '\n';
    }
    return text;
}
