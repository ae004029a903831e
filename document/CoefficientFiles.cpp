#include "document/CoefficientFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "document/DocumentMessages.h"
#include "document/ReplacingFile.h"
#include "platform/CWnd.h"
#include "dsp/CPoints.h"
#include "platform/TextFormat.h"

namespace {

// v truncated (or already rounded) and held to [lo, hi]; NaN gives 0.
long long Saturate(double v, long long lo, long long hi)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(hi))
        return hi;
    if (v <= static_cast<double>(lo))
        return lo;
    return static_cast<long long>(v);
}

std::string MacroName(const std::string& identifier)
{
    std::string macro = identifier;
    for (char& c : macro)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return macro + "_NUMOF_TAPS";
}

// The header as the source file finds it: both sit in the root's folder.
std::string HeaderFileName(const std::string& root)
{
    return std::filesystem::path(root + ".h").filename().string();
}

void Report(CWnd* msgOwner, const char* format, const std::string& path)
{
    if (msgOwner)
        msgOwner->MessageBox(FormatText(format, path.c_str()), MB_OK);
}

}  // namespace

bool IsFixedPointFormat(int format)
{
    return format == NF_Q7 || format == NF_Q15 || format == NF_Q31;
}

const char* ElementTypeOf(int format)
{
    switch (format) {
    case NF_Q7:
        return "unsigned char";
    case NF_Q15:
        return "unsigned short int";
    case NF_Q31:
        return "unsigned long int";
    case NF_FLOAT:
        return "float";
    case NF_DOUBLE:
        return "double";
    default:
        return "";
    }
}

int ValuesPerLine(int format)
{
    return format == NF_Q7 || format == NF_Q15 ? 8 : 4;
}

std::string FormatCoefficient(double x, int format)
{
    switch (format) {
    case NF_Q7: {
        long long n = Saturate(std::trunc(x * 128.0), -128, 127);
        return FormatText("0x%02x", static_cast<unsigned>(n) & 0xffu);
    }
    case NF_Q15: {
        long long n = Saturate(std::floor(x * 32768.0 + 0.5), -32768, 32767);
        return FormatText("0x%04x", static_cast<unsigned>(n) & 0xffffu);
    }
    case NF_Q31: {
        long long n = Saturate(std::trunc(x * 2147483648.0), -2147483648LL, 2147483647LL);
        return FormatText("0x%08x", static_cast<unsigned>(n & 0xffffffffLL));
    }
    case NF_FLOAT: {
        double limited = std::isnan(x) ? x : std::clamp(x, -3.4e38, 3.4e38);
        return FormatText("%+1.6e", static_cast<double>(static_cast<float>(limited)));
    }
    case NF_DOUBLE:
        return FormatText("%+1.14e", x);
    default:
        return std::string();
    }
}

std::string CoefficientIdentifier(const std::string& root)
{
    std::string id = std::filesystem::path(root).filename().string();
    for (char& c : id) {
        unsigned char u = static_cast<unsigned char>(c);
        if (!(u < 0x80 && (std::isalnum(u) || c == '_')))
            c = '_';
    }
    if (id.empty())
        return "fir";
    if (std::isdigit(static_cast<unsigned char>(id[0])))
        id = "fir_" + id;
    return id;
}

std::string CoefficientHeaderText(const std::string& root, int format, int taps)
{
    std::string id = CoefficientIdentifier(root);
    std::string macro = MacroName(id);
    return FormatText("\n#define %s ((int)%4d)\n\n", macro.c_str(), taps) +
           FormatText("extern const %s %s_coefficients[%s];\n", ElementTypeOf(format), id.c_str(), macro.c_str());
}

std::string CoefficientSourceText(const std::string& root, int format, int taps, const CPoints& coeffs)
{
    std::string id = CoefficientIdentifier(root);
    std::string macro = MacroName(id);
    std::string text = FormatText("\n#include  \"%s\"\n\n", HeaderFileName(root).c_str()) +
                       FormatText("const %s %s_coefficients[%s] =\n{\n", ElementTypeOf(format), id.c_str(),
                              macro.c_str());
    const int n = std::min(taps, coeffs.m_nCount);
    const int perLine = ValuesPerLine(format);
    std::string line = "  ";
    for (int i = 0; i < n; ++i) {
        line += FormatCoefficient(coeffs.GetValue(i, 0), format);
        if (i == n - 1) {
            text += line + "\n";
            line = "  ";
        } else if ((i + 1) % perLine == 0) {
            text += line + ",\n";
            line = "  ";
        } else {
            line += ", ";
        }
    }
    return text + "};\n";
}

bool WriteCoefficientFiles(std::string root, int extension, int format, int taps, const CPoints& coeffs,
                           CWnd* msgOwner)
{
    // Without an extension the source would overwrite the file named by the
    // root itself.
    if (extension != 0 && extension != 1) {
        if (msgOwner)
            msgOwner->MessageBox(kMsgNoExtension, MB_OK);
        return false;
    }
    const std::string headerPath = root + ".h";
    const std::string sourcePath = root + kSourceExtensions[extension];
    ReplacingFile header(headerPath);
    ReplacingFile source(sourcePath);
    if (!header.Open()) {
        Report(msgOwner, kMsgCannotOpenFile, headerPath);
        return false;
    }
    if (!source.Open()) {
        Report(msgOwner, kMsgCannotOpenFile, sourcePath);
        return false;
    }
    // Both files are complete on the disk before either replaces the old
    // pair; a full disk leaves the old header and source as they were.
    if (!header.Write(CoefficientHeaderText(root, format, taps)) || !header.Close()) {
        Report(msgOwner, kMsgCannotWriteFile, headerPath);
        return false;
    }
    if (!source.Write(CoefficientSourceText(root, format, taps, coeffs)) || !source.Close()) {
        Report(msgOwner, kMsgCannotWriteFile, sourcePath);
        return false;
    }
    // The header last: a source without its new header fails to compile
    // rather than compiling against a tap count it does not hold.
    if (!source.Commit()) {
        Report(msgOwner, kMsgCannotWriteFile, sourcePath);
        return false;
    }
    if (!header.Commit()) {
        Report(msgOwner, kMsgCannotWriteFile, headerPath);
        return false;
    }
    return true;
}
