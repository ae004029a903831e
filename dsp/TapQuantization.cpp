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

int WordLengthOf(const QuantSpec& spec) {
    switch (spec.format) {
    case QuantFormat::Q7:
        return 8;
    case QuantFormat::Q15:
        return 16;
    case QuantFormat::Q31:
        return 32;
    default:
        return spec.wordLength;
    }
}

bool Overflows(std::span<const double> taps, const QuantSpec& spec, int fraction) {
    for (double t : taps) {
        bool sat = false;
        QuantizeValue(t, spec, fraction, &sat);
        if (sat) {
            return true;
        }
    }
    return false;
}

// The largest fraction length at which no tap overflows, starting from the
// one the peak's exponent gives (rounding may push a tap just over).
int AutoFraction(std::span<const double> taps, const QuantSpec& spec, int word) {
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
    while (f > -64 && Overflows(taps, spec, f)) {
        --f;
    }
    return f;
}

}  // namespace

long long QuantizeValue(double x, const QuantSpec& spec, int fractionLength, bool* saturated) {
    const int word = WordLengthOf(spec);
    const double hi = std::ldexp(1.0, word - 1) - 1.0;
    const double lo = -std::ldexp(1.0, word - 1);
    const double v = std::ldexp(x, fractionLength);
    double q = 0.0;
    switch (spec.format) {
    case QuantFormat::Q15:
        q = std::floor(v + 0.5);
        break;
    case QuantFormat::Q7:
    case QuantFormat::Q31:
        q = std::trunc(v);
        break;
    case QuantFormat::Bits:
        q = spec.rounding == QuantRounding::Nearest ? std::round(v) : std::trunc(v);
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

QuantResult QuantizeTaps(std::span<const double> taps, const QuantSpec& spec) {
    QuantResult r;
    r.spec = spec;
    r.wordLength = WordLengthOf(spec);
    if (spec.format == QuantFormat::Bits && (spec.wordLength < 2 || spec.wordLength > 32)) {
        r.status = QuantStatus::BadWordLength;
        return r;
    }
    if (spec.format == QuantFormat::Bits && spec.fractionLength &&
        (*spec.fractionLength < -64 || *spec.fractionLength > 127)) {
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
    if (spec.format != QuantFormat::Bits) {
        r.fractionLength = FixedFraction(spec.format);
    } else if (spec.fractionLength) {
        r.fractionLength = *spec.fractionLength;
    } else {
        r.fractionLength = AutoFraction(taps, spec, r.wordLength);
    }
    r.shift = r.fractionLength - (r.wordLength - 1);
    for (double t : taps) {
        bool sat = false;
        const long long q = QuantizeValue(t, spec, r.fractionLength, &sat);
        r.saturated += sat ? 1 : 0;
        r.taps.push_back(q);
        r.values.push_back(std::ldexp(static_cast<double>(q), -r.fractionLength));
        r.maxErrorLsb = std::max(r.maxErrorLsb, std::abs(static_cast<double>(q) - std::ldexp(t, r.fractionLength)));
    }
    r.symmetryBefore = TapSymmetry(taps, 1e-9);
    r.symmetryAfter = TapSymmetry(r.values, 0.0);
    return r;
}

QuantResult QuantizeAndMeasure(std::span<const double> taps, const QuantSpec& spec, double fs,
                               std::span<const MaskBand> bands, bool crossings) {
    QuantResult r = QuantizeTaps(taps, spec);
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
    QuantSpec spec;
    if (lower == "q7" || lower == "q15" || lower == "q31") {
        spec.format = lower == "q7" ? QuantFormat::Q7 : lower == "q15" ? QuantFormat::Q15 : QuantFormat::Q31;
        spec.wordLength = WordLengthOf(spec);
        return spec;
    }
    int bits = 0;
    const auto [end, ec] = std::from_chars(lower.data(), lower.data() + lower.size(), bits);
    if (ec != std::errc() || end != lower.data() + lower.size() || bits < 2 || bits > 32) {
        return std::nullopt;
    }
    spec.format = QuantFormat::Bits;
    spec.wordLength = bits;
    return spec;
}

std::string QuantFormatName(const QuantSpec& spec) {
    switch (spec.format) {
    case QuantFormat::Q7:
        return "Q7";
    case QuantFormat::Q15:
        return "Q15";
    case QuantFormat::Q31:
        return "Q31";
    default:
        return std::to_string(spec.wordLength) + " bits";
    }
}
