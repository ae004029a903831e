#include <algorithm>
#include <string_view>

#include "document/HdlFilterWriter.h"

namespace hdl_filter_name {

// Names an entity or module may not take, lower case: VHDL-2008's reserved
// words (IEEE 1076-2008, 15.10), Verilog-2005's keywords (IEEE 1364-2005,
// annex B) and SystemVerilog-2017's (IEEE 1800-2017, annex B: Icarus and
// Verilator read .v files with them); the libraries and packages the files
// use and what they declare (std.standard, std.textio, std.env,
// ieee.std_logic_1164, ieee.numeric_std), and a few packages users often
// add; the generated files' own ports, registers and helpers.
constexpr std::string_view kReserved[] = {
    // VHDL-2008
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume",
    "assume_guarantee", "attribute", "begin", "block", "body", "buffer", "bus", "case", "component",
    "configuration", "constant", "context", "cover", "default", "disconnect", "downto", "else", "elsif", "end",
    "entity", "exit", "fairness", "file", "for", "force", "function", "generate", "generic", "group", "guarded",
    "if", "impure", "in", "inertial", "inout", "is", "label", "library", "linkage", "literal", "loop", "map", "mod",
    "nand", "new", "next", "nor", "not", "null", "of", "on", "open", "or", "others", "out", "package", "parameter",
    "port", "postponed", "procedure", "process", "property", "protected", "pure", "range", "record", "register",
    "reject", "release", "rem", "report", "restrict", "restrict_guarantee", "return", "rol", "ror", "select",
    "sequence", "severity", "shared", "signal", "sla", "sll", "sra", "srl", "strong", "subtype", "then", "to",
    "transport", "type", "unaffected", "units", "until", "use", "variable", "vmode", "vprop", "vunit", "wait",
    "when", "while", "with", "xnor", "xor",
    // Verilog-2005
    "always", "assign", "automatic", "buf", "bufif0", "bufif1", "casex", "casez", "cell", "cmos", "config",
    "deassign", "defparam", "design", "disable", "edge", "endcase", "endconfig", "endfunction", "endgenerate",
    "endmodule", "endprimitive", "endspecify", "endtable", "endtask", "event", "forever", "fork", "genvar",
    "highz0", "highz1", "ifnone", "incdir", "include", "initial", "input", "instance", "integer", "join", "large",
    "liblist", "localparam", "macromodule", "medium", "module", "negedge", "nmos", "noshowcancelled", "notif0",
    "notif1", "output", "pmos", "posedge", "primitive", "pull0", "pull1", "pulldown", "pullup",
    "pulsestyle_ondetect", "pulsestyle_onevent", "rcmos", "real", "realtime", "reg", "repeat", "rnmos", "rpmos",
    "rtran", "rtranif0", "rtranif1", "scalared", "showcancelled", "signed", "small", "specify", "specparam",
    "strong0", "strong1", "supply0", "supply1", "table", "task", "time", "tran", "tranif0", "tranif1", "tri",
    "tri0", "tri1", "triand", "trior", "trireg", "unsigned", "uwire", "vectored", "wand", "weak0", "weak1", "wire",
    "wor",
    // SystemVerilog-2017
    "accept_on", "always_comb", "always_ff", "always_latch", "before", "bind", "bins", "binsof", "bit", "break",
    "byte", "chandle", "checker", "class", "clocking", "const", "constraint", "continue", "covergroup",
    "coverpoint", "cross", "dist", "do", "endchecker", "endclass", "endclocking", "endgroup", "endinterface",
    "endpackage", "endprogram", "endproperty", "endsequence", "enum", "eventually", "expect", "export", "extends",
    "extern", "final", "first_match", "foreach", "forkjoin", "global", "iff", "ignore_bins", "illegal_bins",
    "implements", "implies", "import", "inside", "int", "interconnect", "interface", "intersect", "join_any",
    "join_none", "let", "local", "logic", "longint", "matches", "modport", "nettype", "nexttime", "packed",
    "priority", "program", "rand", "randc", "randcase", "randsequence", "ref", "reject_on", "s_always",
    "s_eventually", "s_nexttime", "s_until", "s_until_with", "shortint", "shortreal", "soft", "solve", "static",
    "string", "struct", "super", "sync_accept_on", "sync_reject_on", "tagged", "this", "throughout",
    "timeprecision", "timeunit", "typedef", "union", "unique", "unique0", "until_with", "untyped", "var",
    "virtual", "void", "wait_order", "weak", "wildcard", "within",
    // Libraries and packages
    "std", "ieee", "work", "standard", "textio", "env", "std_logic_1164", "numeric_std", "numeric_bit",
    "math_real", "math_complex", "fixed_pkg", "float_pkg", "std_logic_textio", "std_logic_arith",
    "std_logic_signed", "std_logic_unsigned", "vital_timing", "vital_primitives",
    // std.standard
    "boolean", "false", "true", "character", "severity_level", "note", "warning", "error", "failure", "fs", "ps",
    "ns", "us", "ms", "sec", "min", "hr", "delay_length", "now", "natural", "positive", "boolean_vector",
    "bit_vector", "integer_vector", "real_vector", "time_vector", "file_open_kind", "read_mode", "write_mode",
    "append_mode", "file_open_status", "open_ok", "status_error", "name_error", "mode_error", "foreign",
    "universal_integer", "universal_real", "minimum", "maximum", "to_string", "to_bstring", "to_binary_string",
    "to_ostring", "to_octal_string", "to_hstring", "to_hex_string", "nul", "soh", "stx", "etx", "eot", "enq", "ack",
    "bel", "bs", "ht", "lf", "vt", "ff", "cr", "so", "si", "dle", "dc1", "dc2", "dc3", "dc4", "nak", "syn", "etb",
    "can", "em", "sub", "esc", "fsp", "gsp", "rsp", "usp", "del",
    // std.textio and std.env
    "line", "text", "side", "right", "left", "width", "justify", "read", "readline", "write", "writeline",
    "endfile", "sread", "swrite", "string_read", "string_write", "bread", "bwrite", "binary_read", "binary_write",
    "oread", "owrite", "octal_read", "octal_write", "hread", "hwrite", "hex_read", "hex_write", "tee", "flush",
    "file_close", "file_open", "file_rewind", "stop", "finish", "resolution_limit",
    // ieee.std_logic_1164
    "std_ulogic", "std_ulogic_vector", "resolved", "std_logic", "std_logic_vector", "x01", "x01z", "ux01",
    "ux01z", "to_bit", "to_bitvector", "to_stdulogic", "to_stdlogicvector", "to_stdulogicvector", "to_x01",
    "to_x01z", "to_ux01", "rising_edge", "falling_edge", "is_x", "to_bit_vector", "to_bv", "to_std_logic_vector",
    "to_slv", "to_std_ulogic_vector", "to_sulv",
    // ieee.numeric_std
    "unresolved_unsigned", "unresolved_signed", "u_unsigned", "u_signed", "shift_left", "shift_right",
    "rotate_left", "rotate_right", "resize", "to_integer", "to_unsigned", "to_signed", "std_match", "to_01",
    "find_leftmost", "find_rightmost", "copyrightnotice",
    // The generated files' own names
    "clk", "rst", "in_valid", "in_ready", "in_data", "out_valid", "out_data", "out_ready", "out_reg", "out_done",
    "out_tdata", "aclk", "aresetn", "s_axis_tvalid", "s_axis_tready", "s_axis_tdata", "m_axis_tvalid",
    "m_axis_tready", "m_axis_tdata", "stage_valid", "biased", "shifted", "half", "half_less", "wide_max",
    "wide_min", "out_max", "out_min", "rtl", "sim", "dut", "busy", "phase", "r_valid", "r_first", "r_last",
    "m_valid", "m_first", "m_last", "a_done", "tree_valid", "lfsr", "decimal", "pending", "count", "take", "give",
    "depth", "wr_ptr", "rd_ptr", "input_file", "expected_file", "output_file", "input_text", "expected_text",
    "output_text", "status", "value", "idle", "gap", "kind", "samples", "outputs", "mismatches", "quiet",
    "input_done", "segment_ended", "first", "expected", "read_expected", "reset_line", "stimulus", "checker",
    "token", "missing", "ready_gen", "timeout", "gaps", "backpressure", "ready", "valid", "level", "sample",
    "out_bits", "o", "l", "c"};

constexpr std::string_view kReservedPrefixes[] = {"coef_", "prod_", "acc_", "fund_", "fsum_", "x_", "dl_",
                                                  "pre_", "sum_", "fifo_", "core_"};

}  // namespace hdl_filter_name

std::string HdlFilterName(const std::string& root)
{
    using namespace hdl_filter_name;
    const std::string name = VhdlName(root);
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const bool reserved =
        std::find(std::begin(kReserved), std::end(kReserved), lower) != std::end(kReserved) ||
        std::any_of(std::begin(kReservedPrefixes), std::end(kReservedPrefixes),
                    [&lower](std::string_view p) { return lower.compare(0, p.size(), p) == 0; });
    return reserved ? name + "_fir" : name;
}
