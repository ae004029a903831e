#pragma once

#include <string>
#include <vector>

#include "ExportTestSupport.h"
#include "document/HdlFilterWriter.h"
#include "document/HdlTestVectors.h"
#include "document/MethodExport.h"

// A design made on the form (or, with taps 0, the given words) and the
// filter generated from its c-fixed words.
struct HdlCase {
    const char* name;
    int type, window, taps, f1, f2;
    int wordLength, inputBits, outputBits;
    HdlFilterOptions options;
    bool stream;
    std::vector<long long> words;  // when taps == 0
};

inline HdlFilterOptions HdlOptions(HdlArchitecture a, int clocks = kDefaultHdlClocksPerSample, bool pipeline = false)
{
    HdlFilterOptions o;
    o.architecture = a;
    o.clocksPerSample = clocks;
    o.pipeline = pipeline;
    return o;
}

struct HdlFilter {
    HdlFilterPlan plan;
    std::vector<std::string> summary;
};

// The c-fixed words of the case's design, planned.
inline HdlFilter MakeHdlFilter(const HdlCase& c)
{
    HdlFilter f;
    if (c.taps == 0) {
        f.plan = MakeHdlFilterPlan(c.words, c.wordLength, c.wordLength - 1, c.inputBits, c.outputBits, c.options);
        f.summary = {std::string("words given by the test: ") + c.name};
        return f;
    }
    ExportFixture form(ExportCase{c.name, c.type, DM_SINC, c.window, c.taps, 8000, c.f1, c.f2, 0});
    EXPECT_EQ(form.view.m_bDesignValid, 1);
    const ExportDesign design = ExportDesignOf(form.view);
    ExportOptions options;
    options.profile = ExportProfile::CFixed;
    options.wordLength = c.wordLength;
    const ExportWords words = ComputeExportWords(design, options);
    f.plan = MakeHdlFilterPlan(words.quant.taps, words.quant.wordLength, words.quant.fractionLength, c.inputBits,
                               c.outputBits, c.options);
    f.summary = ExportSummary(design, options, words);
    return f;
}

inline HdlInteger HdlPow2(int bits)
{
    return static_cast<HdlInteger>(1) << bits;
}

// The integer model from its definition, over a stimulus file's text:
// y[n] = sum b[k] x[n-k] since the last "reset", then y / 2^S rounded to
// the nearest integer (halves away from zero) and clamped to O bits. One
// list a segment; largest and smallest y seen.
inline std::vector<std::vector<HdlInteger>> HdlReferenceOutputs(const HdlFilterPlan& plan, const std::string& stimulus,
                                                                HdlInteger& largest, HdlInteger& smallest)
{
    std::vector<std::vector<HdlInteger>> segments(1);
    std::vector<long long> x;
    largest = smallest = 0;
    for (const std::string& line : Lines(stimulus)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "reset") {
            segments.emplace_back();
            x.clear();
            continue;
        }
        x.push_back(std::stoll(line));
        HdlInteger y = 0;
        for (size_t k = 0; k < plan.words.size() && k < x.size(); ++k)
            y += static_cast<HdlInteger>(plan.words[k]) * x[x.size() - 1 - k];
        largest = std::max(largest, y);
        smallest = std::min(smallest, y);
        if (plan.rounded) {
            const HdlInteger magnitude = y < 0 ? -y : y;
            HdlInteger q = magnitude / HdlPow2(plan.shift);
            if (2 * (magnitude % HdlPow2(plan.shift)) >= HdlPow2(plan.shift))
                ++q;
            y = std::clamp(y < 0 ? -q : q, -HdlPow2(plan.outputBits - 1), HdlPow2(plan.outputBits - 1) - 1);
        }
        segments.back().push_back(y);
    }
    return segments;
}

// The values of an expected-outputs text, one list a segment.
inline std::vector<std::vector<HdlInteger>> HdlExpectedValues(const std::string& text)
{
    std::vector<std::vector<HdlInteger>> segments(1);
    for (const std::string& line : Lines(text)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "reset") {
            segments.emplace_back();
            continue;
        }
        HdlInteger v = 0;
        const bool negative = line[0] == '-';
        for (size_t i = negative ? 1 : 0; i < line.size(); ++i)
            v = v * 10 + (line[i] - '0');
        segments.back().push_back(negative ? -v : v);
    }
    return segments;
}

enum class Hdl { Vhdl, Verilog };

// Writes the case's filter, wrapper (when c.stream), testbench, stimulus
// and expected outputs into dir as the export names them; the testbench's
// own run command (from its comment).
inline std::string WriteHdlFiles(const std::filesystem::path& dir, const HdlCase& c, const HdlFilter& f, Hdl hdl)
{
    const std::string name = HdlFilterName(c.name);
    const HdlTestbench bench{name, name + "_in.txt", name + "_expected.txt", name + "_out.txt", c.stream};
    const bool vhdl = hdl == Hdl::Vhdl;
    const std::string ext = vhdl ? ".vhd" : ".v";
    std::ofstream(dir / (name + ext)) << (vhdl ? VhdlFilterText(f.plan, name, f.summary)
                                               : VerilogFilterText(f.plan, name, f.summary));
    if (c.stream)
        std::ofstream(dir / (name + "_axis" + ext)) << (vhdl ? VhdlStreamText(f.plan, name)
                                                             : VerilogStreamText(f.plan, name));
    const std::string tb = vhdl ? VhdlFilterTestbenchText(f.plan, name, bench)
                                : VerilogFilterTestbenchText(f.plan, name, bench);
    std::ofstream(dir / (name + "_tb" + ext)) << tb;
    const auto stimulus = MakeHdlStimulus(f.plan);
    std::ofstream(dir / bench.inputFile) << HdlStimulusText(stimulus, {"test stimulus"});
    std::ofstream(dir / bench.expectedFile) << HdlExpectedText(f.plan, stimulus, {"test expectation"});
    const std::string marker = vhdl ? "--   " : "//   ";
    const size_t at = tb.find("\n" + marker);
    return at == std::string::npos ? "" : tb.substr(at + 1 + marker.size(), tb.find('\n', at + 1) - at - 1 - marker.size());
}
