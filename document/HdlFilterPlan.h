#pragma once

#include <string>
#include <vector>

#include "dsp/AdderGraph.h"

// The plan of a synthesizable FIR filter over fixed-point words: what the
// vhdl-fir and verilog-fir profiles write, worked out once so that both
// languages, the header comment and the tests share it.
//
// Arithmetic, all in integers (x the B-bit input words, b the W-bit
// coefficient words), the same in every architecture:
//   y[n] = sum_{k=0}^{N-1} b[k] * x[n-k]
// With P the sum of the positive words and Q the sum of the magnitudes of
// the negative ones (L1 = P + Q = sum |b[k]|), every input keeps
//   -(P * 2^(B-1) + Q * (2^(B-1) - 1)) <= y <= P * (2^(B-1) - 1) + Q * 2^(B-1)
// (so |y| <= L1 * 2^(B-1)), reached by the inputs that follow the signs of
// the words; the accumulator is the fewest bits A that hold that range,
// so no input overflows it, and every partial sum is sized by the same
// bound over the words it sums.
//
// Output: O bits. O >= A (the default O = A) is y itself, exact. O < A
// shifts right by S = A - O bits, rounded half away from zero and
// saturated to O bits:
//   out = clamp(floor((y + 2^(S-1) - [y < 0]) / 2^S), -2^(O-1), 2^(O-1) - 1)
//
// Architectures:
// - Parallel: transposed direct form, one sample a clock. Every input
//   sample is multiplied once by each distinct odd factor of the words'
//   magnitudes (so tap k and its mirror, and any words equal in magnitude
//   or apart by a power of two, share one multiplier; a power of two needs
//   none); the products, shifted and added or subtracted, feed a chain of
//   registers r[k] = b[k] * x[n] + r[k+1] (r[first] is y[n]). Leading zero
//   words delay the narrow input instead of the wide chain. With pipeline
//   every product takes a second register.
// - Multiplierless: the parallel filter with the odd factors made by a
//   graph of adders over shifts of the input (dsp/AdderGraph.h); with
//   pipeline every level of the graph is a register stage.
// - Folded: direct form over a delay line of the last samples, F clocks a
//   sample: each of ceil(U / F) multiply-accumulate units takes F of the U
//   products in turn, a pre-adder summing the samples of the product's
//   taps (a linear-phase pair, equal magnitudes, magnitudes apart by a
//   power of two), shifted and added or subtracted, before the multiplier
//   by its odd factor; a registered adder tree sums the units. in_ready is
//   high when a sample may be taken (one every F clocks at most).
//
// Timing: a sample is taken in a clock cycle with in_valid high (and
// in_ready high when folded); its result leaves `latency` clocks later
// with out_valid high for one clock (taken in cycle c, out_valid in cycle
// c + latency). Gaps between samples change nothing but when results leave.

// A signed integer wide enough for any bound here: words of 32 bits,
// inputs of 32 bits and 1025 taps need 74 bits.
__extension__ typedef __int128 HdlInteger;

enum class HdlSymmetry { None, Symmetric, Antisymmetric };

enum class HdlArchitecture { Parallel, Folded, Multiplierless };
inline constexpr int kHdlArchitectureCount = 3;

enum class HdlPlanStatus { Ok, NoWords, BadWordLength, BadInputBits, BadOutputBits, WordOutOfRange, BadClocks };

inline constexpr int kMinHdlInputBits = 2;
inline constexpr int kMaxHdlInputBits = 32;
inline constexpr int kDefaultHdlInputBits = 16;
inline constexpr int kMinHdlOutputBits = 2;
inline constexpr int kMaxHdlOutputBits = 128;
inline constexpr int kMinHdlClocksPerSample = 1;
inline constexpr int kMaxHdlClocksPerSample = 1024;
inline constexpr int kDefaultHdlClocksPerSample = 4;

// "parallel", "folded", "multiplierless".
const char* HdlArchitectureName(HdlArchitecture a);
// Case-insensitive; false for another text.
bool ParseHdlArchitecture(const std::string& text, HdlArchitecture& a);

struct HdlFilterOptions {
    HdlArchitecture architecture = HdlArchitecture::Parallel;
    int clocksPerSample = kDefaultHdlClocksPerSample;  // folded: F, 1..1024
    bool pipeline = false;                             // parallel and multiplierless
};

// Parallel and multiplierless: one register of factor * x, shared by the taps
// whose words are +-factor * 2^m.
struct HdlProduct {
    long long factor = 1;   // odd, > 0; 1 is x itself (no multiplier)
    int productBits = 0;    // bits of factor * x over every B-bit input
    int node = -1;          // multiplierless: the adder-graph node of factor, -1 for x
    std::vector<int> taps;  // the taps that use it, ascending
};

// What tap k adds into its chain register: +-(product << shift).
struct HdlChainTerm {
    int product = -1;  // index into products; -1 for a zero word
    int shift = 0;
    bool subtract = false;
};

// Folded: a unit takes one product (an odd factor of the words) a clock:
// a pre-adder sums the samples of its taps, each shifted and added or
// subtracted as the tap's term says less the smallest shift among them, and
// the sum is multiplied by factor << that smallest shift (HdlFoldedWord).
struct HdlFoldedUnit {
    std::vector<int> slots;   // the products it takes in clocks 0, 1, ...; at most F
    int operandBits = 0;      // the widest pre-adder sum
    int wordBits = 0;         // the widest of its factors
    int productBits = 0;
    int accumulatorBits = 0;  // the bound over its products' taps
};

struct HdlFoldedPlan {
    int clocks = 1;        // F
    int delayLength = 1;   // samples the delay line holds: the last nonzero tap + 1
    int phaseBits = 0;     // the clock counter's width (0 when F = 1)
    std::vector<HdlFoldedUnit> units;
    // The adder tree: level l (1 ..) sums pairs of level l-1 (level 0 the
    // units' accumulators, an odd one carried); the last level is y.
    std::vector<std::vector<int>> treeBits;
};

struct HdlGraphPlan {
    AdderGraph graph;
    std::vector<int> nodeBits;  // bits of node.value * x
    // Pipelined: the value of the input ([0]) and of node i ([i + 1]) is
    // held in a register at every level from its depth up to this one (the
    // input's level 0 is its own register); the products take level depth.
    std::vector<int> lastLevel;
    int csdAdders = 0;          // the same odd factors in canonical signed digits, each alone
};

struct HdlFilterPlan {
    HdlPlanStatus status = HdlPlanStatus::NoWords;
    HdlFilterOptions options;
    int taps = 0;
    int wordLength = 0;       // W, 2..32
    int fractionLength = 0;   // of the words: tap value = word * 2^-fractionLength
    int inputBits = 0;        // B
    std::vector<long long> words;  // natural order, b[0] meets the newest sample
    HdlSymmetry symmetry = HdlSymmetry::None;
    HdlInteger sumPositive = 0;       // P
    HdlInteger sumNegative = 0;       // Q
    HdlInteger outputMax = 0;         // the largest y any input gives
    HdlInteger outputMin = 0;         // the smallest
    int accumulatorBits = 0;          // A
    int outputBits = 0;               // O
    int shift = 0;                    // S = A - O when rounded, else 0
    bool rounded = false;             // O < A
    int latency = 0;                  // clocks from a sample taken to out_valid
    int multipliers = 0;              // hardware multipliers
    int adders = 0;                   // adders and subtractors, the rounding adder included
    int registerBits = 0;             // flip-flops, valid flags and counters included

    // Every architecture: the products and what each tap takes of them.
    std::vector<HdlProduct> products;
    std::vector<HdlChainTerm> terms;  // one per tap

    // Parallel and multiplierless.
    int firstTap = 0;                 // leading zero words: the input is delayed by as many samples
    int chainLength = 0;              // registers r[firstTap..chainLength-1]: up to the last nonzero word
    std::vector<int> chainBits;       // width of r[k] (index k; 0 below firstTap)
    int productStages = 1;            // register stages from x to the products
    HdlGraphPlan graph;               // multiplierless

    HdlFoldedPlan folded;             // folded
};

// Plans the filter for the words (W-bit two's complement each), B-bit
// inputs, O output bits (0: the accumulator width) and the architecture.
// The status names the first argument out of range: no words, W outside
// 2..32, B outside 2..32, O neither 0 nor in 2..128, a word outside W bits,
// F outside 1..1024.
HdlFilterPlan MakeHdlFilterPlan(const std::vector<long long>& words, int wordLength, int fractionLength,
                                int inputBits, int outputBits, const HdlFilterOptions& options = {});

// The range lo..hi of sum b[j] * x[j] over independent B-bit inputs x[j],
// for words whose positive ones sum to p and negative ones to -q.
void HdlRangeOf(HdlInteger p, HdlInteger q, int inputBits, HdlInteger& lo, HdlInteger& hi);
// The products and terms of a plan whose words are set.
void GroupHdlProducts(HdlFilterPlan& plan);
// The folded architecture's part of a plan whose products are grouped.
void PlanFoldedFilter(HdlFilterPlan& plan);
// The smallest shift among the terms of a product's taps: the folded unit
// multiplies by the word factor << it (at most the largest |b[k]|) and its
// pre-adder shifts each sample by the rest, which keeps the operand narrow.
int HdlFoldedShift(const HdlFilterPlan& plan, const HdlProduct& product);

// The fewest bits of a two's complement integer that hold lo..hi (at least 1).
int SignedBitsFor(HdlInteger lo, HdlInteger hi);
// Decimal text of an integer of any width here.
std::string HdlIntegerText(HdlInteger v);

// The description both languages' headers carry, one line per entry
// without comment markers: structure, formats, the accumulator bound,
// output formula, latency and resource counts.
std::vector<std::string> HdlFilterDescription(const HdlFilterPlan& plan);
