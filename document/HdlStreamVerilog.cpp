#include <bit>
#include <string>

#include "document/HdlFilterWriter.h"
#include "document/HdlVerilogText.h"

std::vector<std::string> HdlStreamComment(const HdlFilterPlan& plan, const std::string& name)
{
    const int b = plan.inputBits, o = plan.outputBits, depth = HdlStreamDepth(plan);
    const int iw = HdlStreamBytes(b) * 8, ow = HdlStreamBytes(o) * 8;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    const int counter = std::bit_width(static_cast<unsigned>(depth));
    const int pointer = std::bit_width(static_cast<unsigned>(depth - 1));
    const std::string n = std::to_string(depth);
    return {"AXI4-Stream wrapper of the filter " + name + ": samples in on s_axis, results out on m_axis, with "
            "backpressure.",
            "aclk; aresetn synchronous, active low (" + name + "'s reset): nothing is transferred while it is low.",
            "s_axis_tdata: " + std::to_string(iw) + " bits, the " + std::to_string(b) + "-bit input in bits [" +
                std::to_string(b - 1) + ":0]" + (iw > b ? " (the bits above are ignored)" : "") +
                "; m_axis_tdata: " + std::to_string(ow) + " bits, the " + std::to_string(o) + "-bit output" +
                (ow > o ? " sign-extended" : "") + ".",
            "A buffer of " + n + " results holds them while m_axis_tready is low; s_axis_tready is low while " + n +
                " samples are taken",
            "and not handed on" + std::string(folded ? " or while " + name + "'s in_ready is low" : "") +
                ", so no result is lost and m_axis_tdata holds while m_axis_tvalid waits.",
            "Throughput: one sample " + (folded ? "every " + std::to_string(plan.folded.clocks) + " clocks" : std::string("a clock")) +
                " while m_axis_tready stays high.",
            "Latency: " + std::to_string(plan.latency + 1) + " clocks from a sample taken to its m_axis_tvalid.",
            "Resources: " + name + "'s, a buffer of " + n + " x " + std::to_string(o) + " bits, two counters of " +
                std::to_string(counter) + " bits and two pointers of " + std::to_string(pointer) + " bits."};
}

std::string VerilogStreamText(const HdlFilterPlan& plan, const std::string& name)
{
    using hdlv::N;
    using hdlv::Range;
    const int b = plan.inputBits, o = plan.outputBits, depth = HdlStreamDepth(plan);
    const int iw = HdlStreamBytes(b) * 8, ow = HdlStreamBytes(o) * 8;
    const bool folded = plan.options.architecture == HdlArchitecture::Folded;
    const int cb = std::bit_width(static_cast<unsigned>(depth));
    const int pb = std::bit_width(static_cast<unsigned>(depth - 1));
    const std::string zero = N(cb - 1) + "'d0";

    std::vector<std::string> comment = HdlStreamComment(plan, name);
    comment.push_back("Verilog-2001.");
    std::string t = HdlComment(comment, "//");
    t += "\nmodule " + name + "_axis (\n";
    t += "    input  wire aclk,\n    input  wire aresetn,\n";
    t += "    input  wire s_axis_tvalid,\n    output wire s_axis_tready,\n";
    if (iw > b)
        t += hdlv::LintOff("UNUSEDSIGNAL");
    t += "    input  wire " + Range(iw) + " s_axis_tdata,\n";
    if (iw > b)
        t += hdlv::LintOn("UNUSEDSIGNAL");
    t += "    output wire m_axis_tvalid,\n    input  wire m_axis_tready,\n";
    t += "    output wire " + Range(ow) + " m_axis_tdata\n);\n";
    t += "    localparam " + Range(cb) + " DEPTH = " + N(cb) + "'d" + N(depth) + ";\n";
    t += "    localparam " + Range(pb) + " LAST = " + N(pb) + "'d" + N(depth - 1) + ";\n";
    t += "    wire core_rst = !aresetn;\n";
    t += "    wire core_ready;\n    wire core_valid;\n";
    t += "    wire signed " + Range(o) + " core_data;\n";
    t += "    // pending: samples taken whose results have not left; count: results in the buffer.\n";
    t += "    reg " + Range(cb) + " pending = " + N(cb) + "'d0;\n";
    t += "    reg " + Range(cb) + " count = " + N(cb) + "'d0;\n";
    t += "    reg " + Range(pb) + " wr_ptr = " + N(pb) + "'d0;\n";
    t += "    reg " + Range(pb) + " rd_ptr = " + N(pb) + "'d0;\n";
    t += "    reg signed " + Range(o) + " fifo_data [0:" + N(depth - 1) + "];\n";
    t += "    wire signed " + Range(o) + " fifo_head = fifo_data[rd_ptr];\n";
    t += "    wire take = s_axis_tvalid && s_axis_tready;\n";
    t += "    wire give = m_axis_tvalid && m_axis_tready;\n\n";
    if (!folded)
        t += "    assign core_ready = 1'b1;\n";
    t += "    assign s_axis_tready = aresetn && core_ready && pending != DEPTH;\n";
    t += "    assign m_axis_tvalid = aresetn && count != " + N(cb) + "'d0;\n";
    t += "    assign m_axis_tdata = " + hdlv::Extend("fifo_head", o, ow) + ";\n\n";
    t += "    " + name + " core (.clk(aclk), .rst(core_rst), .in_valid(take), " +
         (folded ? std::string(".in_ready(core_ready), ") : std::string()) + ".in_data(s_axis_tdata[" + N(b - 1) +
         ":0]),\n";
    t += "        .out_valid(core_valid), .out_data(core_data));\n\n";
    t += "    always @(posedge aclk) begin\n";
    t += "        if (!aresetn) begin\n";
    t += "            pending <= " + N(cb) + "'d0;\n            count <= " + N(cb) + "'d0;\n";
    t += "            wr_ptr <= " + N(pb) + "'d0;\n            rd_ptr <= " + N(pb) + "'d0;\n";
    t += "        end else begin\n";
    t += "            if (core_valid) begin\n";
    t += "                fifo_data[wr_ptr] <= core_data;\n";
    t += "                wr_ptr <= wr_ptr == LAST ? " + N(pb) + "'d0 : wr_ptr + " + N(pb) + "'d1;\n";
    t += "            end\n";
    t += "            if (give)\n";
    t += "                rd_ptr <= rd_ptr == LAST ? " + N(pb) + "'d0 : rd_ptr + " + N(pb) + "'d1;\n";
    const std::string one = cb > 1 ? "{" + zero + ", " : "{";
    t += "            count <= count + " + one + "core_valid} - " + one + "give};\n";
    t += "            pending <= pending + " + one + "take} - " + one + "give};\n";
    t += "        end\n    end\nendmodule\n";
    return t;
}
