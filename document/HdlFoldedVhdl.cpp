#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlSignalNames.h"
#include "document/HdlVhdlText.h"

namespace hdl_vhdl_folded {

using hdl_names::Id;
using hdl_names::TreeBits;
using hdl_names::TreeName;
using hdl_names::TreeWidth;
using hdlvh::Extend;
using hdlvh::N;
using hdlvh::SignedType;

std::string ReadAssignments(const HdlFilterPlan& plan, int p, const std::string& indent)
{
    const HdlFoldedPlan& f = plan.folded;
    const int b = plan.inputBits;
    std::string t;
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        const std::string pre = "pre_" + Id(u), coef = "coef_" + Id(u);
        if (p >= static_cast<int>(unit.slots.size())) {
            t += indent + pre + " <= (others => '0');\n" + indent + coef + " <= (others => '0');\n";
            continue;
        }
        const HdlProduct& product = plan.products[static_cast<size_t>(unit.slots[static_cast<size_t>(p)])];
        const int base = HdlFoldedShift(plan, product);
        std::string operand, taps;
        for (int k : product.taps) {
            const HdlChainTerm& term = plan.terms[static_cast<size_t>(k)];
            operand += (term.subtract ? (operand.empty() ? "-" : " - ") : (operand.empty() ? "" : " + ")) +
                       hdlvh::Shifted("dl_" + N(k), b, term.shift - base, unit.operandBits);
            taps += (taps.empty() ? "b[" : ", b[") + N(k) + "]";
        }
        t += indent + pre + " <= " + operand + ";\n";
        t += indent + coef + " <= " + hdlvh::Constant(product.factor << base, unit.wordBits) + ";  -- " + taps + "\n";
    }
    return t;
}

}  // namespace hdl_vhdl_folded

std::string VhdlFoldedText(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary)
{
    using namespace hdl_vhdl_folded;
    const HdlFoldedPlan& f = plan.folded;
    const int b = plan.inputBits, clocks = f.clocks;
    const size_t levels = f.treeBits.size();
    const std::string y = TreeName(levels, 0);
    const std::string zero = " := (others => '0');\n";

    std::string t = hdlvh::EntityOpening(plan, name, summary);
    t += "  -- dl_k is x[n-k], the sample taken k samples ago.\n";
    for (int k = 0; k < f.delayLength; ++k)
        t += "  signal dl_" + N(k) + " : " + SignedType(b) + zero;
    t += "  -- busy: a sample's " + N(clocks) + " clocks are under way, phase counts them.\n";
    t += "  signal busy  : std_logic := '0';\n";
    t += "  signal phase : natural range 0 to " + N(clocks - 1) + " := 0;\n";
    t += "  signal ready : std_logic;\n";
    t += "  -- Flags of the read, multiply and accumulate stages.\n";
    t += "  signal r_valid, r_first, r_last : std_logic := '0';\n";
    t += "  signal m_valid, m_first, m_last : std_logic := '0';\n";
    t += "  signal a_done : std_logic := '0';\n";
    t += "  signal tree_valid : std_logic_vector(1 to " + Id(levels) + ") := (others => '0');\n";
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        t += "  signal pre_" + Id(u) + " : " + SignedType(unit.operandBits) + zero;
        t += "  signal coef_" + Id(u) + " : " + SignedType(unit.wordBits) + zero;
        t += "  signal prod_" + Id(u) + " : " + SignedType(unit.productBits) + zero;
        t += "  signal acc_" + Id(u) + " : " + SignedType(unit.accumulatorBits) + zero;
    }
    for (size_t l = 1; l <= levels; ++l)
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i)
            t += "  signal " + TreeName(l, i) + " : " + SignedType(TreeBits(plan, l, i)) + zero;
    t += hdlvh::RoundingDeclarations(plan);
    if (plan.rounded)
        t += "  signal out_done : std_logic := '0';\n";
    t += "begin\n";
    t += "  ready <= '1' when busy = '0' or phase = " + N(clocks - 1) + " else '0';\n";
    t += "  in_ready <= ready;\n";
    t += hdlvh::RoundingAssignments(plan, y);
    t += "\n  process (clk)\n  begin\n    if rising_edge(clk) then\n      if rst = '1' then\n";
    for (int k = 0; k < f.delayLength; ++k)
        t += "        dl_" + N(k) + " <= (others => '0');\n";
    t += "        busy <= '0';\n        phase <= 0;\n";
    t += "        r_valid <= '0';\n        m_valid <= '0';\n        a_done <= '0';\n";
    t += "        tree_valid <= (others => '0');\n";
    for (size_t u = 0; u < f.units.size(); ++u)
        t += "        acc_" + Id(u) + " <= (others => '0');\n";
    for (size_t l = 1; l <= levels; ++l)
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i)
            t += "        " + TreeName(l, i) + " <= (others => '0');\n";
    t += hdlvh::RoundingReset(plan, "        ");
    if (plan.rounded)
        t += "        out_done <= '0';\n";
    t += "      else\n";
    t += "        if in_valid = '1' and ready = '1' then\n          dl_0 <= in_data;\n";
    for (int k = 1; k < f.delayLength; ++k)
        t += "          dl_" + N(k) + " <= dl_" + N(k - 1) + ";\n";
    t += "          busy <= '1';\n          phase <= 0;\n";
    t += "        elsif busy = '1' then\n";
    t += "          if phase = " + N(clocks - 1) + " then\n            busy <= '0';\n";
    t += "          else\n            phase <= phase + 1;\n          end if;\n        end if;\n";
    t += "        r_valid <= busy;\n";
    t += "        r_first <= busy when phase = 0 else '0';\n";
    t += "        r_last <= busy when phase = " + N(clocks - 1) + " else '0';\n";
    t += "        case phase is\n";
    for (int p = 0; p < clocks; ++p)
        t += "          when " + std::string(p + 1 == clocks ? "others" : N(p)) + " =>\n" +
             ReadAssignments(plan, p, "            ");
    t += "        end case;\n";
    t += "        m_valid <= r_valid;\n        m_first <= r_first;\n        m_last <= r_last;\n";
    for (size_t u = 0; u < f.units.size(); ++u)
        t += "        prod_" + Id(u) + " <= resize(pre_" + Id(u) + " * coef_" + Id(u) + ", " +
             N(f.units[u].productBits) + ");\n";
    t += "        if m_valid = '1' then\n";
    for (size_t u = 0; u < f.units.size(); ++u) {
        const HdlFoldedUnit& unit = f.units[u];
        const std::string product = Extend("prod_" + Id(u), unit.productBits, unit.accumulatorBits);
        t += "          if m_first = '1' then\n            acc_" + Id(u) + " <= " + product + ";\n";
        t += "          else\n            acc_" + Id(u) + " <= acc_" + Id(u) + " + " + product + ";\n          end if;\n";
    }
    t += "        end if;\n";
    t += "        a_done <= m_valid and m_last;\n";
    t += levels > 1 ? "        tree_valid <= a_done & tree_valid(1 to " + Id(levels - 1) + ");\n"
                    : std::string("        tree_valid(1) <= a_done;\n");
    for (size_t l = 1; l <= levels; ++l) {
        t += "        if " + (l == 1 ? std::string("a_done") : "tree_valid(" + Id(l - 1) + ")") + " = '1' then\n";
        for (size_t i = 0; i < f.treeBits[l - 1].size(); ++i) {
            const int bits = TreeBits(plan, l, i);
            std::string sum = Extend(TreeName(l - 1, 2 * i), TreeBits(plan, l - 1, 2 * i), bits);
            if (2 * i + 1 < TreeWidth(plan, l - 1))
                sum += " + " + Extend(TreeName(l - 1, 2 * i + 1), TreeBits(plan, l - 1, 2 * i + 1), bits);
            t += "          " + TreeName(l, i) + " <= " + sum + ";\n";
        }
        t += "        end if;\n";
    }
    const std::string done = "tree_valid(" + Id(levels) + ")";
    t += hdlvh::RoundingUpdate(plan, done + " = '1'", "        ");
    if (plan.rounded)
        t += "        out_done <= " + done + ";\n";
    t += "      end if;\n    end if;\n  end process;\n\n";
    t += "  out_valid <= " + (plan.rounded ? std::string("out_done") : done) + ";\n";
    t += hdlvh::OutputAssignment(plan, y);
    t += "end architecture rtl;\n";
    return t;
}
