#include <gtest/gtest.h>

#include <random>
#include <set>

#include "dsp/AdderGraph.h"

namespace {

// Every odd part above 1 of the constants is a node of the graph.
bool HoldsEveryConstant(const AdderGraph& g, const std::vector<long long>& constants)
{
    for (long long c : constants)
        if (OddPart(c) > 1 && AdderNodeOf(g, OddPart(c)) < 0)
            return false;
    return true;
}

}  // namespace

// Digits of the non-adjacent form, worked by hand: 11 = 16 - 4 - 1,
// 0x5555 has no adjacent ones, 2^40 - 1 = 2^40 - 1.
TEST(AdderGraph, CanonicalSignedDigits)
{
    const struct {
        long long v;
        int digits;
    } cases[] = {{0, 0}, {1, 1}, {3, 2}, {7, 2}, {11, 3}, {45, 4}, {-7, 2}, {0x5555, 8}, {(1LL << 40) - 1, 2},
                 {-(1LL << 31), 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CsdDigits(c.v), c.digits) << c.v;
    EXPECT_EQ(OddPart(-24), 3);
    EXPECT_EQ(OddPart(0), 0);
    // 3 and 6 and -12 share one odd part; 8 and 0 need no adder: 45 takes 3, 3 one.
    EXPECT_EQ(CsdAdders({3, 6, -12, 8, 0, 45}), 4);
}

// Constants one adder from the input each take one node; 45 = 5 * 9 takes
// two where its four signed digits take three.
TEST(AdderGraph, SmallSetsTakeTheFewestAdders)
{
    const struct {
        std::vector<long long> constants;
        size_t nodes;
    } cases[] = {{{3, 5, 7, 9, 15, 17, -33, 63}, 8}, {{45}, 2}, {{1, 2, -64, 0}, 0}, {{3, 6, 12, -24}, 1}};
    for (const auto& c : cases) {
        const AdderGraph g = MakeAdderGraph(c.constants);
        EXPECT_EQ(g.nodes.size(), c.nodes) << ::testing::PrintToString(c.constants);
        EXPECT_TRUE(AdderGraphConsistent(g));
        EXPECT_TRUE(HoldsEveryConstant(g, c.constants));
    }
}

// Random sets of 2 to 20-bit constants: the graph holds them all, every
// node is what its operands make, and it never needs more adders than the
// constants in signed digits one by one; 32-bit constants finish too.
TEST(AdderGraph, RandomSetsAreHeldAndNeverCostMoreThanSignedDigits)
{
    std::mt19937_64 random(5);
    for (int trial = 0; trial < 150; ++trial) {
        const int n = 1 + static_cast<int>(random() % 40), bits = 2 + static_cast<int>(random() % 19);
        std::vector<long long> constants;
        for (int i = 0; i < n; ++i)
            constants.push_back(static_cast<long long>(random() % (1ULL << bits)) - (1LL << (bits - 1)));
        const AdderGraph g = MakeAdderGraph(constants);
        ASSERT_TRUE(AdderGraphConsistent(g)) << trial;
        ASSERT_TRUE(HoldsEveryConstant(g, constants)) << trial;
        EXPECT_LE(static_cast<int>(g.nodes.size()), CsdAdders(constants)) << trial;
        for (const AdderNode& node : g.nodes)
            EXPECT_LE(node.depth, g.depth);
    }
    std::vector<long long> wide;
    for (int i = 0; i < 40; ++i)
        wide.push_back(static_cast<long long>(random() % (1ULL << 32)) - (1LL << 31));
    const AdderGraph g = MakeAdderGraph(wide);
    EXPECT_TRUE(AdderGraphConsistent(g));
    EXPECT_TRUE(HoldsEveryConstant(g, wide));
}
