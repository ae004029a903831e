#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlSignalNames.h"
#include "document/HdlVerilogText.h"

namespace hdl_verilog_folded {

using hdl_names::Id;
using hdl_names::TreeBits;
using hdl_names::TreeName;
using hdl_names::TreeWidth;
using hdlv::Extend;
using hdlv::N;
using hdlv::Range;

// Unit u's operand and word in clock p (zero past its slots).
std::string ReadAssignments(const HdlFilterPlan& plan, int p, const std::string& indent)
{
    const HdlFoldedPlan& f = plan.folded;
    const int b = plan.inputBits;
    std::string t;
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        const std::string pre = "pre_" + Id(u), coef = "coef_" + Id(u);
        if (p >= static_cast<int>(unit.slots.size())) {
            t += indent + pre + " <= " + N(unit.operandBits) + "'sd0;\n";
            t += indent + coef + " <= " + N(unit.wordBits) + "'sd0;\n";
            continue;
        }
        const HdlProduct& product = plan.products[static_cast<size_t>(unit.slots[static_cast<size_t>(p)])];
        const int base = HdlFoldedShift(plan, product);
        std::string operand, taps;
        for (int k : product.taps) {
            const HdlChainTerm& term = plan.terms[static_cast<size_t>(k)];
            operand += (term.subtract ? (operand.empty() ? "-" : " - ") : (operand.empty() ? "" : " + ")) +
                       hdlv::Shifted("dl_" + N(k), b, term.shift - base, unit.operandBits);
            taps += (taps.empty() ? "b[" : ", b[") + N(k) + "]";
        }
        t += indent + pre + " <= " + operand + ";\n";
        t += indent + coef + " <= " + hdlv::Literal(product.factor << base, unit.wordBits) + ";  // " + taps + "\n";
    }
    return t;
}

}  // namespace hdl_verilog_folded

std::string VerilogFoldedText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary)
{
    using namespace hdl_verilog_folded;
    const HdlFoldedPlan& f = plan.folded;
    const int b = plan.inputBits, pb = f.phaseBits;
    const size_t levels = f.treeBits.size();
    const std::string y = TreeName(levels, 0);
    const std::string last = pb > 0 ? N(pb) + "'d" + N(f.clocks - 1) : "";

    std::string t = hdlv::ModuleOpening(plan, name, summary);
    t += "    // dl_k is x[n-k], the sample taken k samples ago.\n";
    for (int k = 0; k < f.delayLength; ++k)
        t += "    reg signed " + Range(b) + " dl_" + N(k) + " = " + N(b) + "'sd0;\n";
    t += "    // busy: a sample's " + N(f.clocks) + " clocks are under way" +
         (pb > 0 ? ", phase counts them" : "") + ".\n";
    t += "    reg busy = 1'b0;\n";
    if (pb > 0)
        t += "    reg " + Range(pb) + " phase = " + N(pb) + "'d0;\n";
    t += "    // Flags of the read, multiply and accumulate stages.\n";
    t += "    reg r_valid = 1'b0, r_first = 1'b0, r_last = 1'b0;\n";
    t += "    reg m_valid = 1'b0, m_first = 1'b0, m_last = 1'b0;\n";
    t += "    reg a_done = 1'b0;\n";
    t += "    reg [" + N(static_cast<long long>(levels)) + ":1] tree_valid = " + N(static_cast<long long>(levels)) + "'b0;\n";
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        t += "    reg signed " + Range(unit.operandBits) + " pre_" + Id(u) + " = " + N(unit.operandBits) + "'sd0;\n";
        t += "    reg signed " + Range(unit.wordBits) + " coef_" + Id(u) + " = " + N(unit.wordBits) + "'sd0;\n";
        t += "    reg signed " + Range(unit.productBits) + " prod_" + Id(u) + " = " + N(unit.productBits) + "'sd0;\n";
        t += "    reg signed " + Range(unit.accumulatorBits) + " acc_" + Id(u) + " = " + N(unit.accumulatorBits) +
             "'sd0;\n";
    }
    for (size_t l = 1; l <= levels; ++l)
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i) {
            const int bits = TreeBits(plan, l, i);
            t += "    reg signed " + Range(bits) + " " + TreeName(l, i) + " = " + N(bits) + "'sd0;\n";
        }
    t += hdlv::RoundingDeclarations(plan, y);
    t += "\n    assign in_ready = " + (pb > 0 ? "!busy || phase == " + last : std::string("1'b1")) + ";\n";

    t += "\n    always @(posedge clk) begin\n        if (rst) begin\n";
    for (int k = 0; k < f.delayLength; ++k)
        t += "            dl_" + N(k) + " <= " + N(b) + "'sd0;\n";
    t += "            busy <= 1'b0;\n";
    if (pb > 0)
        t += "            phase <= " + N(pb) + "'d0;\n";
    t += "            r_valid <= 1'b0;\n            m_valid <= 1'b0;\n            a_done <= 1'b0;\n";
    t += "            tree_valid <= " + N(static_cast<long long>(levels)) + "'b0;\n";
    for (size_t u = 0; u < f.units.size(); ++u)
        t += "            acc_" + Id(u) + " <= " + N(f.units[u].accumulatorBits) + "'sd0;\n";
    for (size_t l = 1; l <= levels; ++l)
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i)
            t += "            " + TreeName(l, i) + " <= " + N(TreeBits(plan, l, i)) + "'sd0;\n";
    t += hdlv::RoundingReset(plan, "            ");
    t += "        end else begin\n";
    t += "            if (in_valid && in_ready) begin\n                dl_0 <= in_data;\n";
    for (int k = 1; k < f.delayLength; ++k)
        t += "                dl_" + N(k) + " <= dl_" + N(k - 1) + ";\n";
    t += "            end\n";
    if (pb > 0) {
        t += "            if (in_valid && in_ready) begin\n                busy <= 1'b1;\n                phase <= " + N(pb) +
             "'d0;\n";
        t += "            end else if (busy) begin\n                if (phase == " + last +
             ")\n                    busy <= 1'b0;\n";
        t += "                else\n                    phase <= phase + " + N(pb) + "'d1;\n            end\n";
        t += "            r_valid <= busy;\n            r_first <= busy && phase == " + N(pb) + "'d0;\n";
        t += "            r_last <= busy && phase == " + last + ";\n";
        t += "            case (phase)\n";
        for (int p = 0; p < f.clocks; ++p)
            t += "            " + N(pb) + "'d" + N(p) + ": begin\n" + ReadAssignments(plan, p, "                ") +
                 "            end\n";
        if ((1 << pb) != f.clocks)
            t += "            default: begin\n" + ReadAssignments(plan, f.clocks, "                ") + "            end\n";
        t += "            endcase\n";
    } else {
        t += "            busy <= in_valid;\n";
        t += "            r_valid <= busy;\n            r_first <= busy;\n            r_last <= busy;\n";
        t += ReadAssignments(plan, 0, "            ");
    }
    t += "            m_valid <= r_valid;\n            m_first <= r_first;\n            m_last <= r_last;\n";
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        const int pbits = unit.productBits;
        t += "            prod_" + Id(u) + " <= $signed(" + Extend("pre_" + Id(u), unit.operandBits, pbits) + ") * $signed(" +
             Extend("coef_" + Id(u), unit.wordBits, pbits) + ");\n";
    }
    t += "            if (m_valid) begin\n";
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        const std::string product = Extend("prod_" + Id(u), unit.productBits, unit.accumulatorBits);
        t += "                acc_" + Id(u) + " <= m_first ? " + product + " : acc_" + Id(u) + " + " + product + ";\n";
    }
    t += "            end\n";
    t += "            a_done <= m_valid && m_last;\n";
    t += "            tree_valid <= {" + (levels > 1 ? "tree_valid[" + N(static_cast<long long>(levels) - 1) + ":1], " : std::string()) +
         "a_done};\n";
    for (size_t l = 1; l <= levels; ++l) {
        t += "            if (" + (l == 1 ? std::string("a_done") : "tree_valid[" + Id(l - 1) + "]") + ") begin\n";
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i) {
            const int bits = TreeBits(plan, l, i);
            std::string sum = Extend(TreeName(l - 1, 2 * i), TreeBits(plan, l - 1, 2 * i), bits);
            if (2 * i + 1 < TreeWidth(plan, l - 1))
                sum += " + " + Extend(TreeName(l - 1, 2 * i + 1), TreeBits(plan, l - 1, 2 * i + 1), bits);
            t += "                " + TreeName(l, i) + " <= " + sum + ";\n";
        }
        t += "            end\n";
    }
    t += hdlv::RoundingUpdate(plan, "tree_valid[" + Id(levels) + "]", "            ");
    t += "        end\n    end\n\n";
    if (plan.rounded) {
        t += "    reg out_done = 1'b0;\n";
        t += "    always @(posedge clk)\n        out_done <= !rst && tree_valid[" + Id(levels) + "];\n";
    }
    t += "    assign out_valid = " + (plan.rounded ? std::string("out_done") : "tree_valid[" + Id(levels) + "]") + ";\n";
    t += hdlv::OutputAssignment(plan, y);
    t += "endmodule\n";
    return t;
}
