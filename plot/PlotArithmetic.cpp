#include "plot/PlotArithmetic.h"

#include <climits>
#include <cmath>

#include "platform/TextFormat.h"

namespace {

template <typename T>
std::string Format(const char* conversion, T value)
{
    if (!conversion)
        return "";
    return FormatText(std::string("%") + conversion, value);
}

}  // namespace

std::string FormatLabel(const char* conversion, double value)
{
    return Format(conversion, value);
}

std::string FormatLabel(const char* conversion, int value)
{
    return Format(conversion, value);
}

int PixelOffset(double offset, int lo, int hi)
{
    if (!std::isfinite(offset))
        return lo;
    const double t = std::trunc(offset);
    if (t <= lo)
        return lo;
    if (t >= hi)
        return hi;
    return static_cast<int>(t);
}

int ClampToInt(std::int64_t v)
{
    if (v < INT_MIN)
        return INT_MIN;
    if (v > INT_MAX)
        return INT_MAX;
    return static_cast<int>(v);
}

int RoundToInt(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= INT_MIN)
        return INT_MIN;
    if (v >= INT_MAX)
        return INT_MAX;
    return static_cast<int>(v);
}

int TickDivisions(double divisions)
{
    const double n = std::floor(divisions + 0.5);
    if (!(n >= 1.0 && n <= kMaxDivisions))
        return 0;
    return static_cast<int>(n);
}

int TickDivisions(int divisions)
{
    return divisions >= 1 && divisions <= kMaxDivisions ? divisions : 0;
}

int CurveIndexStep(int n)
{
    return n - 1 <= 512 ? 1 : (n - 2) / 512 + 1;
}

int CurveSpacing(int n)
{
    if (n < 2)
        return 0;
    return n - 1 <= 512 ? 512 / (n - 1) : 1;
}
