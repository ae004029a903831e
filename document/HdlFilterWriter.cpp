#include "document/HdlFilterWriter.h"

#include <algorithm>
#include <filesystem>

#include "document/HdlTestVectors.h"

namespace hdl_filter_writer {

using TextOf = std::string (*)(const HdlFilterPlan&, const std::string&, const std::vector<std::string>&);
using StreamOf = std::string (*)(const HdlFilterPlan&, const std::string&);
using BenchOf = std::string (*)(const HdlFilterPlan&, const std::string&, const HdlTestbench&);

// The filter of the exported words in one language, its wrapper and its
// testbench with the stimulus and the expected outputs when asked for.
std::vector<ExportFile> FilterFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w,
                                    const std::string& extension, TextOf filter, StreamOf stream, BenchOf testbench)
{
    const HdlFilterPlan plan = ExportFilterPlan(o, w);
    const std::string name = HdlFilterName(o.root);
    std::vector<ExportFile> files = {{o.root + extension, filter(plan, name, ExportSummary(d, o, w))}};
    if (o.stream)
        files.push_back({o.root + "_axis" + extension, stream(plan, name)});
    if (o.testbench) {
        const std::string base = std::filesystem::path(o.root).filename().string();
        const HdlTestbench bench{base, base + "_in.txt", base + "_expected.txt", base + "_out.txt", o.stream};
        files.push_back({o.root + "_tb" + extension, testbench(plan, name, bench)});
        const std::vector<HdlStimulusLine> stimulus = MakeHdlStimulus(plan);
        const std::string made = "Written by Zantro with " + base + extension + " for " + name + "_tb";
        files.push_back({o.root + "_in.txt",
                         HdlStimulusText(stimulus, {"Stimulus of " + name + ": \"x\" or \"x idle\" a line (idle: "
                                                    "clocks with in_valid low after x); \"reset\" resets the filter",
                                                    made})});
        files.push_back(
            {o.root + "_expected.txt",
             HdlExpectedText(plan, stimulus,
                             {"Outputs of " + name + " for " + bench.inputFile + " from the integer model, one a "
                              "line; \"reset\" where the stimulus resets the filter (the outputs in flight are "
                              "dropped)",
                              made})});
    }
    return files;
}

}  // namespace hdl_filter_writer

HdlFilterPlan ExportFilterPlan(const ExportOptions& o, const ExportWords& w)
{
    return MakeHdlFilterPlan(w.quant.taps, w.quant.wordLength, w.quant.fractionLength, o.inputBits, o.outputBits,
                             o.filter);
}

std::vector<ExportFile> VhdlFilterExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return hdl_filter_writer::FilterFiles(d, o, w, ".vhd", VhdlFilterText, VhdlStreamText, VhdlFilterTestbenchText);
}

std::vector<ExportFile> VerilogFilterExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return hdl_filter_writer::FilterFiles(d, o, w, ".v", VerilogFilterText, VerilogStreamText,
                                          VerilogFilterTestbenchText);
}

std::string VhdlFilterText(const HdlFilterPlan& plan, const std::string& name, const std::vector<std::string>& summary)
{
    return plan.options.architecture == HdlArchitecture::Folded ? VhdlFoldedText(plan, name, summary)
                                                                : VhdlTransposedText(plan, name, summary);
}

std::string VerilogFilterText(const HdlFilterPlan& plan, const std::string& name,
                              const std::vector<std::string>& summary)
{
    return plan.options.architecture == HdlArchitecture::Folded ? VerilogFoldedText(plan, name, summary)
                                                                : VerilogTransposedText(plan, name, summary);
}

int HdlStreamDepth(const HdlFilterPlan& plan)
{
    // A result is held from the clock its sample is taken to the clock after
    // it leaves the filter: latency + 1 clocks, one sample every `interval`.
    const int interval = plan.options.architecture == HdlArchitecture::Folded ? plan.folded.clocks : 1;
    return (plan.latency + 1 + interval - 1) / interval + 1;
}

int HdlStreamBytes(int bits)
{
    return (bits + 7) / 8;
}

int HdlTestbenchTimeout(const HdlFilterPlan& plan)
{
    return 2 * plan.latency + 64;
}

std::vector<std::string> HdlTestbenchComment(const HdlFilterPlan& plan, const std::string& name,
                                             const HdlTestbench& bench, const std::string& language)
{
    const std::string tb = name + "_tb";
    const bool vhdl = language == "VHDL";
    const std::string ext = vhdl ? ".vhd" : ".v";
    const std::string sources = bench.fileBase + ext + (bench.stream ? " " + bench.fileBase + "_axis" + ext : "") + " " +
                                bench.fileBase + "_tb" + ext;
    std::vector<std::string> lines = {
        "Self-checking testbench of " + name + (bench.stream ? "_axis" : "") +
            ": feeds the samples of INPUT_FILE, compares every output with",
        "EXPECTED_FILE (the integer model's outputs), writes the outputs to OUTPUT_FILE, prints the number of",
        "mismatches and fails (a nonzero exit status) on any mismatch or a file it cannot open.",
        "INPUT_FILE: \"x\" or \"x idle\" a line (idle: clocks with in_valid low after x); \"reset\" resets the "
        "filter for a clock,",
        "dropping the outputs in flight. EXPECTED_FILE: one output a line, \"reset\" where the stimulus resets.",
        "Blank lines and lines starting with \"#\" are skipped in both.",
        "GAPS: i mod (GAPS + 1) more idle clocks after sample i."};
    if (bench.stream)
        lines.push_back("BACKPRESSURE: m_axis_tready low about half the clocks (0: always high).");
    if (plan.options.architecture == HdlArchitecture::Folded || bench.stream)
        lines.push_back("A sample waits while the filter's ready signal is low.");
    lines.push_back("Run it in the folder of the files:");
    if (vhdl)
        lines.push_back("  ghdl -a --std=08 " + sources + " && ghdl -e --std=08 " + tb + " && ghdl -r --std=08 " + tb);
    else
        lines.push_back("  iverilog -g2001 -o " + tb + " " + sources + " && vvp -n " + tb);
    return lines;
}

std::string HdlStringText(const std::string& text, bool vhdl)
{
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        // VHDL's strings take Latin-1's graphic characters only.
        if (byte < 0x20 || byte == 0x7f || (vhdl && byte >= 0x80 && byte < 0xa0))
            out += '?';
        else if (c == '"')
            out += vhdl ? "\"\"" : "\\\"";
        else if (c == '\\' && !vhdl)
            out += "\\\\";
        else
            out += c;
    }
    return out;
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
