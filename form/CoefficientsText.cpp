#include "form/CoefficientsText.h"

#include <charconv>

#include "form/CZantroView.h"

std::string CoefficientsText(const CZantroView& view)
{
    if (view.m_bDesignValid != 1 || view.m_nTaps != view.m_Coeffs.m_nCount)
        return {};
    std::string text;
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i) {
        char buffer[32];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, view.m_Coeffs.GetValue(i, 0));
        if (ec == std::errc())
            text.append(buffer, end);
        text += '\n';
    }
    return text;
}
