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
    ASSERT_EQ(plan.products.size(), 3u);
    EXPECT_EQ(plan.products[0].taps, (std::vector<int>{0, 4}));
    EXPECT_EQ(plan.products[1].taps, (std::vector<int>{1, 3}));
    EXPECT_EQ(plan.products[2].taps, (std::vector<int>{2}));
    EXPECT_EQ(plan.products[0].productBits, 6);  // 3 * -8 = -24
    EXPECT_EQ(plan.products[1].productBits, 7);  // 5 * -8 = -40
    EXPECT_TRUE(plan.terms[3].subtract);
    EXPECT_FALSE(plan.terms[4].subtract);
    EXPECT_EQ(plan.multipliers, 3);
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
    EXPECT_EQ(HdlFilterDescription(plan).back(), "Resources: 3 multipliers, 4 adders, 66 register bits");
}

// Words equal in magnitude or apart by a power of two share one product,
// shifted and negated per tap; a power of two is the input itself.
TEST(HdlFilterPlan, WordsOfOneOddFactorShareAProduct)
{
    const HdlFilterPlan plan = MakeHdlFilterPlan({6, -3, 12, 5, -10, 1, -4, 0}, 5, 4, 8, 0);
    ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
    ASSERT_EQ(plan.products.size(), 3u);
    const struct {
        long long factor;
        std::vector<int> taps;
    } products[] = {{3, {0, 1, 2}}, {5, {3, 4}}, {1, {5, 6}}};
    for (size_t j = 0; j < 3; ++j) {
        EXPECT_EQ(plan.products[j].factor, products[j].factor);
        EXPECT_EQ(plan.products[j].taps, products[j].taps);
    }
    EXPECT_EQ(plan.multipliers, 2);
    const struct {
        int product, shift;
        bool subtract;
    } terms[] = {{0, 1, false}, {0, 0, true}, {0, 2, false}, {1, 0, false}, {1, 1, true}, {2, 0, false}, {2, 2, true},
                 {-1, 0, false}};
    for (size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(plan.terms[k].product, terms[k].product) << k;
        EXPECT_EQ(plan.terms[k].shift, terms[k].shift) << k;
        EXPECT_EQ(plan.terms[k].subtract, terms[k].subtract) << k;
    }
}

TEST(HdlFilterPlan, AntisymmetricWordsSubtractAndZeroWordsNeedNoProduct)
{
    // A Hilbert transformer's pattern: zero centre and every other word zero.
    const HdlFilterPlan odd = MakeHdlFilterPlan({-3, 0, -9, 0, 9, 0, 3}, 5, 4, 8, 0);
    ASSERT_EQ(odd.status, HdlPlanStatus::Ok);
    EXPECT_EQ(odd.symmetry, HdlSymmetry::Antisymmetric);
    ASSERT_EQ(odd.products.size(), 2u);
    EXPECT_TRUE(odd.terms[0].subtract);
    EXPECT_FALSE(odd.terms[6].subtract);
    EXPECT_EQ(odd.terms[3].product, -1);
    // Three chain adders; the last term adds.
    EXPECT_EQ(odd.adders, 3);

    const HdlFilterPlan none = MakeHdlFilterPlan({1, 2, 3}, 4, 3, 8, 0);
    EXPECT_EQ(none.symmetry, HdlSymmetry::None);
    EXPECT_EQ(none.products.size(), 2u);  // 1 and 2 are x shifted
    EXPECT_EQ(none.multipliers, 1);
}

// Leading zero words delay the input, narrow, in place of the chain;
// trailing ones end it.
TEST(HdlFilterPlan, TheChainRunsFromTheFirstToTheLastNonzeroWord)
{
    const HdlFilterPlan plan = MakeHdlFilterPlan({0, 5, 0, 7, 0, 0}, 4, 3, 6, 0);
    ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
    EXPECT_EQ(plan.firstTap, 1);
    EXPECT_EQ(plan.chainLength, 4);
    EXPECT_EQ(plan.products.size(), 2u);
    EXPECT_EQ(plan.chainBits[1], plan.accumulatorBits);
    const auto lines = HdlFilterDescription(plan);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  b[0..0] are zero: the input is delayed 1 sample in place of the chain"),
              lines.end());
    const HdlFilterPlan zeros = MakeHdlFilterPlan({0, 0, 0}, 4, 3, 6, 0);
    ASSERT_EQ(zeros.status, HdlPlanStatus::Ok);
    EXPECT_EQ(zeros.chainLength, 1);
    EXPECT_TRUE(zeros.products.empty());
    EXPECT_EQ(zeros.accumulatorBits, 1);
}

// Folded: the products (a linear-phase pair, or any words of one odd
// factor, one product) in units of F, the tree's last level y itself;
// latency F + 3 + tree levels.
TEST(HdlFilterPlan, FoldedFiltersTakeTheirProductsInTurns)
{
    HdlFilterOptions options;
    options.architecture = HdlArchitecture::Folded;
    const struct {
        std::vector<long long> words;
        int clocks;
        size_t units, levels;
        int operandBits;  // of the first unit
    } cases[] = {
        // Odd factors 1 (taps 0, 1, 3, 7, 11, 13, 14: sum 2 * (1 + 2 + 4) + 8 = 22 in [-2816, 2794]), 3, 5, 7.
        {{1, 2, 3, 4, 5, 6, 7, 8, 7, 6, 5, 4, 3, 2, 1}, 3, 2, 1, 13},
        // 3 and 9, each an antisymmetric pair: x[n] - x[n-6] in [-255, 255].
        {{-3, 0, -9, 0, 9, 0, 3}, 2, 1, 1, 9},
        // 5 alone, x[n] in 8 bits; -1 and 2 share 1 in the second unit.
        {{5, -1, 0, 2}, 1, 2, 1, 8},
        {{0, 0}, 4, 1, 1, 8},
        // 1 with shifts 1, 3, 1: the pre-adder sums x[n] + 4 x[n-2] + x[n-4] in [-768, 762], the word is 2.
        {{2, 0, 8, 0, 2}, 1, 1, 1, 11},
    };
    for (const auto& c : cases) {
        options.clocksPerSample = c.clocks;
        const HdlFilterPlan plan = MakeHdlFilterPlan(c.words, 5, 4, 8, 0, options);
        ASSERT_EQ(plan.status, HdlPlanStatus::Ok);
        ASSERT_EQ(plan.folded.units.size(), c.units);
        EXPECT_EQ(plan.multipliers, static_cast<int>(c.units));
        ASSERT_EQ(plan.folded.treeBits.size(), c.levels);
        EXPECT_EQ(plan.folded.treeBits.back(), std::vector<int>{plan.accumulatorBits});
        EXPECT_EQ(plan.folded.units[0].operandBits, c.operandBits);
        EXPECT_EQ(plan.latency, c.clocks + 3 + static_cast<int>(c.levels));
        size_t slots = 0;
        for (const HdlFoldedUnit& unit : plan.folded.units)
            slots += unit.slots.size();
        EXPECT_EQ(slots, plan.products.size());
    }
    options.clocksPerSample = 4;
    const auto lines = HdlFilterDescription(MakeHdlFilterPlan(cases[0].words, 5, 4, 8, 0, options));
    EXPECT_EQ(lines[1], "  1 multiply-accumulate unit takes the 4 distinct odd factors of |b[k]| in turn, at most 4 each");
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
    HdlFilterOptions folded;
    folded.architecture = HdlArchitecture::Folded;
    for (int clocks : {0, 1025}) {
        folded.clocksPerSample = clocks;
        EXPECT_EQ(MakeHdlFilterPlan({1}, 16, 15, 16, 0, folded).status, HdlPlanStatus::BadClocks) << clocks;
    }
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

// Keywords of either language (SystemVerilog's too), names the IEEE
// libraries declare and the files' own names take "_fir"; others stay.
TEST(HdlFilterWriter, NamesBitPatternsAndComments)
{
    const struct {
        const char* root;
        const char* name;
    } names[] = {{"/tmp/out/lowpass", "lowpass"}, {"dir/Signal", "Signal_fir"}, {"module", "module_fir"},
                 {"acc_3", "acc_3_fir"},          {"x__y_", "x_y_fir"},         {"9taps", "fir_9taps"},
                 {"std_logic", "std_logic_fir"},  {"Resize", "Resize_fir"},     {"rising_edge", "rising_edge_fir"},
                 {"logic", "logic_fir"},          {"bit", "bit_fir"},           {"int", "int_fir"},
                 {"in_ready", "in_ready_fir"},    {"fund_2", "fund_2_fir"},     {"lowpass_tb", "lowpass_tb"}};
    for (const auto& n : names)
        EXPECT_EQ(HdlFilterName(n.root), n.name) << n.root;
    EXPECT_EQ(HdlStringText("a\"b\\c\n\x85", false), "a\\\"b\\\\c?\x85");
    EXPECT_EQ(HdlStringText("a\"b\\c\n\x85", true), "a\"\"b\\c??");
    EXPECT_EQ(HdlBitPattern(5, 4), "0101");
    EXPECT_EQ(HdlBitPattern(-1, 4), "1111");
    EXPECT_EQ(HdlBitPattern(-8, 4), "1000");
    EXPECT_EQ(HdlBitPattern(-TwoTo(70), 72), "11" + std::string(70, '0'));
    EXPECT_EQ(HdlComment({"a", "", "b"}, "--"), "-- a\n--\n-- b\n");
}
