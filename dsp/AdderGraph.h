#pragma once

#include <vector>

// Multiplierless multiplication of one input by many constants: a graph of
// adders over shifts of the input, each node an odd multiple of it (a
// fundamental). A filter's product by a word w is then fundamental(odd
// part of |w|) shifted left by the word's trailing zero bits, negated for a
// negative word; zero and powers of two need no adder at all.
//
// The graph is built after the RAG-n algorithm (A. G. Dempster and M. D.
// Macleod, "Use of minimum-adder multiplier blocks in FIR digital filters",
// IEEE Trans. Circuits Syst. II 42(9), 1995): the optimal part adds every
// target one adder away from what is built; otherwise a target two adders
// away is built through the one successor that brings the most targets to
// one adder (the distance tests and the benefit of Y. Voronenko and M.
// Pueschel, "Multiplierless multiple constant multiplication", ACM Trans.
// Algorithms 3(2), 2007, Hcub, counted on distance-2 targets only);
// otherwise the target cheapest in canonical signed digits beside one built
// fundamental is built digit by digit.

// One adder: value = ((+-left << leftShift) + (+-right << rightShift)) >> postShift,
// the operands fundamentals built earlier (-1 is the input itself, value 1)
// and at most one of them negated. Either postShift is 0 and one operand
// shift is 0, or both operand shifts are 0 and the sum is even.
struct AdderNode {
    long long value = 0;  // odd, > 1
    int left = -1, right = -1;
    int leftShift = 0, rightShift = 0;
    bool negateLeft = false, negateRight = false;
    int postShift = 0;
    int depth = 1;  // adders on the longest path from the input
};

struct AdderGraph {
    std::vector<AdderNode> nodes;  // each operand is an earlier node or the input
    int depth = 0;                 // the largest node depth, 0 without nodes
};

// The odd part of |v| (0 for 0).
long long OddPart(long long v);
// Nonzero digits of v in canonical signed digits (the non-adjacent form).
int CsdDigits(long long v);
// The adders the constants need realised one by one in canonical signed
// digits, each distinct odd magnitude once: sum of (digits - 1).
int CsdAdders(const std::vector<long long>& constants);

// A graph that holds the odd part of every constant's magnitude that is
// neither 0 nor a power of two. |constant| < 2^40.
AdderGraph MakeAdderGraph(const std::vector<long long>& constants);
// The node of an odd value, or -1 for 1 and values the graph does not hold.
int AdderNodeOf(const AdderGraph& graph, long long oddValue);
// Every node's value recomputed from its operands equals its value.
bool AdderGraphConsistent(const AdderGraph& graph);
