#include <gtest/gtest.h>

#include <random>

#include "document/HdlFilterPlan.h"
#include "document/HdlFilterWriter.h"

namespace {

HdlInteger TwoTo(int bits)
{
    return static_cast<HdlInteger>(1) << bits;
}

// y for the input that drives every tap to the extreme of its word's sign
// (sign = +1) or against it (sign = -1): the bound the accumulator is sized for.
HdlInteger ExtremeOutput(const std::vector<long long>& words, int inputBits, int sign)
{
    HdlInteger y = 0;
    for (long long w : words) {
        const HdlInteger x = (w * sign > 0) ? TwoTo(inputBits - 1) - 1 : -TwoTo(inputBits - 1);
        y += static_cast<HdlInteger>(w) * x;
    }
    return y;
}

}  // namespace

// Worked by hand: P = 13, Q = 10, B = 4 (inputs -8..7): y <= 13*7 + 10*8 = 171,
// y >= -(13*8 + 10*7) = -174, nine bits; the tails b[4..], b[3..], b[2..] need 6, 7, 8.
TEST(HdlFilterPlan, SymmetricWordsShareMultipliersAndSizeEveryRegisterFromItsTail)
{
    const HdlFilterPlan plan = MakeHdlFilterPlan({3, -5, 7, -5, 3}, 4, 3, 4, 0);
    ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
    EXPECT_EQ(plan.symmetry, HdlSymmetry::Symmetric);
    ASSERT_EQ(plan.multipliers.size(), 3u);
    EXPECT_EQ(plan.multipliers[0].mirror, 4);
    EXPECT_EQ(plan.multipliers[1].mirror, 3);
    EXPECT_EQ(plan.multipliers[2].mirror, -1);
    EXPECT_FALSE(plan.multipliers[0].subtract);
    EXPECT_EQ(plan.multipliers[0].productBits, 6);  // 3 * -8 = -24
    EXPECT_EQ(plan.multipliers[1].productBits, 7);  // -5 * -8 = 40
    EXPECT_EQ(plan.terms[4].multiplier, 0);
    EXPECT_EQ(plan.terms[3].multiplier, 1);
    EXPECT_EQ(plan.outputMax, 171);
    EXPECT_EQ(plan.outputMin, -174);
    EXPECT_EQ(plan.accumulatorBits, 9);
    EXPECT_EQ(plan.chainBits, (std::vector<int>{9, 9, 8, 7, 6}));
    EXPECT_EQ(plan.outputBits, 9);
    EXPECT_FALSE(plan.rounded);
    EXPECT_EQ(plan.latency, 3);
    EXPECT_EQ(plan.adders, 4);
    // input 4 + products 6 + 7 + 7 (7 * -8 = -56) + chain 39 + three valid flags
    EXPECT_EQ(plan.registerBits, 4 + 20 + 39 + 3);
}

TEST(HdlFilterPlan, AntisymmetricWordsSubtractAtTheMirrorAndZeroWordsNeedNoMultiplier)
{
    // A Hilbert transformer's pattern: zero centre and every other word zero.
    const HdlFilterPlan odd = MakeHdlFilterPlan({-3, 0, -9, 0, 9, 0, 3}, 5, 4, 8, 0);
    ASSERT_EQ(odd.status, HdlPlanStatus::Ok);
    EXPECT_EQ(odd.symmetry, HdlSymmetry::Antisymmetric);
    ASSERT_EQ(odd.multipliers.size(), 2u);
    EXPECT_TRUE(odd.multipliers[0].subtract);
    EXPECT_EQ(odd.multipliers[0].mirror, 6);
    EXPECT_TRUE(odd.terms[6].subtract);
    EXPECT_FALSE(odd.terms[0].subtract);
    EXPECT_EQ(odd.terms[3].multiplier, -1);
    // Three chain adders and the negation at the chain's end.
    EXPECT_EQ(odd.adders, 4);

    const HdlFilterPlan even = MakeHdlFilterPlan({1, -4, 4, -1}, 4, 3, 8, 0);
    EXPECT_EQ(even.symmetry, HdlSymmetry::Antisymmetric);
    EXPECT_EQ(even.multipliers.size(), 2u);

    const HdlFilterPlan none = MakeHdlFilterPlan({1, 2, 3}, 4, 3, 8, 0);
    EXPECT_EQ(none.symmetry, HdlSymmetry::None);
    EXPECT_EQ(none.multipliers.size(), 3u);
}

TEST(HdlFilterPlan, TheChainEndsAtTheLastNonzeroWord)
{
    const HdlFilterPlan plan = MakeHdlFilterPlan({0, 5, 0, 7, 0, 0}, 4, 3, 6, 0);
    ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
    EXPECT_EQ(plan.chainLength, 4);
    EXPECT_EQ(plan.multipliers.size(), 2u);
    const HdlFilterPlan zeros = MakeHdlFilterPlan({0, 0, 0}, 4, 3, 6, 0);
    ASSERT_EQ(zeros.status, HdlPlanStatus::Ok);
    EXPECT_EQ(zeros.chainLength, 1);
    EXPECT_TRUE(zeros.multipliers.empty());
    EXPECT_EQ(zeros.accumulatorBits, 1);
}

TEST(HdlFilterPlan, TheAccumulatorIsTheFewestBitsThatHoldTheExtremeInputs)
{
    std::mt19937 random(27);
    for (int trial = 0; trial < 200; ++trial) {
        const int w = 2 + static_cast<int>(random() % 31), b = 2 + static_cast<int>(random() % 31);
        const int n = 1 + static_cast<int>(random() % 300);
        std::uniform_int_distribution<long long> word(-(1LL << (w - 1)), (1LL << (w - 1)) - 1);
        std::vector<long long> words;
        for (int i = 0; i < n; ++i)
            words.push_back(word(random));
        const HdlFilterPlan plan = MakeHdlFilterPlan(words, w, w - 1, b, 0);
        ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
        const HdlInteger hi = ExtremeOutput(words, b, 1), lo = ExtremeOutput(words, b, -1);
        EXPECT_EQ(plan.outputMax, hi);
        EXPECT_EQ(plan.outputMin, lo);
        const int a = plan.accumulatorBits;
        EXPECT_TRUE(lo >= -TwoTo(a - 1) && hi <= TwoTo(a - 1) - 1) << trial;
        if (a > 1) {
            EXPECT_TRUE(lo < -TwoTo(a - 2) || hi > TwoTo(a - 2) - 1) << trial;
        }
        // |y| <= L1 * 2^(B-1), and no multiplier is planned beyond ceil(N/2) for linear-phase words.
        EXPECT_LE(hi, (plan.sumPositive + plan.sumNegative) * TwoTo(b - 1));
    }
}

TEST(HdlFilterPlan, OutputBitsBelowTheAccumulatorRoundAfterAShiftAndAddAStage)
{
    const std::vector<long long> words = {3, -5, 7, -5, 3};  // nine accumulator bits at B = 4
    struct Case {
        int outputBits, expectBits, shift, latency;
        bool rounded;
    };
    for (const Case& c : {Case{0, 9, 0, 3, false}, Case{9, 9, 0, 3, false}, Case{12, 12, 0, 3, false},
                          Case{8, 8, 1, 4, true}, Case{2, 2, 7, 4, true}}) {
        const HdlFilterPlan plan = MakeHdlFilterPlan(words, 4, 3, 4, c.outputBits);
        ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
        EXPECT_EQ(plan.outputBits, c.expectBits) << c.outputBits;
        EXPECT_EQ(plan.shift, c.shift) << c.outputBits;
        EXPECT_EQ(plan.rounded, c.rounded) << c.outputBits;
        EXPECT_EQ(plan.latency, c.latency) << c.outputBits;
    }
}

TEST(HdlFilterPlan, ArgumentsOutOfRangeNameTheirStatus)
{
    struct Case {
        std::vector<long long> words;
        int w, b, o;
        HdlPlanStatus status;
    };
    const std::vector<Case> cases = {
        {{}, 16, 16, 0, HdlPlanStatus::NoWords},
        {{1}, 1, 16, 0, HdlPlanStatus::BadWordLength},
        {{1}, 33, 16, 0, HdlPlanStatus::BadWordLength},
        {{1}, 16, 1, 0, HdlPlanStatus::BadInputBits},
        {{1}, 16, 33, 0, HdlPlanStatus::BadInputBits},
        {{1}, 16, 16, 1, HdlPlanStatus::BadOutputBits},
        {{1}, 16, 16, 129, HdlPlanStatus::BadOutputBits},
        {{8}, 4, 16, 0, HdlPlanStatus::WordOutOfRange},
        {{-9}, 4, 16, 0, HdlPlanStatus::WordOutOfRange},
        {{-8, 7}, 4, 32, 128, HdlPlanStatus::Ok},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeHdlFilterPlan(c.words, c.w, c.w - 1, c.b, c.o).status, c.status) << c.w << " " << c.b;
}

TEST(HdlFilterPlan, WidestBoundsStayExact)
{
    // 1025 words of -2^31 and 32-bit inputs: y <= 1025 * 2^62, 74 bits.
    const HdlFilterPlan plan = MakeHdlFilterPlan(std::vector<long long>(1025, -2147483648LL), 32, 31, 32, 0);
    ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
    EXPECT_EQ(plan.outputMax, 1025 * TwoTo(62));
    EXPECT_EQ(plan.accumulatorBits, 74);
    EXPECT_EQ(HdlIntegerText(plan.outputMax), "4726978168888072601600");
    EXPECT_EQ(HdlIntegerText(-TwoTo(126) * 2), "-170141183460469231731687303715884105728");
    EXPECT_EQ(HdlIntegerText(0), "0");
    EXPECT_EQ(SignedBitsFor(-1, 0), 1);
    EXPECT_EQ(SignedBitsFor(0, 1), 2);
    EXPECT_EQ(SignedBitsFor(-129, 127), 9);
}

TEST(HdlFilterWriter, NamesBitPatternsAndComments)
{
    EXPECT_EQ(HdlFilterName("/tmp/out/lowpass"), "lowpass");
    EXPECT_EQ(HdlFilterName("dir/Signal"), "Signal_fir");
    EXPECT_EQ(HdlFilterName("module"), "module_fir");
    EXPECT_EQ(HdlFilterName("acc_3"), "acc_3_fir");
    EXPECT_EQ(HdlFilterName("x__y_"), "x_y");
    EXPECT_EQ(HdlFilterName("9taps"), "fir_9taps");
    EXPECT_EQ(HdlBitPattern(5, 4), "0101");
    EXPECT_EQ(HdlBitPattern(-1, 4), "1111");
    EXPECT_EQ(HdlBitPattern(-8, 4), "1000");
    EXPECT_EQ(HdlBitPattern(-TwoTo(70), 72), "11" + std::string(70, '0'));
    EXPECT_EQ(HdlComment({"a", "", "b"}, "--"), "-- a\n--\n-- b\n");
}
