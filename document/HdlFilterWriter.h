#pragma once

#include <string>
#include <vector>

#include "document/ExportWriters.h"
#include "document/HdlFilterPlan.h"

// The texts of the vhdl-fir and verilog-fir profiles: one synthesizable
// filter entity/module per plan in the chosen architecture (see
// HdlFilterPlan.h for its structure, arithmetic and timing), an AXI4-Stream
// wrapper around it, and a self-checking testbench with its stimulus and
// the integer model's expected outputs (HdlTestVectors.h).
//
// Filter ports: clk; rst (synchronous, active high); in_valid; in_ready
// (folded only: a sample is taken when in_valid and in_ready are high);
// in_data (signed, B bits); out_valid; out_data (signed, O bits). Every
// register has an initial value, so without a reset out_valid starts low.
// The VHDL is VHDL-2008 over ieee.numeric_std alone, the Verilog is
// Verilog-2001 (sized, explicitly sign-extended operands: clean under
// `verilator --lint-only -Wall`); neither uses a vendor primitive.
//
// Stream wrapper <name>_axis: aclk, aresetn (synchronous, active low);
// s_axis_tvalid, s_axis_tready, s_axis_tdata (whole bytes, the filter's
// input in the low B bits); m_axis_tvalid, m_axis_tready, m_axis_tdata
// (whole bytes, the output sign-extended). A first-in first-out buffer of
// HdlStreamDepth outputs holds results while m_axis_tready is low;
// s_axis_tready is low when the samples taken but not yet handed on would
// not fit it, so no result is ever lost and a full rate needs no gaps.

// What the testbench reads and writes by default (its generics or
// parameters change them), the files' base name for its run commands, and
// whether it drives the stream wrapper.
struct HdlTestbench {
    std::string fileBase;      // "lowpass": lowpass.vhd, lowpass_tb.vhd, ...
    std::string inputFile;     // "lowpass_in.txt"
    std::string expectedFile;  // "lowpass_expected.txt"
    std::string outputFile;    // "lowpass_out.txt"
    bool stream = false;
};

// The files of vhdl-fir and verilog-fir: <root>.vhd or <root>.v; with
// options.stream <root>_axis.vhd or .v; with options.testbench <root>_tb.vhd
// or .v, <root>_in.txt and <root>_expected.txt. The filter of the exported
// words (words.quant) with the options' bits and architecture, its comment
// opening with the export summary. The options are in range.
std::vector<ExportFile> VhdlFilterExportFiles(const ExportDesign& design, const ExportOptions& options,
                                              const ExportWords& words);
std::vector<ExportFile> VerilogFilterExportFiles(const ExportDesign& design, const ExportOptions& options,
                                                 const ExportWords& words);

// The plan of the options' filter for the exported words.
HdlFilterPlan ExportFilterPlan(const ExportOptions& options, const ExportWords& words);

// The entity and module name of a root: its VHDL identifier, with "_fir"
// added when it (in any case) is a reserved word of VHDL-2008, Verilog-2005
// or SystemVerilog-2017, a name the IEEE and std libraries the files use
// declare, or one of the generated names (ports, registers, their prefixes).
std::string HdlFilterName(const std::string& root);

// The filter (in the plan's architecture): summary is the lines its header
// comment opens with; the plan's description follows them. Status Ok.
std::string VhdlFilterText(const HdlFilterPlan& plan, const std::string& name,
                           const std::vector<std::string>& summary);
std::string VerilogFilterText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary);
std::string VhdlTransposedText(const HdlFilterPlan& plan, const std::string& name,
                               const std::vector<std::string>& summary);
std::string VerilogTransposedText(const HdlFilterPlan& plan, const std::string& name,
                                  const std::vector<std::string>& summary);
std::string VhdlFoldedText(const HdlFilterPlan& plan, const std::string& name,
                           const std::vector<std::string>& summary);
std::string VerilogFoldedText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary);
// The stream wrapper <name>_axis around the filter <name>.
std::string VhdlStreamText(const HdlFilterPlan& plan, const std::string& name);
std::string VerilogStreamText(const HdlFilterPlan& plan, const std::string& name);
// The testbench <name>_tb.
std::string VhdlFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name, const HdlTestbench& bench);
std::string VerilogFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name, const HdlTestbench& bench);

// The stream wrapper's buffer: outputs it holds, enough for one a clock
// (one every F clocks when folded) while m_axis_tready stays high.
int HdlStreamDepth(const HdlFilterPlan& plan);
// Whole bytes of a stream's data for bits.
int HdlStreamBytes(int bits);
// Clocks without an output after the last sample before the testbench ends.
int HdlTestbenchTimeout(const HdlFilterPlan& plan);
// The stream wrapper's opening comment: what it does, latency, resources.
std::vector<std::string> HdlStreamComment(const HdlFilterPlan& plan, const std::string& name);
// The testbench's opening comment; language "VHDL" or "Verilog".
std::vector<std::string> HdlTestbenchComment(const HdlFilterPlan& plan, const std::string& name,
                                             const HdlTestbench& bench, const std::string& language);

// text as the inside of a string literal: VHDL doubles quotes, Verilog
// escapes quotes and backslashes; a control character (in VHDL Latin-1's
// too) becomes "?".
std::string HdlStringText(const std::string& text, bool vhdl);
// The width-bit two's complement pattern of v, most significant bit first.
std::string HdlBitPattern(HdlInteger v, int width);
// The lines behind a comment marker ("--" or "//"); empty lines keep only the marker.
std::string HdlComment(const std::vector<std::string>& lines, const std::string& marker);
// A filter file's opening comment: the summary, the plan's description and
// the language line.
std::string HdlHeaderComment(const HdlFilterPlan& plan, const std::vector<std::string>& summary,
                             const std::string& language, const std::string& marker);
