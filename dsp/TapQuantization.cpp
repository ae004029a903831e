#include "dsp/TapQuantization.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

int FixedFraction(QuantFormat format) {
    switch (format) {
    case QuantFormat::Q7:
        return 7;
    case QuantFormat::Q31:
        return 31;
    default:
        return 15;
    }
}

int WordLengthOf(const QuantSpec& quantSpec) {
    switch (quantSpec.format) {
    case QuantFormat::Q7:
        return 8;
    case QuantFormat::Q15:
        return 16;
    case QuantFormat::Q31:
        return 32;
    default:
        return quantSpec.wordLength;
    }
}

bool Overflows(std::span<const double> taps, const QuantSpec& quantSpec, int fraction) {
    for (double t : taps) {
        bool sat = false;
        QuantizeValue(t, quantSpec, fraction, &sat);
        if (sat) {
            return true;
        }
    }
    return false;
}

// The largest fraction length at which no tap overflows, starting from the
// one the peak's exponent gives (rounding may push a tap just over).
int AutoFraction(std::span<const double> taps, const QuantSpec& quantSpec, int word) {
    double peak = 0.0;
    for (double t : taps) {
        peak = std::max(peak, std::abs(t));
    }
    if (peak == 0.0) {
        return word - 1;
    }
    int exponent = 0;
    std::frexp(peak, &exponent);  // peak < 2^exponent
    int f = std::clamp(word - 1 - exponent + 1, -64, 127);
    while (f > -64 && Overflows(taps, quantSpec, f)) {
        --f;
    }
    return f;
}

}  // namespace

long long QuantizeValue(double x, const QuantSpec& quantSpec, int fractionLength, bool* saturated) {
    const int word = WordLengthOf(quantSpec);
    const double hi = std::ldexp(1.0, word - 1) - 1.0;
    const double lo = -std::ldexp(1.0, word - 1);
    const double v = std::ldexp(x, fractionLength);
    double q = 0.0;
    switch (quantSpec.format) {
    case QuantFormat::Q15:
        q = std::floor(v + 0.5);
        break;
    case QuantFormat::Q7:
    case QuantFormat::Q31:
        q = std::trunc(v);
        break;
    case QuantFormat::Bits:
        q = quantSpec.rounding == QuantRounding::Nearest ? std::round(v) : std::trunc(v);
        break;
    }
    bool sat = false;
    if (std::isnan(q)) {
        q = 0.0;
    } else if (q > hi) {
        q = hi;
        sat = true;
    } else if (q < lo) {
        q = lo;
        sat = true;
    }
    if (saturated) {
        *saturated = sat;
    }
    return static_cast<long long>(q);
}

QuantResult QuantizeTaps(std::span<const double> taps, const QuantSpec& quantSpec) {
    QuantResult r;
    r.quantSpec = quantSpec;
    r.wordLength = WordLengthOf(quantSpec);
    if (quantSpec.format == QuantFormat::Bits && (quantSpec.wordLength < 2 || quantSpec.wordLength > 32)) {
        r.status = QuantStatus::BadWordLength;
        return r;
    }
    if (quantSpec.format == QuantFormat::Bits && quantSpec.fractionLength &&
        (*quantSpec.fractionLength < -64 || *quantSpec.fractionLength > 127)) {
        r.status = QuantStatus::BadFractionLength;
        return r;
    }
    if (taps.empty()) {
        return r;
    }
    for (double t : taps) {
        if (!std::isfinite(t)) {
            r.status = QuantStatus::NonFinite;
            return r;
        }
    }
    r.status = QuantStatus::Ok;
    if (quantSpec.format != QuantFormat::Bits) {
        r.fractionLength = FixedFraction(quantSpec.format);
    } else if (quantSpec.fractionLength) {
        r.fractionLength = *quantSpec.fractionLength;
    } else {
        r.fractionLength = AutoFraction(taps, quantSpec, r.wordLength);
    }
    r.shift = r.fractionLength - (r.wordLength - 1);
    for (double t : taps) {
        bool sat = false;
        const long long q = QuantizeValue(t, quantSpec, r.fractionLength, &sat);
        r.saturated += sat ? 1 : 0;
        r.taps.push_back(q);
        r.values.push_back(std::ldexp(static_cast<double>(q), -r.fractionLength));
        r.maxErrorLsb = std::max(r.maxErrorLsb, std::abs(static_cast<double>(q) - std::ldexp(t, r.fractionLength)));
    }
    r.symmetryBefore = TapSymmetry(taps, 1e-9);
    r.symmetryAfter = TapSymmetry(r.values, 0.0);
    return r;
}

QuantResult QuantizeAndMeasure(std::span<const double> taps, const QuantSpec& quantSpec, double fs,
                               std::span<const MaskBand> bands, bool crossings) {
    QuantResult r = QuantizeTaps(taps, quantSpec);
    if (r.status == QuantStatus::Ok) {
        r.figures = MeasureResponse(r.values, fs, bands, crossings);
    }
    return r;
}

std::optional<QuantSpec> ParseQuantFormat(const std::string& text) {
    std::string lower;
    for (char c : text) {
        lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    QuantSpec quantSpec;
    if (lower == "q7" || lower == "q15" || lower == "q31") {
        quantSpec.format = lower == "q7" ? QuantFormat::Q7 : lower == "q15" ? QuantFormat::Q15 : QuantFormat::Q31;
        quantSpec.wordLength = WordLengthOf(quantSpec);
        return quantSpec;
    }
    int bits = 0;
    const auto [end, ec] = std::from_chars(lower.data(), lower.data() + lower.size(), bits);
    if (ec != std::errc() || end != lower.data() + lower.size() || bits < 2 || bits > 32) {
        return std::nullopt;
    }
    quantSpec.format = QuantFormat::Bits;
    quantSpec.wordLength = bits;
    return quantSpec;
}

std::string QuantFormatName(const QuantSpec& quantSpec) {
    switch (quantSpec.format) {
    case QuantFormat::Q7:
        return "Q7";
    case QuantFormat::Q15:
        return "Q15";
    case QuantFormat::Q31:
        return "Q31";
    default:
        return std::to_string(quantSpec.wordLength) + " bits";
    }
}
