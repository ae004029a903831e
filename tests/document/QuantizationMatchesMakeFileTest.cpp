#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>

#include "document/CoefficientFiles.h"
#include "dsp/TapQuantization.h"

namespace {

// "0x" and the low bits of word in hex, zero-padded to digits.
std::string HexWord(unsigned long long word, int digits)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::setw(digits) << std::setfill('0') << word;
    return text.str();
}

}  // namespace

// The analysis of Q7, Q15 and Q31 tells the truth about the files Make File
// writes: the quantiser's word is the one written, for values all over the
// range and on the rounding boundaries.
TEST(QuantizationMatchesMakeFile, WordsEqualTheWrittenHex)
{
    std::mt19937 gen(12);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    struct Format {
        int makeFile;
        QuantFormat quant;
        int fraction, width;
    };
    const Format formats[] = {{NF_Q7, QuantFormat::Q7, 7, 8}, {NF_Q15, QuantFormat::Q15, 15, 16},
                              {NF_Q31, QuantFormat::Q31, 31, 32}};
    for (const Format& f : formats) {
        QuantSpec quantSpec;
        quantSpec.format = f.quant;
        for (int i = 0; i < 20000; ++i) {
            double x = u(gen);
            if (i % 4 == 1)  // exactly on a half LSB
                x = (std::floor(x * std::ldexp(1.0, f.fraction)) + 0.5) / std::ldexp(1.0, f.fraction);
            if (i % 4 == 2)  // exactly on an LSB
                x = std::floor(x * std::ldexp(1.0, f.fraction)) / std::ldexp(1.0, f.fraction);
            const unsigned long long word = static_cast<unsigned long long>(QuantizeValue(x, quantSpec, f.fraction)) &
                                            ((1ULL << f.width) - 1);
            ASSERT_EQ(FormatCoefficient(x, f.makeFile), HexWord(word, f.width / 4)) << x;
        }
        for (double edge : {1.0, -1.0, 0.0, 1.5, -1.5})
            EXPECT_EQ(FormatCoefficient(edge, f.makeFile),
                      HexWord(static_cast<unsigned long long>(QuantizeValue(edge, quantSpec, f.fraction)) &
                                  ((1ULL << f.width) - 1),
                              f.width / 4))
                << edge;
    }
}
