#include <array>
#include <charconv>
#include <filesystem>

#include "document/ExportProfileTraits.h"

namespace {

struct CArray {
    const char* include;    // "<stdint.h>", "\"arm_math_types.h\"" or none
    std::string type;       // element type
    int perLine = 8;
};

CArray ArrayOf(const ExportOptions& o, const ExportWords& w)
{
    const ExportProfileTraits& t = TraitsOf(o.profile);
    const int bits = w.quant.wordLength;
    CArray a;
    // arm_math.h declares the instances and functions the usage comment
    // calls (arm_math_types.h alone does not, and is missing before CMSIS-DSP 1.9).
    a.include = t.family == ExportFamily::Cmsis ? "\"arm_math.h\"" : w.fixedPoint ? "<stdint.h>" : "";
    a.type = t.cType ? t.cType : bits <= 8 ? "int8_t" : bits <= 16 ? "int16_t" : "int32_t";
    a.perLine = w.fixedPoint ? 8 : 4;
    return a;
}

// A signed integer literal of the word; the most negative 32-bit word is
// written as an expression, since 2147483648 alone is not an int.
std::string IntegerLiteral(long long v)
{
    if (v == -2147483648LL)
        return "(-2147483647 - 1)";
    return std::to_string(v);
}

// 9 significant digits for a float, 17 for a double: enough that the
// compiler reads back exactly the value that was rounded to the type.
std::string FloatLiteral(double v, bool single)
{
    std::array<char, 64> buf{};
    const auto [end, ec] = single ? std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<float>(v),
                                                  std::chars_format::scientific, 8)
                                  : std::to_chars(buf.data(), buf.data() + buf.size(), v,
                                                  std::chars_format::scientific, 16);
    std::string text = ec == std::errc() ? std::string(buf.data(), end) : "0";
    return single ? text + "f" : text;
}

// The literals in array order: CMSIS time-reversed with its padding zeros.
std::vector<std::string> Literals(const ExportOptions& o, const ExportWords& w)
{
    const bool single = TraitsOf(o.profile).numbers == ExportNumbers::Single;
    const int taps = static_cast<int>(w.values.size());
    auto literal = [&](int i) -> std::string {
        if (i < 0 || i >= taps)
            return w.fixedPoint ? "0" : FloatLiteral(0.0, single);
        return w.fixedPoint ? IntegerLiteral(w.quant.taps[static_cast<size_t>(i)])
                            : FloatLiteral(w.values[static_cast<size_t>(i)], single);
    };
    std::vector<std::string> out;
    if (IsCmsisProfile(o.profile)) {
        const int numTaps = CmsisNumTaps(o.profile, taps);
        const int length = CmsisArrayLength(o.profile, taps, o.helium);
        for (int k = 0; k < length; ++k)
            out.push_back(literal(k < numTaps ? numTaps - 1 - k : -1));
    } else {
        for (int i = 0; i < taps; ++i)
            out.push_back(literal(i));
    }
    return out;
}

std::string CommentBlock(const std::vector<std::string>& lines)
{
    std::string text = "/*\n";
    for (const std::string& line : lines)
        text += line.empty() ? " *\n" : " * " + line + "\n";
    return text + " */\n";
}

std::string Define(const std::string& name, const std::string& value, const std::string& comment)
{
    return "/* " + comment + " */\n#define " + name + " " + value + "\n";
}

std::vector<std::string> InitSnippet(const ExportOptions& o, const std::string& name, const std::string& macro,
                                     const std::string& type)
{
    const std::string s = TraitsOf(o.profile).cmsisSuffix;
    return {"Use with CMSIS-DSP:",
            "  static " + type + " state[" + macro + "_STATE_LEN(" + macro + "_BLOCK_SIZE)];",
            "  arm_fir_instance_" + s + " fir;",
            "  arm_fir_init_" + s + "(&fir, " + macro + "_NUM_TAPS, " + name + "_coefficients, state, " + macro +
                "_BLOCK_SIZE);",
            "  arm_fir_" + s + "(&fir, input, output, " + macro + "_BLOCK_SIZE);"};
}

// The traits' state length with the tap-count macro in place of NUM_TAPS.
std::string StateLength(ExportProfile p, const std::string& macro)
{
    std::string text = TraitsOf(p).stateLength;
    const size_t at = text.find("NUM_TAPS");
    return at == std::string::npos ? text : text.replace(at, 0, macro + "_");
}

}  // namespace

std::string CExportHeaderText(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    const std::string name = ExportName(o.root);
    const std::string macro = ExportMacroName(o.root);
    const CArray a = ArrayOf(o, w);
    const int taps = static_cast<int>(w.values.size());
    std::vector<std::string> comment = ExportSummary(d, o, w);
    if (IsCmsisProfile(o.profile)) {
        comment.push_back("");
        for (const std::string& line : InitSnippet(o, name, macro, a.type))
            comment.push_back(line);
    }
    const std::string guard = macro + "_COEFFICIENTS_H";
    std::string text = CommentBlock(comment) + "#ifndef " + guard + "\n#define " + guard + "\n\n";
    if (*a.include)
        text += std::string("#include ") + a.include + "\n\n";
    if (IsCmsisProfile(o.profile) && !o.helium)
        text += "/* Helium builds read the array in whole vectors beyond the last tap: export with --helium. */\n"
                "#if (defined(ARM_MATH_MVEI) || defined(ARM_MATH_MVEF)) && !defined(ARM_MATH_AUTOVECTORIZE)\n"
                "#error \"" + name + "_coefficients was exported without Helium padding: export it again with "
                "--helium\"\n#endif\n\n";
    std::string length = macro + "_NUM_TAPS";
    if (IsCmsisProfile(o.profile)) {
        const int numTaps = CmsisNumTaps(o.profile, taps);
        text += Define(macro + "_NUM_TAPS", std::to_string(numTaps),
                       std::string("Tap count to pass to arm_fir_init_") + TraitsOf(o.profile).cmsisSuffix +
                           (numTaps > taps ? ", after padding" : ""));
        text += Define(macro + "_ARRAY_LEN", std::to_string(CmsisArrayLength(o.profile, taps, o.helium)),
                       o.helium ? "Length of the array, padded with zeros for Helium"
                                : "Length of the array");
        text += Define(macro + "_BLOCK_SIZE", std::to_string(o.blockSize), "Samples per call");
        text += Define(macro + "_STATE_LEN(block_size)", StateLength(o.profile, macro), TraitsOf(o.profile).stateComment);
        length = macro + "_ARRAY_LEN";
    } else {
        text += Define(macro + "_NUM_TAPS", std::to_string(taps), "Tap count");
        if (w.fixedPoint) {
            const QuantResult& q = w.quant;
            text += Define(macro + "_WORD_BITS", std::to_string(q.wordLength), "Bits of each word");
            text += Define(macro + "_FRAC_BITS", std::to_string(q.fractionLength),
                           "Fraction bits: tap value = word * 2^-FRAC_BITS");
            text += Define(macro + "_SHIFT", std::to_string(q.shift),
                           "Extra right shift after a Q(WORD_BITS-1) product (negative: shift left); "
                           "an accumulator of products with samples is shifted right by FRAC_BITS in all");
        }
    }
    text += "\n#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n";
    text += "extern const " + a.type + " " + name + "_coefficients[" + length + "];\n";
    text += "\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
    return text;
}

std::vector<ExportFile> CExportFiles(const ExportDesign& d, const ExportOptions& o, const ExportWords& w)
{
    return {{o.root + ".h", CExportHeaderText(d, o, w)}, {o.root + ".c", CExportSourceText(d, o, w)}};
}

std::string CExportSourceText(const ExportDesign&, const ExportOptions& o, const ExportWords& w)
{
    const std::string name = ExportName(o.root);
    const std::string macro = ExportMacroName(o.root);
    const CArray a = ArrayOf(o, w);
    const std::string header = std::filesystem::path(o.root + ".h").filename().string();
    const std::string length = IsCmsisProfile(o.profile) ? macro + "_ARRAY_LEN" : macro + "_NUM_TAPS";
    std::string text = "/* The coefficients declared and described in " + header + ". */\n#include \"" + header +
                       "\"\n\nconst " + a.type + " " + name + "_coefficients[" + length + "] = {\n";
    const std::vector<std::string> literals = Literals(o, w);
    for (size_t i = 0; i < literals.size(); ++i) {
        text += (i % static_cast<size_t>(a.perLine) == 0 ? "    " : " ") + literals[i];
        if (i + 1 < literals.size())
            text += ",";
        if ((i + 1) % static_cast<size_t>(a.perLine) == 0 || i + 1 == literals.size())
            text += "\n";
    }
    return text + "};\n";
}
