#include <string>

#include "document/HdlFilterWriter.h"

namespace {

std::string N(long long v)
{
    return std::to_string(v);
}

std::string Range(int bits)
{
    std::string text = "[";
    text += N(bits - 1);
    return text += ":0]";
}

std::string Pattern(HdlInteger v, int width)
{
    std::string text = N(width);
    text += "'sb";
    return text += HdlBitPattern(v, width);
}

// The word as a sized signed decimal literal; -2^(W-1) as its bit pattern,
// since its magnitude does not fit the width.
std::string WordLiteral(long long word, int width)
{
    if (word == -(1LL << (width - 1)))
        return Pattern(word, width);
    std::string text = word < 0 ? "-" : "";
    text += N(width);
    text += "'sd";
    return text += N(word < 0 ? -word : word);
}

// Every operand is signed and sized so the sum is taken at the register's
// width after sign extension.
std::string ChainAssignment(const HdlFilterPlan& plan, int k)
{
    const HdlChainTerm& t = plan.terms[static_cast<size_t>(k)];
    const std::string acc = "acc_" + N(k);
    const bool last = k == plan.chainLength - 1;
    const std::string next = last ? "" : "acc_" + N(k + 1);
    if (t.multiplier < 0)
        return acc + " <= " + (last ? "0" : next) + ";";
    const std::string product = "prod_" + N(t.multiplier);
    if (last)
        return acc + " <= " + (t.subtract ? "-" : "") + product + ";";
    return acc + " <= " + next + (t.subtract ? " - " : " + ") + product + ";";
}

}  // namespace

std::string VerilogFilterText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary)
{
    const int a = plan.accumulatorBits, o = plan.outputBits, s = plan.shift, w = plan.wordLength;
    const int stages = plan.latency;

    std::string t = HdlHeaderComment(plan, summary, "Verilog-2001.", "//");
    t += "\nmodule " + name + " (\n";
    t += "    input  wire clk,\n";
    t += "    input  wire rst,\n";
    t += "    input  wire in_valid,\n";
    t += "    input  wire signed " + Range(plan.inputBits) + " in_data,\n";
    t += "    output wire out_valid,\n";
    t += "    output wire signed " + Range(o) + " out_data\n);\n";
    t += "    // The distinct words and the taps that use them.\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m) {
        const HdlMultiplier& mul = plan.multipliers[m];
        t += "    localparam signed " + Range(w) + " coef_" + N(static_cast<long long>(m)) + " = " +
             WordLiteral(mul.word, w) + ";  // " + HdlTapsOf(mul) + "\n";
    }
    t += "    // stage_valid[i]: the sample taken i clocks ago is in stage i.\n";
    t += "    reg [" + N(stages) + ":1] stage_valid;\n";
    t += "    reg signed " + Range(plan.inputBits) + " x_reg;\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "    reg signed " + Range(plan.multipliers[m].productBits) + " prod_" + N(static_cast<long long>(m)) +
             ";\n";
    t += "    // acc_k sums b[k..] over the samples so far; acc_0 is y.\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "    reg signed " + Range(plan.chainBits[static_cast<size_t>(k)]) + " acc_" + N(k) + ";\n";
    if (plan.rounded) {
        t += "    // Rounding: add 2^" + N(s - 1) + " (2^" + N(s - 1) + " - 1 below zero), shift right by " + N(s) +
             ", saturate to " + N(o) + " bits.\n";
        t += "    localparam signed " + Range(a + 1) + " HALF = " + Pattern(HdlInteger(1) << (s - 1), a + 1) + ";\n";
        t += "    localparam signed " + Range(a + 1) + " HALF_LESS = " +
             Pattern((HdlInteger(1) << (s - 1)) - 1, a + 1) + ";\n";
        t += "    localparam signed " + Range(a + 1 - s) + " OUT_MAX = " +
             Pattern((HdlInteger(1) << (o - 1)) - 1, a + 1 - s) + ";\n";
        t += "    localparam signed " + Range(a + 1 - s) + " OUT_MIN = " +
             Pattern(-(HdlInteger(1) << (o - 1)), a + 1 - s) + ";\n";
        t += "    wire signed " + Range(a + 1) + " biased = acc_0 + (acc_0[" + N(a - 1) + "] ? HALF_LESS : HALF);\n";
        t += "    wire signed " + Range(a + 1 - s) + " shifted = biased >>> " + N(s) + ";\n";
        t += "    reg signed " + Range(o) + " out_reg;\n";
    }
    t += "\n    always @(posedge clk) begin\n        if (rst) begin\n";
    t += "            stage_valid <= 0;\n            x_reg <= 0;\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "            prod_" + N(static_cast<long long>(m)) + " <= 0;\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "            acc_" + N(k) + " <= 0;\n";
    if (plan.rounded)
        t += "            out_reg <= 0;\n";
    t += "        end else begin\n";
    t += "            stage_valid <= {stage_valid[" + N(stages - 1) + ":1], in_valid};\n";
    t += "            if (in_valid)\n                x_reg <= in_data;\n";
    for (size_t m = 0; m < plan.multipliers.size(); ++m)
        t += "            prod_" + N(static_cast<long long>(m)) + " <= x_reg * coef_" + N(static_cast<long long>(m)) +
             ";\n";
    t += "            if (stage_valid[2]) begin\n";
    for (int k = 0; k < plan.chainLength; ++k)
        t += "                " + ChainAssignment(plan, k) + "\n";
    t += "            end\n";
    if (plan.rounded) {
        t += "            if (stage_valid[3])\n";
        t += "                out_reg <= shifted > OUT_MAX ? OUT_MAX[" + N(o - 1) + ":0]\n";
        t += "                         : shifted < OUT_MIN ? OUT_MIN[" + N(o - 1) + ":0] : shifted[" + N(o - 1) +
             ":0];\n";
    }
    t += "        end\n    end\n\n";
    t += "    assign out_valid = stage_valid[" + N(stages) + "];\n";
    t += std::string("    assign out_data = ") + (plan.rounded ? "out_reg" : "acc_0") + ";\n";
    t += "endmodule\n";
    return t;
}

std::string VerilogFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name)
{
    const std::string tb = name + "_tb";
    std::string t = HdlComment({"Testbench of " + name + ": reads one integer a line from INPUT_FILE, feeds them "
                                "with in_valid high",
                                "(idle i mod (GAPS + 1) clocks after sample i) and writes out_data, one line per "
                                "out_valid, to OUTPUT_FILE.",
                                "iverilog -g2001 -o " + tb + " " + name + ".v " + tb + ".v && vvp -n " + tb},
                               "//");
    t += "\nmodule " + tb + ";\n";
    t += "    parameter INPUT_FILE = \"" + name + "_in.txt\";\n";
    t += "    parameter OUTPUT_FILE = \"" + name + "_out.txt\";\n";
    t += "    parameter GAPS = 0;\n";
    t += "    localparam LATENCY = " + N(plan.latency) + ";\n\n";
    t += "    reg clk = 1'b0;\n    reg rst = 1'b1;\n    reg in_valid = 1'b0;\n";
    t += "    reg signed " + Range(plan.inputBits) + " in_data = 0;\n";
    t += "    wire out_valid;\n    wire signed " + Range(plan.outputBits) + " out_data;\n";
    t += "    integer input_file, output_file, value, status, i, gap;\n\n";
    t += "    " + name + " dut (.clk(clk), .rst(rst), .in_valid(in_valid), .in_data(in_data),\n";
    t += "        .out_valid(out_valid), .out_data(out_data));\n\n";
    t += R"(    always #5 clk = ~clk;

    always @(posedge clk)
        if (out_valid)
            $fdisplay(output_file, "%0d", out_data);

    initial begin
        input_file = $fopen(INPUT_FILE, "r");
        output_file = $fopen(OUTPUT_FILE, "w");
        if (input_file == 0 || output_file == 0) begin
            $display("cannot open %0s or %0s", INPUT_FILE, OUTPUT_FILE);
            $finish;
        end
        @(posedge clk);
        @(posedge clk);
        rst <= 1'b0;
        i = 0;
        status = $fscanf(input_file, "%d", value);
        while (status == 1) begin
            in_data <= value;
            in_valid <= 1'b1;
            @(posedge clk);
            in_valid <= 1'b0;
            for (gap = 0; gap < i % (GAPS + 1); gap = gap + 1)
                @(posedge clk);
            i = i + 1;
            status = $fscanf(input_file, "%d", value);
        end
        repeat (LATENCY + 2) @(posedge clk);
        $fclose(output_file);
        $finish;
    end
endmodule
)";
    return t;
}
