#include "plot/ReportText.h"

#include <cstdio>
#include <vector>

#include "platform/DataExchange.h"

namespace {

std::string TrimLeft(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

Font ReportFont(int logPixelsY)
{
    if (logPixelsY <= 0)
        logPixelsY = 96;
    return {kReportFontFace, (kReportFontPoints * logPixelsY + 36) / 72, 400};
}

std::string FormatTrimmed(const char* format, int value)
{
    return TrimLeft(FormatInt(format, value));
}

std::string FormatTrimmed(const char* format, double value)
{
    return TrimLeft(FormatDouble(format, value));
}

std::string FormatBandLine(int number, const RemezBand& band)
{
    const char* format = "  %1d     %1d      %4d        %4d          %2.3f     %3.3f";
    // Sized by a first pass: a document may hold values of any magnitude.
    const int length = std::snprintf(nullptr, 0, format, number, band.m_bUse, band.m_nLowerEdge,
                                     band.m_nUpperEdge, band.m_dValue, band.m_dWeight);
    if (length <= 0)
        return {};
    std::vector<char> buf(static_cast<size_t>(length) + 1);
    std::snprintf(buf.data(), buf.size(), format, number, band.m_bUse, band.m_nLowerEdge, band.m_nUpperEdge,
                  band.m_dValue, band.m_dWeight);
    return std::string(buf.data(), static_cast<size_t>(length));
}

std::string FormatGridLine(int gridDensity)
{
    return FormatInt("Grid Size:  %2d", gridDensity);
}
