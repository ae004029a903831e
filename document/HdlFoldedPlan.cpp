#include <algorithm>
#include <bit>

#include "document/HdlFilterPlan.h"

namespace {

struct Bound {
    HdlInteger p = 0, q = 0;  // positive and negative word sums
};

int BoundBits(const Bound& b, int inputBits)
{
    HdlInteger lo = 0, hi = 0;
    HdlRangeOf(b.p, b.q, inputBits, lo, hi);
    return SignedBitsFor(lo, hi);
}

void AddWord(Bound& b, long long w)
{
    (w > 0 ? b.p : b.q) += w > 0 ? w : -static_cast<HdlInteger>(w);
}

// The range of the pre-adder's output for a slot.
void OperandRange(const HdlFoldedSlot& slot, int inputBits, HdlInteger& lo, HdlInteger& hi)
{
    const HdlInteger top = static_cast<HdlInteger>(1) << (inputBits - 1);
    if (slot.mirror < 0) {
        lo = -top;
        hi = top - 1;
    } else if (slot.subtract) {
        lo = -(2 * top - 1);
        hi = 2 * top - 1;
    } else {
        lo = -2 * top;
        hi = 2 * top - 2;
    }
}

}  // namespace

void PlanFoldedFilter(HdlFilterPlan& plan)
{
    HdlFoldedPlan& f = plan.folded;
    const int n = plan.taps, b = plan.inputBits;
    f.clocks = plan.options.clocksPerSample;
    f.phaseBits = f.clocks > 1 ? std::bit_width(static_cast<unsigned>(f.clocks - 1)) : 0;
    f.delayLength = 1;
    for (int k = 0; k < n; ++k) {
        const long long w = plan.words[static_cast<size_t>(k)];
        const int mirror = n - 1 - k;
        if (w == 0 || (plan.symmetry != HdlSymmetry::None && mirror < k))
            continue;
        HdlFoldedSlot slot{w, k, -1, false};
        if (plan.symmetry != HdlSymmetry::None && mirror != k) {
            slot.mirror = mirror;
            slot.subtract = plan.symmetry == HdlSymmetry::Antisymmetric;
        }
        f.delayLength = std::max(f.delayLength, std::max(k, slot.mirror) + 1);
        f.slots.push_back(slot);
    }
    // All words zero: one unit multiplying by zero keeps the structure.
    if (f.slots.empty())
        f.slots.push_back(HdlFoldedSlot{});

    const int slots = static_cast<int>(f.slots.size());
    const int units = (slots + f.clocks - 1) / f.clocks;
    std::vector<Bound> level;
    for (int u = 0; u < units; ++u) {
        HdlFoldedUnit unit;
        Bound bound;
        HdlInteger productLo = 0, productHi = 0;
        for (int s = u * f.clocks; s < std::min(slots, (u + 1) * f.clocks); ++s) {
            const HdlFoldedSlot& slot = f.slots[static_cast<size_t>(s)];
            unit.slots.push_back(s);
            HdlInteger lo = 0, hi = 0;
            OperandRange(slot, b, lo, hi);
            unit.operandBits = std::max(unit.operandBits, SignedBitsFor(lo, hi));
            unit.wordBits = std::max(unit.wordBits, SignedBitsFor(slot.word, slot.word));
            productLo = std::min({productLo, lo * slot.word, hi * slot.word});
            productHi = std::max({productHi, lo * slot.word, hi * slot.word});
            AddWord(bound, slot.word);
            if (slot.mirror >= 0)
                AddWord(bound, slot.subtract ? -slot.word : slot.word);
        }
        unit.productBits = SignedBitsFor(productLo, productHi);
        unit.accumulatorBits = BoundBits(bound, b);
        level.push_back(bound);
        plan.registerBits += unit.operandBits + unit.wordBits + unit.productBits + unit.accumulatorBits;
        plan.adders += 1 + (unit.operandBits > b ? 1 : 0);  // the accumulator and the pre-adder
        f.units.push_back(unit);
    }
    plan.multipliers = units;

    // The adder tree; a single unit's sum is copied into y.
    do {
        std::vector<Bound> next;
        std::vector<int> bits;
        for (size_t i = 0; i < level.size(); i += 2) {
            Bound sum = level[i];
            if (i + 1 < level.size()) {
                sum.p += level[i + 1].p;
                sum.q += level[i + 1].q;
                ++plan.adders;
            }
            next.push_back(sum);
            bits.push_back(BoundBits(sum, b));
            plan.registerBits += bits.back();
        }
        f.treeBits.push_back(bits);
        level = next;
    } while (level.size() > 1);

    const int levels = static_cast<int>(f.treeBits.size());
    // Delay line, clock counter and busy flag, the three stages' flags, one a tree level.
    plan.registerBits += f.delayLength * b + f.phaseBits + 1 + 7 + levels + (plan.rounded ? 1 : 0);
    plan.latency = f.clocks + 3 + levels;
}
