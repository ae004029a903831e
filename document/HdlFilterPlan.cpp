#include "document/HdlFilterPlan.h"

#include <algorithm>
#include <bit>
#include <map>

namespace hdl_plan {

HdlInteger Power2(int bits)
{
    return static_cast<HdlInteger>(1) << bits;
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

int ProductBits(long long factor, int inputBits)
{
    HdlInteger lo = 0, hi = 0;
    HdlRangeOf(factor, 0, inputBits, lo, hi);
    return SignedBitsFor(lo, hi);
}

}  // namespace hdl_plan

void GroupHdlProducts(HdlFilterPlan& plan)
{
    using hdl_plan::ProductBits;
    const int n = plan.taps;
    plan.terms.assign(static_cast<size_t>(n), HdlChainTerm{});
    std::map<long long, int> productOf;
    for (int k = 0; k < n; ++k) {
        const long long w = plan.words[static_cast<size_t>(k)];
        if (w == 0)
            continue;
        const long long factor = OddPart(w);
        auto [it, added] = productOf.emplace(factor, static_cast<int>(plan.products.size()));
        if (added) {
            HdlProduct p;
            p.factor = factor;
            p.productBits = ProductBits(factor, plan.inputBits);
            plan.products.push_back(p);
        }
        plan.products[static_cast<size_t>(it->second)].taps.push_back(k);
        const unsigned long long magnitude =
            w < 0 ? 0ULL - static_cast<unsigned long long>(w) : static_cast<unsigned long long>(w);
        plan.terms[static_cast<size_t>(k)] = {it->second, std::countr_zero(magnitude), w < 0};
    }
}

namespace hdl_plan {

// The parallel and multiplierless filter: chain, widths, the graph.
void PlanTransposed(HdlFilterPlan& plan)
{
    const int n = plan.taps;
    const std::vector<long long>& words = plan.words;
    // The chain runs from the first to the last nonzero word: later
    // registers would only hold zeros, earlier ones only delay y, which the
    // narrower input does instead.
    plan.firstTap = 0;
    plan.chainLength = 1;
    for (int k = n - 1; k >= 0; --k)
        if (words[static_cast<size_t>(k)] != 0)
            plan.firstTap = k;
    for (int k = 0; k < n; ++k)
        if (words[static_cast<size_t>(k)] != 0)
            plan.chainLength = k + 1;
    plan.chainBits.assign(static_cast<size_t>(plan.chainLength), 0);
    HdlInteger p = 0, q = 0;
    for (int k = plan.chainLength - 1; k >= plan.firstTap; --k) {
        const long long w = words[static_cast<size_t>(k)];
        (w > 0 ? p : q) += w > 0 ? w : -static_cast<HdlInteger>(w);
        HdlInteger lo = 0, hi = 0;
        HdlRangeOf(p, q, plan.inputBits, lo, hi);
        plan.chainBits[static_cast<size_t>(k)] = SignedBitsFor(lo, hi);
        // Every nonzero term is an adder but the last, which is one only when it negates.
        if (w != 0 && (k < plan.chainLength - 1 || plan.terms[static_cast<size_t>(k)].subtract))
            ++plan.adders;
    }

    const bool graph = plan.options.architecture == HdlArchitecture::Multiplierless;
    for (const HdlProduct& product : plan.products)
        if (!graph && product.factor > 1)
            ++plan.multipliers;
    plan.productStages = plan.options.pipeline ? 2 : 1;
    if (graph) {
        std::vector<long long> factors;
        for (const HdlProduct& product : plan.products)
            factors.push_back(product.factor);
        HdlGraphPlan& g = plan.graph;
        g.graph = MakeAdderGraph(factors);
        g.csdAdders = CsdAdders(factors);
        for (const AdderNode& node : g.graph.nodes)
            g.nodeBits.push_back(ProductBits(node.value, plan.inputBits));
        for (HdlProduct& product : plan.products)
            product.node = AdderNodeOf(g.graph, product.factor);
        plan.adders += static_cast<int>(g.graph.nodes.size());
        if (plan.options.pipeline) {
            const int depth = g.graph.depth;
            plan.productStages = 1 + depth;
            g.lastLevel.assign(g.graph.nodes.size() + 1, 0);
            for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
                const AdderNode& node = g.graph.nodes[i];
                g.lastLevel[i + 1] = node.depth;
                for (int operand : {node.left, node.right}) {
                    int& last = g.lastLevel[static_cast<size_t>(operand + 1)];
                    last = std::max(last, node.depth - 1);
                }
            }
            for (const HdlProduct& product : plan.products)
                g.lastLevel[static_cast<size_t>(product.node + 1)] = depth;
        }
    }

    // Input register and the delayed samples, products, chain and one valid flag a stage.
    plan.registerBits = plan.inputBits * (1 + plan.firstTap);
    for (const HdlProduct& product : plan.products)
        plan.registerBits += product.productBits * (graph ? 1 : plan.productStages);
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        plan.registerBits += plan.chainBits[static_cast<size_t>(k)];
    if (graph && plan.options.pipeline) {
        const HdlGraphPlan& g = plan.graph;
        plan.registerBits += g.lastLevel[0] * plan.inputBits;
        for (size_t i = 0; i < g.graph.nodes.size(); ++i)
            plan.registerBits += (g.lastLevel[i + 1] - g.graph.nodes[i].depth + 1) * g.nodeBits[i];
    }
    plan.latency = 2 + plan.productStages;
    plan.registerBits += plan.latency + (plan.rounded ? 1 : 0);
}

}  // namespace hdl_plan

using namespace hdl_plan;

const char* HdlArchitectureName(HdlArchitecture a)
{
    switch (a) {
    case HdlArchitecture::Folded:
        return "folded";
    case HdlArchitecture::Multiplierless:
        return "multiplierless";
    case HdlArchitecture::Parallel:
        break;
    }
    return "parallel";
}

bool ParseHdlArchitecture(const std::string& text, HdlArchitecture& a)
{
    std::string key;
    for (char c : text)
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (int i = 0; i < kHdlArchitectureCount; ++i)
        if (key == HdlArchitectureName(static_cast<HdlArchitecture>(i))) {
            a = static_cast<HdlArchitecture>(i);
            return true;
        }
    return false;
}

void HdlRangeOf(HdlInteger p, HdlInteger q, int inputBits, HdlInteger& lo, HdlInteger& hi)
{
    const HdlInteger top = Power2(inputBits - 1);
    hi = p * (top - 1) + q * top;
    lo = -(p * top + q * (top - 1));
}

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
                                int inputBits, int outputBits, const HdlFilterOptions& options)
{
    HdlFilterPlan plan;
    plan.options = options;
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
    plan.status = HdlPlanStatus::BadClocks;
    if (options.architecture == HdlArchitecture::Folded &&
        (options.clocksPerSample < kMinHdlClocksPerSample || options.clocksPerSample > kMaxHdlClocksPerSample))
        return plan;
    plan.status = HdlPlanStatus::Ok;

    plan.taps = static_cast<int>(words.size());
    plan.wordLength = wordLength;
    plan.fractionLength = fractionLength;
    plan.inputBits = inputBits;
    plan.words = words;
    plan.symmetry = SymmetryOf(words);
    for (long long w : words)
        (w > 0 ? plan.sumPositive : plan.sumNegative) += w > 0 ? w : -static_cast<HdlInteger>(w);
    HdlRangeOf(plan.sumPositive, plan.sumNegative, inputBits, plan.outputMin, plan.outputMax);
    plan.accumulatorBits = SignedBitsFor(plan.outputMin, plan.outputMax);
    plan.outputBits = outputBits == 0 ? plan.accumulatorBits : outputBits;
    plan.rounded = plan.outputBits < plan.accumulatorBits;
    plan.shift = plan.rounded ? plan.accumulatorBits - plan.outputBits : 0;

    GroupHdlProducts(plan);
    if (options.architecture == HdlArchitecture::Folded)
        PlanFoldedFilter(plan);
    else
        PlanTransposed(plan);
    // The rounding stage: one more clock, an adder and the output register
    // (its valid flag counted by each architecture).
    if (plan.rounded) {
        ++plan.latency;
        ++plan.adders;
        plan.registerBits += plan.outputBits;
    }
    return plan;
}
