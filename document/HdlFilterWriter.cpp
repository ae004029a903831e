#include "document/HdlFilterWriter.h"

#include <algorithm>
#include <string_view>

#include "document/ExportWriters.h"

namespace {

// VHDL-2008's reserved words, Verilog-2001's keywords and the library names
// a design file uses: an entity or module may be named none of them.
constexpr std::string_view kReserved[] = {
    "abs", "access", "after", "alias", "all", "always", "and", "architecture", "array", "assert", "assign",
    "assume", "assume_guarantee", "attribute", "automatic", "begin", "block", "body", "buf", "buffer", "bufif0",
    "bufif1", "bus", "case", "casex", "casez", "cell", "cmos", "component", "config", "configuration", "constant",
    "context", "cover", "deassign", "default", "defparam", "design", "disable", "disconnect", "downto", "edge",
    "else", "elsif", "end", "endcase", "endconfig", "endfunction", "endgenerate", "endmodule", "endprimitive",
    "endspecify", "endtable", "endtask", "entity", "event", "exit", "fairness", "file", "for", "force", "forever",
    "fork", "function", "generate", "generic", "genvar", "group", "guarded", "highz0", "highz1", "if", "ifnone",
    "ieee", "impure", "in", "incdir", "include", "inertial", "initial", "inout", "input", "instance", "integer",
    "is", "join", "label", "large", "liblist", "library", "linkage", "literal", "localparam", "loop", "macromodule",
    "map", "medium", "mod", "module", "nand", "negedge", "new", "next", "nmos", "nor", "noshowcancelled", "not",
    "notif0", "notif1", "null", "numeric_std", "of", "on", "open", "or", "others", "out", "output", "package",
    "parameter", "pmos", "port", "posedge", "postponed", "primitive", "procedure", "process", "property",
    "protected", "pull0", "pull1", "pulldown", "pullup", "pulsestyle_onevent", "pulsestyle_ondetect", "pure",
    "range", "rcmos", "real", "realtime", "record", "reg", "register", "reject", "release", "rem", "repeat",
    "report", "restrict", "restrict_guarantee", "return", "rnmos", "rol", "ror", "rpmos", "rtran", "rtranif0",
    "rtranif1", "scalared", "select", "sequence", "severity", "shared", "showcancelled", "signal", "signed", "sla",
    "sll", "small", "specify", "specparam", "sra", "srl", "std", "std_logic_1164", "strength", "strong0",
    "strong1", "subtype", "supply0", "supply1", "table", "task", "then", "time", "to", "tran", "tranif0",
    "tranif1", "transport", "tri", "tri0", "tri1", "triand", "trior", "trireg", "type", "unaffected", "units",
    "unsigned", "until", "use", "uwire", "variable", "vectored", "vmode", "vprop", "vunit", "wait", "wand",
    "weak0", "weak1", "when", "while", "wire", "with", "wor", "work", "xnor", "xor",
    // The filter's and the testbench's own names.
    "clk", "rst", "in_valid", "in_data", "out_valid", "out_data", "x_reg", "stage_valid", "biased", "shifted",
    "out_reg", "rtl", "sim", "dut", "decimal"};

constexpr std::string_view kReservedPrefixes[] = {"coef_", "prod_", "acc_"};

// The filter of the exported words in one language, and its testbench when asked for.
std::vector<ExportFile> FilterFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w,
                                    const std::string& extension,
                                    std::string (*filter)(const HdlFilterPlan&, const std::string&,
                                                          const std::vector<std::string>&),
                                    std::string (*testbench)(const HdlFilterPlan&, const std::string&))
{
    const HdlFilterPlan plan =
        MakeHdlFilterPlan(w.quant.taps, w.quant.wordLength, w.quant.fractionLength, o.inputBits, o.outputBits);
    const std::string name = HdlFilterName(o.root);
    std::vector<ExportFile> files = {{o.root + extension, filter(plan, name, ExportSummary(d, o, w))}};
    if (o.testbench)
        files.push_back({o.root + "_tb" + extension, testbench(plan, name)});
    return files;
}

}  // namespace

std::vector<ExportFile> VhdlFilterExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return FilterFiles(d, o, w, ".vhd", VhdlFilterText, VhdlFilterTestbenchText);
}

std::vector<ExportFile> VerilogFilterExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return FilterFiles(d, o, w, ".v", VerilogFilterText, VerilogFilterTestbenchText);
}

std::string HdlFilterName(const std::string& root)
{
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

std::string HdlBitPattern(HdlInteger v, int width)
{
    std::string bits(static_cast<size_t>(width), '0');
    for (int i = 0; i < width; ++i)
        if ((v >> std::min(i, 127)) & 1)
            bits[static_cast<size_t>(width - 1 - i)] = '1';
    return bits;
}

std::string HdlComment(const std::vector<std::string>& lines, const std::string& marker)
{
    std::string text;
    for (const std::string& line : lines)
        text += line.empty() ? marker + "\n" : marker + " " + line + "\n";
    return text;
}

std::string HdlHeaderComment(const HdlFilterPlan& plan, const std::vector<std::string>& summary,
                             const std::string& language, const std::string& marker)
{
    std::vector<std::string> lines = summary;
    lines.push_back("");
    for (const std::string& line : HdlFilterDescription(plan))
        lines.push_back(line);
    lines.push_back(language);
    return HdlComment(lines, marker);
}

std::string HdlTapsOf(const HdlMultiplier& m)
{
    std::string text = "b[" + std::to_string(m.tap) + "]";
    if (m.mirror >= 0)
        text += (m.subtract ? ", -b[" : ", b[") + std::to_string(m.mirror) + "]";
    return text;
}
