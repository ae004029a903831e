#pragma once

#include <string>
#include <vector>

#include "document/ExportWriters.h"
#include "document/HdlFilterPlan.h"

// The texts of the vhdl-fir and verilog-fir profiles: one synthesizable
// filter entity/module per plan (see HdlFilterPlan.h for its structure,
// arithmetic and timing), and a testbench that drives it from a file.
//
// Ports: clk; rst (synchronous, active high: clears every register);
// in_valid; in_data (signed, B bits); out_valid; out_data (signed, O bits).
// The VHDL is VHDL-2008 over ieee.numeric_std alone, the Verilog is
// Verilog-2001; neither uses a vendor primitive.
//
// The testbench <name>_tb reads one decimal integer a line from
// INPUT_FILE (default "<name>_in.txt", blank lines skipped), feeds them
// with in_valid high, idle for i mod (GAPS + 1) clocks after sample i
// (GAPS default 0: one sample a clock), and writes out_data in decimal,
// one line per clock with out_valid high, to OUTPUT_FILE (default
// "<name>_out.txt"). It stops latency + 2 clocks after the last sample.
// GHDL takes the generics as -gINPUT_FILE=..., Icarus the parameters as
// -P<name>_tb.INPUT_FILE=\"...\".

// The files of vhdl-fir and verilog-fir: <root>.vhd or <root>.v, and with
// options.testbench <root>_tb.vhd or <root>_tb.v; the filter of the
// exported words (words.quant) with options.inputBits and outputBits, its
// comment opening with the export summary. The options are in range.
std::vector<ExportFile> VhdlFilterExportFiles(const ExportDesign& design, const ExportOptions& options,
                                              const ExportWords& words);
std::vector<ExportFile> VerilogFilterExportFiles(const ExportDesign& design, const ExportOptions& options,
                                                 const ExportWords& words);

// The entity and module name of a root: its VHDL identifier, with "_fir"
// added when it is a reserved word of either language or one of the
// filter's own signal names.
std::string HdlFilterName(const std::string& root);

// summary: the lines the header comment opens with (the export summary);
// the plan's description follows them. The plan's status must be Ok.
std::string VhdlFilterText(const HdlFilterPlan& plan, const std::string& name,
                           const std::vector<std::string>& summary);
std::string VhdlFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name);
std::string VerilogFilterText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary);
std::string VerilogFilterTestbenchText(const HdlFilterPlan& plan, const std::string& name);

// The width-bit two's complement pattern of v, most significant bit first.
std::string HdlBitPattern(HdlInteger v, int width);
// The lines behind a comment marker ("--" or "//"); empty lines keep only the marker.
std::string HdlComment(const std::vector<std::string>& lines, const std::string& marker);
// A filter file's opening comment: the summary, the plan's description and
// the language line.
std::string HdlHeaderComment(const HdlFilterPlan& plan, const std::vector<std::string>& summary,
                             const std::string& language, const std::string& marker);
// The taps a multiplier serves: "b[3]", "b[3], b[59]" or "b[3], -b[59]".
std::string HdlTapsOf(const HdlMultiplier& m);
