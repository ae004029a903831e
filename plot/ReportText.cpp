#include "plot/ReportText.h"

#include "platform/TextFormat.h"

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
    return TrimLeft(FormatText(format, value));
}

std::string FormatTrimmed(const char* format, double value)
{
    return TrimLeft(FormatText(format, value));
}

std::string FormatBandLine(int number, const RemezBand& band)
{
    const char* format = "  %1d     %1d      %4d        %4d          %2.3f     %3.3f";
    return FormatText(format, number, band.m_bUse, band.m_nLowerEdge, band.m_nUpperEdge, band.m_dValue,
                      band.m_dWeight);
}

std::string FormatGridLine(int gridDensity)
{
    return FormatText("Grid Size:  %2d", gridDensity);
}
