#include <algorithm>
#include <bit>

#include "document/HdlFilterPlan.h"

namespace hdl_folded_plan {

struct Bound {
    HdlInteger p = 0, q = 0;  // positive and negative word sums
};

int BoundBits(const Bound& b, int inputBits)
{
    HdlInteger lo = 0, hi = 0;
    HdlRangeOf(b.p, b.q, inputBits, lo, hi);
    return SignedBitsFor(lo, hi);
}

void AddWord(Bound& b, HdlInteger w)
{
    (w > 0 ? b.p : b.q) += w > 0 ? w : -w;
}

}  // namespace hdl_folded_plan

int HdlFoldedShift(const HdlFilterPlan& plan, const HdlProduct& product)
{
    int shift = -1;
    for (int k : product.taps) {
        const int s = plan.terms[static_cast<size_t>(k)].shift;
        shift = shift < 0 ? s : std::min(shift, s);
    }
    return std::max(shift, 0);
}

void PlanFoldedFilter(HdlFilterPlan& plan)
{
    using namespace hdl_folded_plan;
    HdlFoldedPlan& f = plan.folded;
    const int b = plan.inputBits;
    f.clocks = plan.options.clocksPerSample;
    f.phaseBits = f.clocks > 1 ? std::bit_width(static_cast<unsigned>(f.clocks - 1)) : 0;
    f.delayLength = 1;
    for (int k = 0; k < plan.taps; ++k)
        if (plan.words[static_cast<size_t>(k)] != 0)
            f.delayLength = k + 1;

    // All words zero: one unit that multiplies nothing keeps the structure.
    const int products = static_cast<int>(plan.products.size());
    const int units = std::max(1, (products + f.clocks - 1) / f.clocks);
    std::vector<Bound> level;
    for (int u = 0; u < units; ++u) {
        HdlFoldedUnit unit;
        unit.operandBits = b;
        unit.wordBits = 2;
        Bound bound;
        HdlInteger productLo = 0, productHi = 0;
        for (int j = u * f.clocks; j < std::min(products, (u + 1) * f.clocks); ++j) {
            const HdlProduct& product = plan.products[static_cast<size_t>(j)];
            unit.slots.push_back(j);
            // The pre-adder's sum of +-(x << (shift - base)) over the product's taps.
            const int base = HdlFoldedShift(plan, product);
            const HdlInteger word = static_cast<HdlInteger>(product.factor) << base;
            Bound operand;
            for (int k : product.taps) {
                const HdlChainTerm& term = plan.terms[static_cast<size_t>(k)];
                const HdlInteger scale = static_cast<HdlInteger>(1) << (term.shift - base);
                AddWord(operand, term.subtract ? -scale : scale);
                AddWord(bound, static_cast<HdlInteger>(plan.words[static_cast<size_t>(k)]));
                plan.adders += k == product.taps.front() ? 0 : 1;
            }
            HdlInteger lo = 0, hi = 0;
            HdlRangeOf(operand.p, operand.q, b, lo, hi);
            unit.operandBits = std::max(unit.operandBits, SignedBitsFor(lo, hi));
            unit.wordBits = std::max(unit.wordBits, SignedBitsFor(word, word));
            productLo = std::min(productLo, lo * word);
            productHi = std::max(productHi, hi * word);
        }
        unit.productBits = SignedBitsFor(productLo, productHi);
        unit.accumulatorBits = BoundBits(bound, b);
        level.push_back(bound);
        plan.registerBits += unit.operandBits + unit.wordBits + unit.productBits + unit.accumulatorBits;
        ++plan.adders;  // the accumulator
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
