#include <algorithm>

#include "document/HdlFilterPlan.h"

namespace {

std::string Plural(long long n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void TransposedStructure(const HdlFilterPlan& plan, std::vector<std::string>& lines)
{
    const std::string first = std::to_string(plan.firstTap);
    lines.push_back("Structure: " + std::string(HdlArchitectureName(plan.options.architecture)) +
                    ", transposed direct form, r[k] <= b[k] * x + r[k+1], r[" + first + "] = y");
    const auto nonzero = std::count_if(plan.words.begin(), plan.words.end(), [](long long w) { return w != 0; });
    lines.push_back("  one product per distinct odd factor of |b[k]| (" + std::to_string(plan.products.size()) +
                    " for " + Plural(nonzero, "nonzero word", "nonzero words") +
                    "): words equal in magnitude or apart by a power of two share it, shifted and added or "
                    "subtracted");
    if (plan.firstTap > 0)
        lines.push_back("  b[0.." + std::to_string(plan.firstTap - 1) + "] are zero: the input is delayed " +
                        Plural(plan.firstTap, "sample", "samples") + " in place of the chain");
    if (plan.options.architecture == HdlArchitecture::Multiplierless) {
        const HdlGraphPlan& g = plan.graph;
        lines.push_back("  no multiplier: the odd factors come from a graph of " +
                        Plural(static_cast<long long>(g.graph.nodes.size()), "adder", "adders") +
                        " over shifts of x, " + Plural(g.graph.depth, "adder", "adders") +
                        " deep (canonical signed digits, each factor alone, need " + std::to_string(g.csdAdders) +
                        ")" + (plan.options.pipeline ? "; a register after every level of the graph" : ""));
    } else if (plan.options.pipeline) {
        lines.push_back("  pipelined products: two registers after every multiplier");
    }
}

void FoldedStructure(const HdlFilterPlan& plan, std::vector<std::string>& lines)
{
    const HdlFoldedPlan& f = plan.folded;
    lines.push_back("Structure: folded, direct form over a delay line of the last " +
                    Plural(f.delayLength, "sample", "samples") + ", " + Plural(f.clocks, "clock", "clocks") +
                    " a sample");
    lines.push_back("  " + Plural(static_cast<long long>(f.units.size()), "multiply-accumulate unit",
                                  "multiply-accumulate units") +
                    (f.units.size() == 1 ? " takes the " : " take the ") + Plural(static_cast<long long>(plan.products.size()), "distinct odd factor",
                                          "distinct odd factors") +
                    " of |b[k]| in turn, at most " + std::to_string(f.clocks) + " each");
    lines.push_back("  a pre-adder sums the samples of each factor's taps (a linear-phase pair, words equal in "
                    "magnitude or apart by a power of two), shifted and added or subtracted, before the multiplier");
    lines.push_back("  a registered adder tree of " +
                    Plural(static_cast<long long>(f.treeBits.size()), "level", "levels") +
                    " sums the units; in_ready is high when a sample may be taken");
}

}  // namespace

std::vector<std::string> HdlFilterDescription(const HdlFilterPlan& plan)
{
    const int b = plan.inputBits, a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    std::vector<std::string> lines;
    if (folded)
        FoldedStructure(plan, lines);
    else
        TransposedStructure(plan, lines);
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
                    " clocks (a sample taken in clock cycle c gives out_valid in cycle c + " +
                    std::to_string(plan.latency) + "); " +
                    (folded ? "one sample every " + Plural(plan.folded.clocks, "clock", "clocks") +
                                  " at most, taken when in_valid and in_ready are high"
                            : std::string("one sample a clock at most, taken when in_valid is high")));
    lines.push_back("Reset: rst (synchronous, active high) clears the samples, the sums and the valid flags; every "
                    "register also starts at zero, so a reset is needed only where initial values are not kept "
                    "(most ASIC flows)");
    std::string adders = Plural(plan.adders, "adder", "adders");
    std::vector<std::string> parts;
    if (plan.options.architecture == HdlArchitecture::Multiplierless)
        parts.push_back(std::to_string(plan.graph.graph.nodes.size()) + " in the graph");
    if (plan.rounded)
        parts.push_back("one of them rounds");
    for (size_t i = 0; i < parts.size(); ++i)
        adders += (i == 0 ? " (" : ", ") + parts[i] + (i + 1 == parts.size() ? ")" : "");
    lines.push_back("Resources: " + Plural(plan.multipliers, "multiplier", "multipliers") + ", " + adders + ", " +
                    Plural(plan.registerBits, "register bit", "register bits"));
    return lines;
}
