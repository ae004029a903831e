#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlVerilogText.h"

std::string VerilogFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name, const HdlTestbench& bench)
{
    using hdlv::N;
    using hdlv::Range;
    const std::string tb = name + "_tb";
    const int b = plan.inputBits, o = plan.outputBits;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    std::string t = HdlComment(HdlTestbenchComment(plan, name, bench, "Verilog"), "//");
    t += "\nmodule " + tb + ";\n";
    t += "    parameter INPUT_FILE = \"" + HdlStringText(bench.inputFile, false) + "\";\n";
    t += "    parameter EXPECTED_FILE = \"" + HdlStringText(bench.expectedFile, false) + "\";\n";
    t += "    parameter OUTPUT_FILE = \"" + HdlStringText(bench.outputFile, false) + "\";\n";
    t += "    parameter GAPS = 0;\n";
    if (bench.stream)
        t += "    parameter BACKPRESSURE = 1;\n";
    t += "    localparam TIMEOUT = " + N(HdlTestbenchTimeout(plan)) + ";\n\n";
    t += "    reg clk = 1'b0;\n    reg rst = 1'b1;\n    reg reset_line = 1'b0;\n    reg in_valid = 1'b0;\n";
    t += "    reg signed " + Range(b) + " in_data = " + N(b) + "'sd0;\n";
    t += "    wire in_ready;\n    wire out_valid;\n    wire signed " + Range(o) + " out_data;\n";
    if (bench.stream) {
        const int iw = HdlStreamBytes(b) * 8, ow = HdlStreamBytes(o) * 8;
        t += "    reg out_ready = 1'b1;\n    reg [15:0] lfsr = 16'hace1;\n";
        t += "    wire [" + N(ow - 1) + ":0] out_tdata;\n\n";
        t += "    " + name + "_axis dut (.aclk(clk), .aresetn(!rst), .s_axis_tvalid(in_valid), .s_axis_tready(in_ready),\n";
        t += "        .s_axis_tdata(" + hdlv::Extend("in_data", b, iw) + "),\n";
        t += "        .m_axis_tvalid(out_valid), .m_axis_tready(out_ready), .m_axis_tdata(out_tdata));\n";
        t += "    assign out_data = out_tdata[" + N(o - 1) + ":0];\n\n";
        t += "    // m_axis_tready low about half the clocks: bit 0 of a 16-bit LFSR (x^16 + x^14 + x^13 + x^11 + 1).\n";
        t += "    always @(posedge clk) begin\n";
        t += "        lfsr <= {1'b0, lfsr[15:1]} ^ (lfsr[0] ? 16'hb400 : 16'h0000);\n";
        t += "        out_ready <= BACKPRESSURE == 0 || lfsr[0];\n    end\n";
    } else {
        t += "    wire out_ready = 1'b1;\n";
        if (!folded)
            t += "    assign in_ready = 1'b1;\n";
        t += "\n    " + name + " dut (.clk(clk), .rst(rst), .in_valid(in_valid), " +
             (folded ? std::string(".in_ready(in_ready), ") : std::string()) + ".in_data(in_data),\n";
        t += "        .out_valid(out_valid), .out_data(out_data));\n";
    }
    t += "\n    integer input_file, expected_file, output_file;\n";
    t += "    integer status, value, idle, gap, kind;\n";
    t += "    integer samples = 0, outputs = 0, mismatches = 0, quiet = 0;\n";
    t += "    reg input_done = 1'b0, segment_ended = 1'b0;\n";
    t += "    reg [8*256-1:0] line;\n    reg [7:0] first;\n";
    t += "    reg signed " + Range(o) + " expected;\n\n";
    t += "    always #5 clk = ~clk;\n\n";
    t += R"(    // The next entry of EXPECTED_FILE: kind 1 a value (in expected), 2 a
    // "reset" line, 0 the end of the file.
    task read_expected;
        begin
            kind = 0;
            while (kind == 0 && !$feof(expected_file)) begin
                line = 0;
                status = $fgets(line, expected_file);
                if (status != 0 && $sscanf(line, " %c", first) == 1 && first != "#") begin
                    if (first == "r")
                        kind = 2;
                    else if ($sscanf(line, "%d", expected) == 1)
                        kind = 1;
                end
            end
        end
    endtask

    always @(posedge clk) begin
        if (out_valid && out_ready) begin
            $fdisplay(output_file, "%0d", out_data);
            outputs = outputs + 1;
            quiet = 0;
            kind = 2;
            if (!segment_ended)
                read_expected;
            if (kind != 1 || out_data !== expected) begin
                mismatches = mismatches + 1;
                if (mismatches <= 10) begin
                    if (kind == 1)
                        $display("TB: output %0d is %0d, expected %0d", outputs, out_data, expected);
                    else
                        $display("TB: output %0d is %0d, expected none", outputs, out_data);
                end
            end
            if (kind == 2)
                segment_ended = 1'b1;
        end
        // A reset drops the outputs in flight: the rest of the segment.
        if (reset_line) begin
            kind = 1;
            while (!segment_ended && kind == 1)
                read_expected;
            segment_ended = 1'b0;
        end
        if (input_done) begin
            quiet = quiet + 1;
            if (quiet > TIMEOUT) begin
                kind = segment_ended ? 0 : 1;
                value = 0;
                while (kind == 1) begin
                    read_expected;
                    if (kind == 1)
                        value = value + 1;
                end
                if (value > 0)
                    $display("TB: %0d expected outputs missing", value);
                mismatches = mismatches + value;
                $fclose(output_file);
                $display("TB: %0d mismatches in %0d outputs", mismatches, outputs);
                if (mismatches != 0)
                    $fatal(1, "TB: FAILED");
                $finish;
            end
        end
    end

    initial begin
        input_file = $fopen(INPUT_FILE, "r");
        if (input_file == 0)
            $fatal(1, "TB: cannot open %0s", INPUT_FILE);
        expected_file = $fopen(EXPECTED_FILE, "r");
        if (expected_file == 0)
            $fatal(1, "TB: cannot open %0s", EXPECTED_FILE);
        output_file = $fopen(OUTPUT_FILE, "w");
        if (output_file == 0)
            $fatal(1, "TB: cannot open %0s", OUTPUT_FILE);
        repeat (2) @(posedge clk);
        rst <= 1'b0;
        while (!$feof(input_file)) begin
            line = 0;
            status = $fgets(line, input_file);
            if (status != 0 && $sscanf(line, " %c", first) == 1 && first != "#") begin
                if (first == "r") begin
                    rst <= 1'b1;
                    reset_line <= 1'b1;
                    @(posedge clk);
                    rst <= 1'b0;
                    reset_line <= 1'b0;
                end else begin
                    idle = 0;
                    if ($sscanf(line, "%d %d", value, idle) >= 1) begin
                        in_data <= value;
                        in_valid <= 1'b1;
                        @(posedge clk);
                        while (!in_ready)
                            @(posedge clk);
                        in_valid <= 1'b0;
                        for (gap = 0; gap < idle + samples % (GAPS + 1); gap = gap + 1)
                            @(posedge clk);
                        samples = samples + 1;
                    end
                end
            end
        end
        input_done = 1'b1;
    end
endmodule
)";
    std::string::size_type at = 0;
    while ((at = t.find("\"TB: ", at)) != std::string::npos)
        t.replace(at + 1, 2, tb), at += tb.size();
    return t;
}
