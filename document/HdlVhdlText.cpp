#include "document/HdlVhdlText.h"

#include "document/HdlFilterWriter.h"

namespace hdlvh {

std::string N(long long v)
{
    return std::to_string(v);
}

std::string SignedType(int bits)
{
    return "signed(" + N(bits - 1) + " downto 0)";
}

std::string Extend(const std::string& signal, int from, int to)
{
    return from == to ? signal : "resize(" + signal + ", " + N(to) + ")";
}

std::string Shifted(const std::string& signal, int from, int shift, int to)
{
    return shift == 0 ? Extend(signal, from, to) : "shift_left(resize(" + signal + ", " + N(to) + "), " + N(shift) + ")";
}

std::string Constant(HdlInteger v, int width)
{
    if (v < -2147483647 || v > 2147483647)
        return "\"" + HdlBitPattern(v, width) + "\"";
    return "to_signed(" + N(static_cast<long long>(v)) + ", " + N(width) + ")";
}

std::string RoundingDeclarations(const HdlFilterPlan& plan)
{
    if (!plan.rounded)
        return "";
    const int a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift;
    const HdlInteger half = static_cast<HdlInteger>(1) << (s - 1);
    const HdlInteger top = static_cast<HdlInteger>(1) << (o - 1);
    std::string t = "  -- Rounding: add 2^" + N(s - 1) + " (2^" + N(s - 1) + " - 1 below zero), shift right by " + N(s) +
                    ", saturate to " + N(o) + " bits.\n";
    t += "  constant HALF       : " + SignedType(a + 1) + " := \"" + HdlBitPattern(half, a + 1) + "\";\n";
    t += "  constant HALF_LESS  : " + SignedType(a + 1) + " := \"" + HdlBitPattern(half - 1, a + 1) + "\";\n";
    t += "  constant WIDE_MAX   : " + SignedType(o + 1) + " := \"" + HdlBitPattern(top - 1, o + 1) + "\";\n";
    t += "  constant WIDE_MIN   : " + SignedType(o + 1) + " := \"" + HdlBitPattern(-top, o + 1) + "\";\n";
    t += "  signal biased  : " + SignedType(a + 1) + ";\n";
    t += "  signal shifted : " + SignedType(o + 1) + ";\n";
    t += "  signal out_reg : " + SignedType(o) + " := (others => '0');\n";
    return t;
}

std::string RoundingAssignments(const HdlFilterPlan& plan, const std::string& y)
{
    if (!plan.rounded)
        return "";
    const int a = plan.accumulatorBits;
    std::string t = "  biased <= resize(" + y + ", " + N(a + 1) + ") + HALF_LESS when " + y + "(" + N(a - 1) +
                    ") = '1' else resize(" + y + ", " + N(a + 1) + ") + HALF;\n";
    t += "  shifted <= biased(" + N(a) + " downto " + N(plan.shift) + ");\n";
    return t;
}

std::string RoundingUpdate(const HdlFilterPlan& plan, const std::string& valid, const std::string& indent)
{
    if (!plan.rounded)
        return "";
    const int o = plan.outputBits;
    std::string t = indent + "if " + valid + " then\n";
    t += indent + "  if shifted > WIDE_MAX then\n" + indent + "    out_reg <= WIDE_MAX(" + N(o - 1) + " downto 0);\n";
    t += indent + "  elsif shifted < WIDE_MIN then\n" + indent + "    out_reg <= WIDE_MIN(" + N(o - 1) + " downto 0);\n";
    t += indent + "  else\n" + indent + "    out_reg <= shifted(" + N(o - 1) + " downto 0);\n";
    t += indent + "  end if;\n" + indent + "end if;\n";
    return t;
}

std::string RoundingReset(const HdlFilterPlan& plan, const std::string& indent)
{
    return plan.rounded ? indent + "out_reg <= (others => '0');\n" : "";
}

std::string OutputAssignment(const HdlFilterPlan& plan, const std::string& y)
{
    return "  out_data <= " + (plan.rounded ? std::string("out_reg") : Extend(y, plan.accumulatorBits, plan.outputBits)) +
           ";\n";
}

std::string EntityOpening(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary)
{
    std::string t = HdlHeaderComment(plan, summary, "VHDL-2008, ieee.numeric_std only.", "--");
    t += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";
    t += "entity " + name + " is\n  port (\n";
    t += "    clk       : in  std_logic;\n";
    t += "    rst       : in  std_logic;\n";
    t += "    in_valid  : in  std_logic;\n";
    if (plan.options.architecture == HdlArchitecture::Folded)
        t += "    in_ready  : out std_logic;\n";
    t += "    in_data   : in  " + SignedType(plan.inputBits) + ";\n";
    t += "    out_valid : out std_logic;\n";
    t += "    out_data  : out " + SignedType(plan.outputBits) + "\n  );\nend entity " + name + ";\n\n";
    t += "architecture rtl of " + name + " is\n";
    return t;
}

}  // namespace hdlvh
