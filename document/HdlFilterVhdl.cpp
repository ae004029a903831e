#include <algorithm>
#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlSignalNames.h"
#include "document/HdlVhdlText.h"

namespace hdl_vhdl_transposed {

using hdl_names::LevelName;
using hdl_names::ProductInput;
using hdl_names::SourceBits;
using hdlvh::Extend;
using hdlvh::N;
using hdlvh::SignedType;

const char* kZero = "(others => '0')";

// The width a node's sum is taken at: both shifted operands and a carry.
int SumBits(const HdlFilterPlan& plan, const AdderNode& node)
{
    return std::max(SourceBits(plan, node.left) + node.leftShift, SourceBits(plan, node.right) + node.rightShift) + 1;
}

std::string GraphDeclarations(const HdlFilterPlan& plan)
{
    const HdlGraphPlan& g = plan.graph;
    std::string t = "  -- The adder graph: fund_i is the i-th fundamental times x.\n";
    if (plan.options.pipeline)
        for (int level = 1; level <= g.lastLevel[0]; ++level)
            t += "  signal x_lvl_" + N(level) + " : " + SignedType(plan.inputBits) + " := " + kZero + ";\n";
    for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
        const std::string id = N(static_cast<long long>(i));
        t += "  signal fsum_" + id + " : " + SignedType(SumBits(plan, g.graph.nodes[i])) + ";  -- " +
             N(g.graph.nodes[i].value) + " x\n";
        if (!plan.options.pipeline)
            t += "  signal fund_" + id + " : " + SignedType(g.nodeBits[i]) + ";\n";
        else
            for (int level = g.graph.nodes[i].depth; level <= g.lastLevel[i + 1]; ++level)
                t += "  signal fund_" + id + "_" + N(level) + " : " + SignedType(g.nodeBits[i]) + " := " + kZero + ";\n";
    }
    return t;
}

std::string GraphAssignments(const HdlFilterPlan& plan)
{
    const HdlGraphPlan& g = plan.graph;
    std::string t;
    for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
        const AdderNode& node = g.graph.nodes[i];
        const std::string id = N(static_cast<long long>(i));
        const int bits = SumBits(plan, node), level = node.depth - 1;
        const std::string left = hdlvh::Shifted(LevelName(plan, node.left, level), SourceBits(plan, node.left),
                                                node.leftShift, bits);
        const std::string right = hdlvh::Shifted(LevelName(plan, node.right, level), SourceBits(plan, node.right),
                                                 node.rightShift, bits);
        t += "  fsum_" + id + " <= " +
             (node.negateLeft ? right + " - " + left : left + (node.negateRight ? " - " : " + ") + right) + ";\n";
        if (!plan.options.pipeline)
            t += "  fund_" + id + " <= fsum_" + id + "(" + N(node.postShift + g.nodeBits[i] - 1) + " downto " +
                 N(node.postShift) + ");\n";
    }
    return t;
}

std::string GraphUpdate(const HdlFilterPlan& plan)
{
    const HdlGraphPlan& g = plan.graph;
    std::string t;
    for (int level = 1; level <= g.lastLevel[0]; ++level)
        t += "        x_lvl_" + N(level) + " <= " + LevelName(plan, -1, level - 1) + ";\n";
    for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
        const AdderNode& node = g.graph.nodes[i];
        const std::string id = N(static_cast<long long>(i));
        t += "        fund_" + id + "_" + N(node.depth) + " <= fsum_" + id + "(" +
             N(node.postShift + g.nodeBits[i] - 1) + " downto " + N(node.postShift) + ");\n";
        for (int level = node.depth + 1; level <= g.lastLevel[i + 1]; ++level)
            t += "        fund_" + id + "_" + N(level) + " <= fund_" + id + "_" + N(level - 1) + ";\n";
    }
    return t;
}

std::string ProductUpdate(const HdlFilterPlan& plan, size_t j)
{
    const HdlProduct& p = plan.products[j];
    const std::string prod = "prod_" + N(static_cast<long long>(j));
    if (plan.options.architecture == HdlArchitecture::Multiplierless) {
        const int level = plan.options.pipeline ? plan.graph.graph.depth : 0;
        return "        " + prod + " <= " + Extend(LevelName(plan, p.node, level), SourceBits(plan, p.node), p.productBits) +
               ";\n";
    }
    const std::string value = p.factor == 1 ? Extend(ProductInput(plan), plan.inputBits, p.productBits)
                                            : "resize(" + ProductInput(plan) + " * COEF_" + N(static_cast<long long>(j)) +
                                                  ", " + N(p.productBits) + ")";
    if (!plan.options.pipeline)
        return "        " + prod + " <= " + value + ";\n";
    return "        " + prod + "_m <= " + value + ";\n        " + prod + " <= " + prod + "_m;\n";
}

std::string ChainAssignment(const HdlFilterPlan& plan, int k)
{
    const HdlChainTerm& t = plan.terms[static_cast<size_t>(k)];
    const int bits = plan.chainBits[static_cast<size_t>(k)];
    const std::string acc = "acc_" + N(k);
    const bool last = k == plan.chainLength - 1;
    const std::string next = last ? "" : Extend("acc_" + N(k + 1), plan.chainBits[static_cast<size_t>(k) + 1], bits);
    if (t.product < 0)
        return acc + " <= " + (last ? std::string(kZero) : next) + ";";
    const HdlProduct& p = plan.products[static_cast<size_t>(t.product)];
    const std::string product = hdlvh::Shifted("prod_" + N(t.product), p.productBits, t.shift, bits);
    if (last)
        return acc + " <= " + (t.subtract ? "-" : "") + product + ";";
    return acc + " <= " + next + (t.subtract ? " - " : " + ") + product + ";";
}

}  // namespace hdl_vhdl_transposed

std::string VhdlTransposedText(const HdlFilterPlan& plan, const std::string& name,
                               const std::vector<std::string>& summary)
{
    using namespace hdl_vhdl_transposed;
    const bool graph = plan.options.architecture == HdlArchitecture::Multiplierless;
    const int b = plan.inputBits, stages = plan.latency;
    const int chainStage = 1 + plan.productStages;
    const std::string y = "acc_" + N(plan.firstTap);

    std::string t = hdlvh::EntityOpening(plan, name, summary);
    if (!graph) {
        t += "  -- The distinct odd factors of the words, one multiplier each.\n";
        for (size_t j = 0; j < plan.products.size(); ++j) {
            const HdlProduct& p = plan.products[j];
            const int bits = SignedBitsFor(p.factor, p.factor);
            if (p.factor > 1)
                t += "  constant COEF_" + N(static_cast<long long>(j)) + " : " + SignedType(bits) + " := " +
                     hdlvh::Constant(p.factor, bits) + ";\n";
        }
    }
    t += "  -- stage_valid(i): the sample taken i clocks ago is in stage i.\n";
    t += "  signal stage_valid : std_logic_vector(1 to " + N(stages) + ") := (others => '0');\n";
    t += "  signal x_reg : " + SignedType(b) + " := " + kZero + ";\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "  signal x_dly_" + N(d) + " : " + SignedType(b) + " := " + kZero + ";  -- x[n-" + N(d) + "]\n";
    if (graph)
        t += GraphDeclarations(plan);
    t += "  -- prod_j is factor_j * x; the taps it serves add it shifted.\n";
    for (size_t j = 0; j < plan.products.size(); ++j) {
        const HdlProduct& p = plan.products[j];
        std::string taps;
        for (int k : p.taps)
            taps += (taps.empty() ? "" : ", ") + std::string("b[") + N(k) + "]";
        const std::string decl = "  signal prod_" + N(static_cast<long long>(j));
        const std::string type = " : " + SignedType(p.productBits) + " := " + kZero + ";";
        if (!graph && plan.options.pipeline)
            t += decl + "_m" + type + "\n";
        t += decl + type + "  -- " + N(p.factor) + " x: " + taps + "\n";
    }
    t += "  -- acc_k sums b[k..] over the samples so far; " + y + " is y.\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        t += "  signal acc_" + N(k) + " : " + SignedType(plan.chainBits[static_cast<size_t>(k)]) + " := " + kZero + ";\n";
    t += hdlvh::RoundingDeclarations(plan);
    t += "begin\n";
    if (graph)
        t += GraphAssignments(plan);
    t += hdlvh::RoundingAssignments(plan, y);
    t += "\n  process (clk)\n  begin\n    if rising_edge(clk) then\n      if rst = '1' then\n";
    t += "        stage_valid <= (others => '0');\n        x_reg <= (others => '0');\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "        x_dly_" + N(d) + " <= (others => '0');\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        t += "        acc_" + N(k) + " <= (others => '0');\n";
    t += hdlvh::RoundingReset(plan, "        ");
    t += "      else\n";
    t += "        stage_valid <= in_valid & stage_valid(1 to " + N(stages - 1) + ");\n";
    t += "        if in_valid = '1' then\n          x_reg <= in_data;\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "          x_dly_" + N(d) + " <= " + (d == 1 ? std::string("x_reg") : "x_dly_" + N(d - 1)) + ";\n";
    t += "        end if;\n";
    if (graph && plan.options.pipeline)
        t += GraphUpdate(plan);
    for (size_t j = 0; j < plan.products.size(); ++j)
        t += ProductUpdate(plan, j);
    t += "        if stage_valid(" + N(chainStage) + ") = '1' then\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        t += "          " + ChainAssignment(plan, k) + "\n";
    t += "        end if;\n";
    t += hdlvh::RoundingUpdate(plan, "stage_valid(" + N(chainStage + 1) + ") = '1'", "        ");
    t += "      end if;\n    end if;\n  end process;\n\n";
    t += "  out_valid <= stage_valid(" + N(stages) + ");\n";
    t += hdlvh::OutputAssignment(plan, y);
    t += "end architecture rtl;\n";
    return t;
}
