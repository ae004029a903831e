#include "document/HdlVerilogText.h"

#include "document/HdlFilterWriter.h"

namespace hdlv {

std::string N(long long v)
{
    return std::to_string(v);
}

std::string Range(int bits)
{
    // Appended piece by piece: GCC 12 misreads "[" + std::string as overlapping copies (-Wrestrict).
    std::string text = "[";
    text += N(bits - 1);
    return text += ":0]";
}

std::string Extend(const std::string& signal, int from, int to)
{
    if (from >= to)
        return signal;
    return "{{" + N(to - from) + "{" + signal + "[" + N(from - 1) + "]}}, " + signal + "}";
}

std::string Shifted(const std::string& signal, int from, int shift, int to)
{
    if (shift == 0 && from > to)
        return signal + "[" + N(to - 1) + ":0]";
    if (shift == 0)
        return Extend(signal, from, to);
    const std::string zeros = N(shift) + "'b0";
    if (from + shift <= to) {
        const std::string sign = from + shift < to ? "{" + N(to - from - shift) + "{" + signal + "[" + N(from - 1) + "]}}, " : "";
        return "{" + sign + signal + ", " + zeros + "}";
    }
    return "{" + signal + "[" + N(to - shift - 1) + ":0], " + zeros + "}";
}

std::string Pattern(HdlInteger v, int width)
{
    return N(width) + "'sb" + HdlBitPattern(v, width);
}

std::string Literal(HdlInteger v, int width)
{
    const HdlInteger magnitude = v < 0 ? -v : v;
    if (width < 2 || magnitude >= (static_cast<HdlInteger>(1) << (width - 1)) || magnitude > 0x7fffffffffffffffLL)
        return Pattern(v, width);
    return std::string(v < 0 ? "-" : "") + N(width) + "'sd" + N(static_cast<long long>(magnitude));
}

std::string RoundingDeclarations(const HdlFilterPlan& plan, const std::string& y)
{
    if (!plan.rounded)
        return "";
    const int a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift;
    const HdlInteger half = static_cast<HdlInteger>(1) << (s - 1);
    const HdlInteger top = static_cast<HdlInteger>(1) << (o - 1);
    std::string t = "    // Rounding: add 2^" + N(s - 1) + " (2^" + N(s - 1) + " - 1 below zero), shift right by " +
                    N(s) + ", saturate to " + N(o) + " bits.\n";
    t += "    localparam signed " + Range(a + 1) + " HALF = " + Pattern(half, a + 1) + ";\n";
    t += "    localparam signed " + Range(a + 1) + " HALF_LESS = " + Pattern(half - 1, a + 1) + ";\n";
    t += "    localparam signed " + Range(o + 1) + " WIDE_MAX = " + Pattern(top - 1, o + 1) + ";\n";
    t += "    localparam signed " + Range(o + 1) + " WIDE_MIN = " + Pattern(-top, o + 1) + ";\n";
    t += "    localparam signed " + Range(o) + " OUT_MAX = " + Pattern(top - 1, o) + ";\n";
    t += "    localparam signed " + Range(o) + " OUT_MIN = " + Pattern(-top, o) + ";\n";
    t += LintOff("UNUSEDSIGNAL");
    t += "    wire signed " + Range(a + 1) + " biased = " + Extend(y, a, a + 1) + " + (" + y + "[" + N(a - 1) +
         "] ? HALF_LESS : HALF);\n";
    t += LintOn("UNUSEDSIGNAL");
    t += "    wire signed " + Range(o + 1) + " shifted = biased[" + N(a) + ":" + N(s) + "];\n";
    t += "    reg signed " + Range(o) + " out_reg = " + N(o) + "'sd0;\n";
    return t;
}

std::string RoundingUpdate(const HdlFilterPlan& plan, const std::string& valid, const std::string& indent)
{
    if (!plan.rounded)
        return "";
    const int o = plan.outputBits;
    std::string t = indent + "if (" + valid + ")\n";
    t += indent + "    out_reg <= shifted > WIDE_MAX ? OUT_MAX : shifted < WIDE_MIN ? OUT_MIN : shifted[" + N(o - 1) +
         ":0];\n";
    return t;
}

std::string RoundingReset(const HdlFilterPlan& plan, const std::string& indent)
{
    return plan.rounded ? indent + "out_reg <= " + N(plan.outputBits) + "'sd0;\n" : "";
}

std::string OutputAssignment(const HdlFilterPlan& plan, const std::string& y)
{
    return "    assign out_data = " + (plan.rounded ? std::string("out_reg") : Extend(y, plan.accumulatorBits, plan.outputBits)) +
           ";\n";
}

std::string ModuleOpening(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary)
{
    std::string t = HdlHeaderComment(plan, summary, "Verilog-2001.", "//");
    t += "\nmodule " + name + " (\n";
    t += "    input  wire clk,\n";
    t += "    input  wire rst,\n";
    t += "    input  wire in_valid,\n";
    if (plan.options.architecture == HdlArchitecture::Folded)
        t += "    output wire in_ready,\n";
    t += "    input  wire signed " + Range(plan.inputBits) + " in_data,\n";
    t += "    output wire out_valid,\n";
    t += "    output wire signed " + Range(plan.outputBits) + " out_data\n);\n";
    return t;
}

std::string LintOff(const std::string& warning)
{
    return "    /* verilator lint_off " + warning + " */\n";
}

std::string LintOn(const std::string& warning)
{
    return "    /* verilator lint_on " + warning + " */\n";
}

}  // namespace hdlv
