#pragma once

#include <cstdint>
#include <string>

// Pixel arithmetic and label formatting shared by the plot windows.

// A label: printf-style formatting of value with the conversion '%' +
// conversion ("1.2f" gives %1.2f). The conversion must take a double;
// a null conversion gives "".
std::string FormatLabel(const char* conversion, double value);
// The same for a conversion that takes an int ("4d").
std::string FormatLabel(const char* conversion, int value);

// A pixel offset: offset truncated toward zero, then limited to lo..hi.
// A value that is not finite (the dB level of a magnitude 0) gives lo.
int PixelOffset(double offset, int lo, int hi);

// A 64-bit intermediate brought back into int range.
int ClampToInt(std::int64_t v);
// A whole double brought into int range; NaN gives 0.
int RoundToInt(double v);

// A count of tick divisions rounded to the nearest integer; 0 when it is
// not in 1..kMaxDivisions, in which case that axis gets no ticks.
inline constexpr int kMaxDivisions = 512;
int TickDivisions(double divisions);
int TickDivisions(int divisions);

// Index step of a curve of n values thinned to at most 513 points:
// 1 while n - 1 <= 512, else (n - 2) div 512 + 1.
int CurveIndexStep(int n);
// Pixels between the points of a curve that is spaced by its count
// (magnitude and phase plots): 512 div (n - 1) while n - 1 <= 512, else 1;
// 0 for fewer than 2 values, which have only a first point.
int CurveSpacing(int n);
