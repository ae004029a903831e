#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dsp/ResponseMeasurement.h"

// Fixed-point taps: what a target holds in place of the double taps.

enum class QuantRounding { Nearest, Truncate };

// Q7, Q15 and Q31 are the words Make File writes, with its own rules:
// Q7 x * 128 truncated toward zero, Q15 floor(x * 32768 + 0.5), Q31
// x * 2^31 truncated toward zero, each saturated at both ends of its word
// (fraction 7, 15, 31; the rounding choice does not apply). Bits is any word
// length 2..32 with the fraction length given or chosen from the peak tap,
// rounded to nearest (halves away from zero, so antisymmetric taps stay
// antisymmetric) or truncated toward zero, saturated at both ends.
enum class QuantFormat { Bits, Q7, Q15, Q31 };

struct QuantSpec {
    QuantFormat format = QuantFormat::Q15;
    int wordLength = 16;                // Bits: 2..32
    std::optional<int> fractionLength;  // Bits: given, -64..127; none: the largest without overflow
    QuantRounding rounding = QuantRounding::Nearest;
};

enum class QuantStatus { Ok, BadWordLength, BadFractionLength, NonFinite, NoTaps };

struct QuantResult {
    QuantStatus status = QuantStatus::NoTaps;
    QuantSpec quantSpec;
    int wordLength = 0;
    int fractionLength = 0;
    // Extra right shift a target applies after the usual Q(wordLength - 1)
    // product: fractionLength - (wordLength - 1); negative is a left shift.
    int shift = 0;
    std::vector<long long> taps;  // the integer words, value = tap * 2^-fractionLength
    std::vector<double> values;   // taps[i] * 2^-fractionLength
    double maxErrorLsb = 0.0;     // largest |taps[i] - x[i] * 2^fractionLength|, saturation included
    int saturated = 0;            // taps held at an end of the word
    int symmetryBefore = 0;       // TapSymmetry of the double taps (1e-9 of the peak)
    int symmetryAfter = 0;        // TapSymmetry of the integer taps (exact)
    ResponseFigures figures;      // measurement of values, when asked for
};

// The word of x at the fraction length, with the format's rounding and
// saturation; saturated is set when the word was held at an end.
long long QuantizeValue(double x, const QuantSpec& quantSpec, int fractionLength, bool* saturated = nullptr);

// Quantises taps; the figures stay empty.
QuantResult QuantizeTaps(std::span<const double> taps, const QuantSpec& quantSpec);
// Quantises and measures the quantised taps against the same bands.
QuantResult QuantizeAndMeasure(std::span<const double> taps, const QuantSpec& quantSpec, double fs,
                               std::span<const MaskBand> bands, bool crossings);

// "q7", "Q15", "q31" or a word length "2".."32"; nullopt otherwise.
std::optional<QuantSpec> ParseQuantFormat(const std::string& text);
// "Q7", "Q15", "Q31" or "16 bits".
std::string QuantFormatName(const QuantSpec& quantSpec);
