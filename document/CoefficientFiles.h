#pragma once

#include <string>

class CPoints;
class CWnd;

// Number formats of Make File, index = position in the dialog's list.
enum NumberFormat { NF_Q7 = 0, NF_Q15, NF_Q31, NF_FLOAT, NF_DOUBLE };
inline constexpr const char* kNumberFormatNames[] = {"Q7", "Q15", "Q31", "float", "double"};
inline constexpr int kNumberFormatCount = 5;
// Extension index 0 ".c", 1 ".cpp".
inline constexpr const char* kSourceExtensions[] = {".c", ".cpp"};

// True for Q7, Q15 and Q31, which cannot hold magnitudes above 1.0.
bool IsFixedPointFormat(int format);
// C element type of the array: "unsigned char" .. "double"; "" outside 0..4.
const char* ElementTypeOf(int format);
// Values per line of the array: 8 for Q7 and Q15, 4 otherwise.
int ValuesPerLine(int format);

// One coefficient as written: Q7 truncates x * 128 ("0x%02x"), Q15 rounds
// x * 32768 half up ("0x%04x"), Q31 truncates x * 2^31 ("0x%08x"), each
// saturating at the largest positive word; float is limited to +-3.4e38 and
// rounded to single precision ("%+1.6e"); double is exact ("%+1.14e").
// Values below -1.0 saturate at the most negative word and NaN is written as
// 0 in the Q formats (the Make File command refuses such sets anyway).
// "" for a format outside 0..4.
std::string FormatCoefficient(double x, int format);

// The C identifier of a root: its file name without folder, every character
// other than a letter, digit or '_' replaced by '_', prefixed with "fir_"
// when it would start with a digit, "fir" when nothing is left.
std::string CoefficientIdentifier(const std::string& root);

// The two texts Make File writes for root. taps is the declared count; the
// array holds the first min(taps, points held) real parts of coeffs.
std::string CoefficientHeaderText(const std::string& root, int format, int taps);
std::string CoefficientSourceText(const std::string& root, int format, int taps, const CPoints& coeffs);

// Writes root + ".h" and root + ".c"/".cpp", replacing existing files. Both
// are written to temporary files in the root's folder and put in place by
// renames (the source, then the header) only when both are complete, so a
// failure leaves the previous pair as it was. An extension index outside
// 0..1 shows "Please select a file extension." and writes nothing; a file
// that cannot be created shows "Cannot open file <path>", one that cannot be
// written in full "Cannot write file <path>". True when both were written.
bool WriteCoefficientFiles(std::string root, int extension, int format, int taps, const CPoints& coeffs,
                           CWnd* msgOwner);
