#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlSignalNames.h"
#include "document/HdlVerilogText.h"

namespace hdl_verilog_transposed {

using hdl_names::LevelName;
using hdl_names::ProductInput;
using hdl_names::SourceBits;
using hdlv::Extend;
using hdlv::N;
using hdlv::Range;
using hdlv::Shifted;

// One operand of a node, +-(value << shift), at the sum's width.
std::string Operand(const HdlFilterPlan& plan, int source, int shift, int level, int bits)
{
    return Shifted(LevelName(plan, source, level), SourceBits(plan, source), shift, bits);
}

// The graph: each node's sum of its operands, sliced by its post shift.
std::string GraphDeclarations(const HdlFilterPlan& plan)
{
    const HdlGraphPlan& g = plan.graph;
    std::string t = "    // The adder graph: fund_i is the i-th fundamental times x.\n";
    if (plan.options.pipeline) {
        for (int level = 1; level <= g.lastLevel[0]; ++level)
            t += "    reg signed " + Range(plan.inputBits) + " x_lvl_" + N(level) + " = " + N(plan.inputBits) + "'sd0;\n";
        for (size_t i = 0; i < g.graph.nodes.size(); ++i)
            for (int level = g.graph.nodes[i].depth; level <= g.lastLevel[i + 1]; ++level)
                t += "    reg signed " + Range(g.nodeBits[i]) + " fund_" + N(static_cast<long long>(i)) + "_" + N(level) +
                     " = " + N(g.nodeBits[i]) + "'sd0;\n";
    }
    t += hdlv::LintOff("UNUSEDSIGNAL");
    for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
        const AdderNode& node = g.graph.nodes[i];
        const int bits = g.nodeBits[i] + node.postShift;
        const int level = node.depth - 1;
        const std::string left = Operand(plan, node.left, node.leftShift, level, bits);
        const std::string right = Operand(plan, node.right, node.rightShift, level, bits);
        const std::string sum = node.negateLeft ? right + " - " + left
                                : node.negateRight ? left + " - " + right
                                                   : left + " + " + right;
        const std::string id = N(static_cast<long long>(i));
        const std::string name = plan.options.pipeline || node.postShift > 0 ? "fsum_" + id : "fund_" + id;
        t += "    wire signed " + Range(bits) + " " + name + " = " + sum + ";  // " + N(node.value) + " x\n";
        if (!plan.options.pipeline && node.postShift > 0)
            t += "    wire signed " + Range(g.nodeBits[i]) + " fund_" + id + " = fsum_" + id + "[" + N(bits - 1) +
                 ":" + N(node.postShift) + "];\n";
    }
    t += hdlv::LintOn("UNUSEDSIGNAL");
    return t;
}

std::string GraphUpdate(const HdlFilterPlan& plan)
{
    const HdlGraphPlan& g = plan.graph;
    std::string t;
    for (int level = 1; level <= g.lastLevel[0]; ++level)
        t += "            x_lvl_" + N(level) + " <= " + LevelName(plan, -1, level - 1) + ";\n";
    for (size_t i = 0; i < g.graph.nodes.size(); ++i) {
        const AdderNode& node = g.graph.nodes[i];
        const std::string id = N(static_cast<long long>(i));
        const int bits = g.nodeBits[i] + node.postShift;
        t += "            fund_" + id + "_" + N(node.depth) + " <= fsum_" + id + "[" + N(bits - 1) + ":" +
             N(node.postShift) + "];\n";
        for (int level = node.depth + 1; level <= g.lastLevel[i + 1]; ++level)
            t += "            fund_" + id + "_" + N(level) + " <= fund_" + id + "_" + N(level - 1) + ";\n";
    }
    return t;
}

std::string ProductUpdate(const HdlFilterPlan& plan, size_t j)
{
    const HdlProduct& p = plan.products[j];
    const std::string prod = "prod_" + N(static_cast<long long>(j));
    if (plan.options.architecture == HdlArchitecture::Multiplierless) {
        const int level = plan.options.pipeline ? plan.graph.graph.depth : 0;
        return "            " + prod + " <= " + Extend(LevelName(plan, p.node, level), SourceBits(plan, p.node), p.productBits) +
               ";\n";
    }
    const std::string x = Extend(ProductInput(plan), plan.inputBits, p.productBits);
    const std::string value = p.factor == 1 ? x : "$signed(" + x + ") * COEF_" + N(static_cast<long long>(j));
    if (!plan.options.pipeline)
        return "            " + prod + " <= " + value + ";\n";
    return "            " + prod + "_m <= " + value + ";\n            " + prod + " <= " + prod + "_m;\n";
}

// Every operand sized to the register, so the sum is taken at its width.
std::string ChainAssignment(const HdlFilterPlan& plan, int k)
{
    const HdlChainTerm& t = plan.terms[static_cast<size_t>(k)];
    const int bits = plan.chainBits[static_cast<size_t>(k)];
    const std::string acc = "acc_" + N(k);
    const bool last = k == plan.chainLength - 1;
    const std::string next =
        last ? "" : Extend("acc_" + N(k + 1), plan.chainBits[static_cast<size_t>(k) + 1], bits);
    if (t.product < 0)
        return acc + " <= " + (last ? N(bits) + "'sd0" : next) + ";";
    const HdlProduct& p = plan.products[static_cast<size_t>(t.product)];
    const std::string product = Shifted("prod_" + N(t.product), p.productBits, t.shift, bits);
    if (last)
        return acc + " <= " + (t.subtract ? "-" : "") + product + ";";
    return acc + " <= " + next + (t.subtract ? " - " : " + ") + product + ";";
}

}  // namespace hdl_verilog_transposed

std::string VerilogTransposedText(const HdlFilterPlan& plan, const std::string& name,
                                  const std::vector<std::string>& summary)
{
    using namespace hdl_verilog_transposed;
    const bool graph = plan.options.architecture == HdlArchitecture::Multiplierless;
    const int b = plan.inputBits, stages = plan.latency;
    const int chainStage = 1 + plan.productStages;
    const std::string y = "acc_" + N(plan.firstTap);

    std::string t = hdlv::ModuleOpening(plan, name, summary);
    if (!graph) {
        t += "    // The distinct odd factors of the words, one multiplier each.\n";
        for (size_t j = 0; j < plan.products.size(); ++j) {
            const HdlProduct& p = plan.products[j];
            if (p.factor > 1)
                t += "    localparam signed " + Range(p.productBits) + " COEF_" + N(static_cast<long long>(j)) + " = " +
                     hdlv::Literal(p.factor, p.productBits) + ";\n";
        }
    }
    t += "    // stage_valid[i]: the sample taken i clocks ago is in stage i.\n";
    t += "    reg [" + N(stages) + ":1] stage_valid = " + N(stages) + "'b0;\n";
    t += "    reg signed " + Range(b) + " x_reg = " + N(b) + "'sd0;\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "    reg signed " + Range(b) + " x_dly_" + N(d) + " = " + N(b) + "'sd0;  // x[n-" + N(d) + "]\n";
    if (graph)
        t += GraphDeclarations(plan);
    t += "    // prod_j is factor_j * x; the taps it serves add it shifted.\n";
    for (size_t j = 0; j < plan.products.size(); ++j) {
        const HdlProduct& p = plan.products[j];
        std::string taps;
        for (int k : p.taps)
            taps += (taps.empty() ? "" : ", ") + std::string("b[") + N(k) + "]";
        const std::string decl = "    reg signed " + Range(p.productBits) + " prod_" + N(static_cast<long long>(j));
        const std::string zero = " = " + N(p.productBits) + "'sd0;";
        if (!graph && plan.options.pipeline)
            t += decl + "_m" + zero + "\n";
        t += decl + zero + "  // " + N(p.factor) + " x: " + taps + "\n";
    }
    t += "    // acc_k sums b[k..] over the samples so far; " + y + " is y.\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k) {
        const int bits = plan.chainBits[static_cast<size_t>(k)];
        t += "    reg signed " + Range(bits) + " acc_" + N(k) + " = " + N(bits) + "'sd0;\n";
    }
    t += hdlv::RoundingDeclarations(plan, y);

    t += "\n    always @(posedge clk) begin\n        if (rst) begin\n";
    t += "            stage_valid <= " + N(stages) + "'b0;\n";
    t += "            x_reg <= " + N(b) + "'sd0;\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "            x_dly_" + N(d) + " <= " + N(b) + "'sd0;\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        t += "            acc_" + N(k) + " <= " + N(plan.chainBits[static_cast<size_t>(k)]) + "'sd0;\n";
    t += hdlv::RoundingReset(plan, "            ");
    t += "        end else begin\n";
    t += "            stage_valid <= {stage_valid[" + N(stages - 1) + ":1], in_valid};\n";
    t += "            if (in_valid) begin\n                x_reg <= in_data;\n";
    for (int d = 1; d <= plan.firstTap; ++d)
        t += "                x_dly_" + N(d) + " <= " + (d == 1 ? std::string("x_reg") : "x_dly_" + N(d - 1)) + ";\n";
    t += "            end\n";
    if (graph && plan.options.pipeline)
        t += GraphUpdate(plan);
    for (size_t j = 0; j < plan.products.size(); ++j)
        t += ProductUpdate(plan, j);
    t += "            if (stage_valid[" + N(chainStage) + "]) begin\n";
    for (int k = plan.firstTap; k < plan.chainLength; ++k)
        t += "                " + ChainAssignment(plan, k) + "\n";
    t += "            end\n";
    t += hdlv::RoundingUpdate(plan, "stage_valid[" + N(chainStage + 1) + "]", "            ");
    t += "        end\n    end\n\n";
    t += "    assign out_valid = stage_valid[" + N(stages) + "];\n";
    t += hdlv::OutputAssignment(plan, y);
    t += "endmodule\n";
    return t;
}
