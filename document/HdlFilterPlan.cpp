#include "document/HdlFilterPlan.h"

#include <algorithm>

namespace {

HdlInteger Power2(int bits)
{
    return static_cast<HdlInteger>(1) << bits;
}

// The range of sum b[j] * x[j] over independent B-bit inputs, for words whose
// positive sum is p and negative magnitude sum q.
void RangeOf(HdlInteger p, HdlInteger q, int inputBits, HdlInteger& lo, HdlInteger& hi)
{
    const HdlInteger top = Power2(inputBits - 1);
    hi = p * (top - 1) + q * top;
    lo = -(p * top + q * (top - 1));
}

HdlSymmetry SymmetryOf(const std::vector<long long>& w)
{
    const size_t n = w.size();
    bool even = true, odd = true;
    for (size_t k = 0; k < n; ++k) {
        even = even && w[k] == w[n - 1 - k];
        odd = odd && w[k] == -w[n - 1 - k];
    }
    // All-zero words are both; the plain chain is the simpler answer.
    if (even && odd)
        return HdlSymmetry::None;
    return even ? HdlSymmetry::Symmetric : odd ? HdlSymmetry::Antisymmetric : HdlSymmetry::None;
}

std::string Plural(long long n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

int SignedBitsFor(HdlInteger lo, HdlInteger hi)
{
    int bits = 1;
    while (bits < 127 && (lo < -Power2(bits - 1) || hi > Power2(bits - 1) - 1))
        ++bits;
    return bits;
}

std::string HdlIntegerText(HdlInteger v)
{
    if (v == 0)
        return "0";
    const bool negative = v < 0;
    std::string digits;
    // Digits of the magnitude one at a time from the negative side, which holds the most negative value too.
    HdlInteger rest = negative ? v : -v;
    while (rest != 0) {
        digits += static_cast<char>('0' - static_cast<int>(rest % 10));
        rest /= 10;
    }
    if (negative)
        digits += '-';
    std::reverse(digits.begin(), digits.end());
    return digits;
}

HdlFilterPlan MakeHdlFilterPlan(const std::vector<long long>& words, int wordLength, int fractionLength,
                                int inputBits, int outputBits)
{
    HdlFilterPlan plan;
    if (words.empty())
        return plan;
    plan.status = HdlPlanStatus::BadWordLength;
    if (wordLength < 2 || wordLength > 32)
        return plan;
    plan.status = HdlPlanStatus::BadInputBits;
    if (inputBits < kMinHdlInputBits || inputBits > kMaxHdlInputBits)
        return plan;
    plan.status = HdlPlanStatus::BadOutputBits;
    if (outputBits != 0 && (outputBits < kMinHdlOutputBits || outputBits > kMaxHdlOutputBits))
        return plan;
    plan.status = HdlPlanStatus::WordOutOfRange;
    const long long wordTop = 1LL << (wordLength - 1);
    for (long long w : words)
        if (w < -wordTop || w > wordTop - 1)
            return plan;
    plan.status = HdlPlanStatus::Ok;

    const int n = static_cast<int>(words.size());
    plan.taps = n;
    plan.wordLength = wordLength;
    plan.fractionLength = fractionLength;
    plan.inputBits = inputBits;
    plan.words = words;
    plan.symmetry = SymmetryOf(words);
    plan.terms.assign(static_cast<size_t>(n), HdlChainTerm{});
    for (int k = 0; k < n; ++k) {
        const long long w = words[static_cast<size_t>(k)];
        const int mirror = n - 1 - k;
        if (w == 0 || (plan.symmetry != HdlSymmetry::None && mirror < k))
            continue;
        HdlMultiplier m;
        m.word = w;
        m.tap = k;
        HdlInteger lo = 0, hi = 0;
        RangeOf(w > 0 ? w : 0, w < 0 ? -w : 0, inputBits, lo, hi);
        m.productBits = SignedBitsFor(lo, hi);
        plan.terms[static_cast<size_t>(k)].multiplier = static_cast<int>(plan.multipliers.size());
        if (plan.symmetry != HdlSymmetry::None && mirror != k) {
            m.mirror = mirror;
            m.subtract = plan.symmetry == HdlSymmetry::Antisymmetric;
            plan.terms[static_cast<size_t>(mirror)] = {static_cast<int>(plan.multipliers.size()), m.subtract};
        }
        const unsigned long long magnitude = static_cast<unsigned long long>(w < 0 ? -w : w);
        if ((magnitude & (magnitude - 1)) == 0)
            ++plan.shiftMultipliers;
        plan.multipliers.push_back(m);
    }

    // The chain ends at the last nonzero word: later registers would only hold zeros.
    plan.chainLength = 1;
    for (int k = 0; k < n; ++k)
        if (words[static_cast<size_t>(k)] != 0)
            plan.chainLength = k + 1;
    plan.chainBits.assign(static_cast<size_t>(plan.chainLength), 1);
    HdlInteger p = 0, q = 0;
    for (int k = plan.chainLength - 1; k >= 0; --k) {
        const long long w = words[static_cast<size_t>(k)];
        (w > 0 ? p : q) += w > 0 ? w : -static_cast<HdlInteger>(w);
        HdlInteger lo = 0, hi = 0;
        RangeOf(p, q, inputBits, lo, hi);
        plan.chainBits[static_cast<size_t>(k)] = SignedBitsFor(lo, hi);
        // Every nonzero term is an adder but the last, which is one only when it negates.
        if (w != 0 && (k < plan.chainLength - 1 || plan.terms[static_cast<size_t>(k)].subtract))
            ++plan.adders;
    }
    plan.sumPositive = p;
    plan.sumNegative = q;
    RangeOf(p, q, inputBits, plan.outputMin, plan.outputMax);
    plan.accumulatorBits = plan.chainBits[0];
    plan.outputBits = outputBits == 0 ? plan.accumulatorBits : outputBits;
    plan.rounded = plan.outputBits < plan.accumulatorBits;
    plan.shift = plan.rounded ? plan.accumulatorBits - plan.outputBits : 0;
    plan.latency = plan.rounded ? 4 : 3;

    // Input register, product registers, chain, the rounded output, and one valid flag a stage.
    plan.registerBits = inputBits + plan.latency;
    for (const HdlMultiplier& m : plan.multipliers)
        plan.registerBits += m.productBits;
    for (int bits : plan.chainBits)
        plan.registerBits += bits;
    if (plan.rounded) {
        plan.registerBits += plan.outputBits;
        ++plan.adders;
    }
    return plan;
}

std::vector<std::string> HdlFilterDescription(const HdlFilterPlan& plan)
{
    const int b = plan.inputBits, a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift;
    const int folded = static_cast<int>(std::count_if(plan.multipliers.begin(), plan.multipliers.end(),
                                                      [](const HdlMultiplier& m) { return m.mirror >= 0; }));
    std::vector<std::string> lines;
    lines.push_back("Structure: transposed direct form, r[k] <= b[k] * x + r[k+1], r[0] = y; synchronous reset");
    if (plan.symmetry == HdlSymmetry::None)
        lines.push_back("  one multiplier per nonzero word (the words are not linear-phase)");
    else
        lines.push_back(std::string("  ") +
                        (plan.symmetry == HdlSymmetry::Symmetric ? "symmetric" : "antisymmetric") +
                        " words: tap k and tap " + std::to_string(plan.taps) +
                        "-1-k share one multiplier (the transposed symmetric pre-adder)" +
                        (plan.symmetry == HdlSymmetry::Antisymmetric ? ", the mirror subtracting" : ""));
    lines.push_back("Formats: in_data " + std::to_string(b) + "-bit signed integer x; b[k] " +
                    std::to_string(plan.wordLength) + "-bit signed words (value b[k] * 2^-" +
                    std::to_string(plan.fractionLength) + "); out_data " + std::to_string(o) + "-bit signed");
    lines.push_back("Accumulator: " + std::to_string(a) + " bits; sum |b[k]| = " +
                    HdlIntegerText(plan.sumPositive + plan.sumNegative) + ", |y| <= sum |b[k]| * 2^" +
                    std::to_string(b - 1) + ", every input gives " + HdlIntegerText(plan.outputMin) +
                    " <= y <= " + HdlIntegerText(plan.outputMax) + " (no overflow)");
    lines.push_back("Output: y[n] = sum_{k=0}^{" + std::to_string(plan.taps - 1) + "} b[k] * x[n-k]");
    if (!plan.rounded) {
        lines.push_back("  out_data = y[n], exact" +
                        std::string(o > a ? " (sign-extended from " + std::to_string(a) + " bits)" : ""));
    } else {
        lines.push_back("  out_data = clamp(floor((y + 2^" + std::to_string(s - 1) + " - (y < 0 ? 1 : 0)) / 2^" +
                        std::to_string(s) + "), -2^" + std::to_string(o - 1) + ", 2^" + std::to_string(o - 1) +
                        " - 1)");
        lines.push_back("  that is y shifted right by " + std::to_string(s) +
                        " bits, rounded half away from zero, saturated to " + std::to_string(o) + " bits");
    }
    const int scale = plan.shift - plan.fractionLength;
    lines.push_back("  one out_data step is 2^" + std::to_string(scale) + " input steps");
    lines.push_back("Latency: " + std::to_string(plan.latency) +
                    " clocks (in_valid in clock cycle c gives out_valid in cycle c + " +
                    std::to_string(plan.latency) + "); one sample a clock at most, taken when in_valid is high");
    lines.push_back("Resources: " + Plural(static_cast<long long>(plan.multipliers.size()), "multiplier", "multipliers") +
                    " (" + std::to_string(folded) + " shared by two taps, " + std::to_string(plan.shiftMultipliers) +
                    " by a power of two: a shift), " +
                    Plural(plan.adders, "adder", "adders") + (plan.rounded ? " (one of them rounds)" : "") + ", " +
                    Plural(plan.registerBits, "register bit", "register bits"));
    return lines;
}
