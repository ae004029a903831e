#include <nlohmann/json.hpp>

#include "document/DesignJson.h"
#include "document/ExportWriters.h"

#ifndef ZANTRO_VERSION
#define ZANTRO_VERSION "0"
#endif

namespace {

using Json = nlohmann::ordered_json;

std::string Commented(const std::vector<std::string>& lines, const std::string& marker)
{
    std::string text;
    for (const std::string& line : lines)
        text += line.empty() ? marker + "\n" : marker + " " + line + "\n";
    return text;
}

Json ParametersJson(const ExportDesign& d)
{
    const DesignOutline& o = d.outline;
    Json p;
    p["m_nDesignMethod"] = o.designMethod;
    p["m_nFilterType"] = o.filterType;
    p["m_nWindowType"] = o.windowType;
    p["m_nFirstCorner"] = o.firstCorner;
    p["m_nSecondCorner"] = o.secondCorner;
    p["m_nSamplingRate"] = o.fs;
    p["m_nTaps"] = o.taps;
    p["m_nIRScaling"] = d.irScaling;
    p["m_bSinXComp"] = d.sinXComp ? 1 : 0;
    p["m_nStopbandAtt"] = o.stopbandAtt;
    p["m_dShapeFactor"] = o.shapeFactor;
    p["m_dVariance"] = d.variance;
    p["m_dDiffGain"] = o.diffGain;
    p["m_dGain"] = o.gain;
    p["m_InputData"] = o.inputData;
    p["m_Bands"] = RemezBandsJson(o.remezBands);
    p["m_nGridDensity"] = d.gridDensity;
    return p;
}

// A word of width bits as a Verilog literal of that width.
std::string VerilogLiteral(long long v, int width)
{
    const std::string w = std::to_string(width);
    if (v == -(1LL << (width - 1))) {
        static const char* digits = "0123456789abcdef";
        std::string hex;
        for (int shift = (width - 1) / 4 * 4; shift >= 0; shift -= 4)
            hex += digits[(static_cast<unsigned long long>(v) >> shift) & 0xfu];
        return w + "'sh" + hex;
    }
    return v < 0 ? "-" + w + "'sd" + std::to_string(-v) : w + "'sd" + std::to_string(v);
}

}  // namespace

std::string VhdlName(const std::string& root)
{
    std::string name;
    for (char c : ExportName(root))
        if (c != '_' || (!name.empty() && name.back() != '_'))
            name += c;
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "fir" : name;
}

std::string CsvExportText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    // "#" comment lines, which numpy's loadtxt and most CSV readers skip.
    std::string text = Commented(ExportSummary(d, o, w), "#");
    for (double t : d.taps)
        text += NumberText(t) + "\n";
    return text;
}

std::string JsonExportText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    Json j;
    j["program"] = std::string("Zantro");
    j["version"] = std::string(ZANTRO_VERSION);
    j["profile"] = ExportProfileName(o.profile);
    j["summary"] = ExportSummary(d, o, w);
    j["taps"] = d.taps;
    // Taps designed elsewhere have no parameters of Zantro's form: where
    // they came from and their rate instead (ReadTapsFile reads both back).
    if (d.foreignSource.empty()) {
        j["parameters"] = ParametersJson(d);
    } else {
        j["parameters"] = nullptr;
        j["source"] = {{"file", d.foreignSource}, {"sampling_rate_hz", d.outline.fs}};
    }
    j["analysis"] = AnalysisJson(d.figures, w.quant, d.bandsDerived, w.chosen ? &*w.chosen : nullptr);
    return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string CoeExportText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    std::string text = Commented(ExportSummary(d, o, w), ";") + "radix=10;\ncoefdata=\n";
    const std::vector<long long>& taps = w.quant.taps;
    for (size_t i = 0; i < taps.size(); ++i)
        text += std::to_string(taps[i]) + (i + 1 < taps.size() ? ",\n" : ";\n");
    return text;
}

std::string VhdlExportText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    const std::string name = VhdlName(o.root);
    std::string macro = name;
    for (char& c : macro)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const QuantResult& q = w.quant;
    const long long hi = (1LL << (q.wordLength - 1)) - 1;
    const std::vector<long long>& taps = q.taps;
    std::string text = Commented(ExportSummary(d, o, w), "--");
    text += "package " + name + "_pkg is\n";
    text += "  constant " + macro + "_WIDTH : positive := " + std::to_string(q.wordLength) + ";\n";
    text += "  constant " + macro + "_NUM_TAPS : positive := " + std::to_string(taps.size()) + ";\n";
    text += "  constant " + macro + "_FRAC_BITS : integer := " + std::to_string(q.fractionLength) + ";\n";
    // The bounds are written out: 2**31 does not fit VHDL's integer.
    text += "  subtype " + name + "_word is integer range " + (q.wordLength == 32 ? "-2147483647 - 1" : std::to_string(-hi - 1)) +
            " to " + std::to_string(hi) + ";\n";
    text += "  type " + name + "_coefficient_array is array (0 to " + macro + "_NUM_TAPS - 1) of " + name +
            "_word;\n";
    text += "  constant " + macro + "_COEFFICIENTS : " + name + "_coefficient_array := (\n";
    for (size_t i = 0; i < taps.size(); ++i) {
        const std::string v = taps[i] == -2147483648LL ? "-2147483647 - 1" : std::to_string(taps[i]);
        text += "    " + std::to_string(i) + " => " + v + (i + 1 < taps.size() ? ",\n" : "\n");
    }
    text += "  );\nend package " + name + "_pkg;\n";
    return text;
}

std::string VerilogExportText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    const std::string macro = ExportMacroName(o.root);
    const QuantResult& q = w.quant;
    const std::vector<long long>& taps = q.taps;
    std::vector<std::string> comment = ExportSummary(d, o, w);
    comment.push_back("Tap k (b[k], natural order) is $signed(" + macro + "_COEFFICIENTS[k*" + macro +
                      "_WIDTH +: " + macro + "_WIDTH]).");
    std::string text = Commented(comment, "//");
    text += "localparam integer " + macro + "_WIDTH = " + std::to_string(q.wordLength) + ";\n";
    text += "localparam integer " + macro + "_NUM_TAPS = " + std::to_string(taps.size()) + ";\n";
    text += "localparam integer " + macro + "_FRAC_BITS = " + std::to_string(q.fractionLength) + ";\n";
    text += "localparam [" + macro + "_NUM_TAPS*" + macro + "_WIDTH-1:0] " + macro + "_COEFFICIENTS = {\n";
    for (size_t k = taps.size(); k-- > 0;)
        text += "    " + VerilogLiteral(taps[k], q.wordLength) + (k > 0 ? "," : " ") + "  // b[" +
                std::to_string(k) + "] = " + std::to_string(taps[k]) + "\n";
    text += "};\n";
    return text;
}
