#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/ExportProfile.h"

// Taps designed elsewhere (scipy, MATLAB, another tool), read from a file
// and described for an export, so they leave Zantro with the same header,
// figures and proof as its own designs.

// At most this many taps are read: CMSIS-DSP's numTaps is a uint16_t.
inline constexpr int kMaxForeignTaps = 65535;

enum class TapsFileStatus {
    Ok,
    CannotOpen,  // not found, not a regular file, or unreadable
    NoTaps,      // no number at all
    NotANumber,  // a field that is no number (line and field named)
    NotFinite,   // a number beyond the double range, infinity or NaN
    EmptyField,  // two commas with nothing between them
    TooMany,     // more than kMaxForeignTaps
    BadJson,     // JSON that holds no array of numbers where taps are expected
};

struct TapsFile {
    TapsFileStatus status = TapsFileStatus::NoTaps;
    std::vector<double> taps;
    // The rate a Zantro JSON file states (its export's parameters or
    // source, or zantro-cli --json's sampling_rate_hz); none in text.
    std::optional<double> samplingRateHz;
    int line = 0;       // NotANumber, NotFinite, EmptyField: the 1-based line
    std::string field;  // NotANumber, NotFinite: the field as written
};

// The taps in text. JSON when the first character that is not white space
// is "{" or "[": an array of numbers, or an object with the array under
// "taps" (the json export) or "coefficients" (zantro-cli --json). Anything
// else is text: numbers separated by commas, blanks, tabs or line breaks
// (one a line, or CSV rows), "#" to the end of a line a comment (the csv
// export's header); read independent of the locale, a leading "+" allowed.
TapsFile ParseTaps(std::string_view text);

// Reads the regular file at path and parses it (OpenRegularFile: a folder,
// device or FIFO cannot be opened).
TapsFile ReadTapsFile(const std::string& path);

// The message of a refused file, naming it as path; empty for Ok.
std::string TapsFileMessage(const TapsFile& file, const std::string& path);

// The export's description of taps designed elsewhere at fs Hz: named by
// source, measured on bands, or without them on the requirement's bands
// (neither: the figures every file states without bands, DC gain and group
// delay), with the -3/-6 dB crossings when a band is a pass band, judged
// against requirement when given.
ExportDesign ForeignExportDesign(const std::vector<double>& taps, double fs, const std::string& source,
                                 const std::vector<MaskBand>& bands, const std::vector<SpecBand>& requirement);
