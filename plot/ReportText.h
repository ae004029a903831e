#pragma once

#include <string>

#include "dsp/RemezBand.h"
#include "platform/DrawContext.h"

// Texts and font of the printed design report. The text blocks are laid out
// in a 1024 x 256 logical window, one line per 32-unit row.

inline constexpr const char* kReportFontFace = "Courier New";
// Metric-compatible face for platforms without Courier New.
inline constexpr const char* kReportFontFallback = "Liberation Mono";
inline constexpr int kReportFontPoints = 16;
inline constexpr int kReportRowHeight = 32;  // logical units

inline constexpr const char* kBandTableHeader =
    "Band   Use   Lower Edge  Upper Edge      Value     Weight";

// The report font for a screen of logPixelsY dots per inch: 16 points as a
// character height in logical units, rounded to the nearest unit (21 at 96).
Font ReportFont(int logPixelsY);

// Formats one integer or double like printf and removes the leading blanks
// that a field width adds ("%4d" of 129 gives "129").
std::string FormatTrimmed(const char* format, int value);
std::string FormatTrimmed(const char* format, double value);

// Line of band number 1..8 in the band table.
std::string FormatBandLine(int number, const RemezBand& band);
// "Grid Size:  %2d".
std::string FormatGridLine(int gridDensity);
