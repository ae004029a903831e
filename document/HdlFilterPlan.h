#pragma once

#include <string>
#include <vector>

// The plan of a synthesizable FIR filter over fixed-point words: what the
// vhdl-fir and verilog-fir profiles write, worked out once so that both
// languages, the header comment and the tests share it.
//
// Structure: transposed direct form, folded. Every input sample is
// multiplied once by each distinct word; the products feed a chain of
// registers r[k] = b[k] * x[n] + r[k+1] (r[0] is y[n]). For linear-phase
// words (b[k] = b[N-1-k], or b[k] = -b[N-1-k]) tap k and its mirror N-1-k
// share one multiplier: the transposed counterpart of a symmetric
// pre-adder, the mirror's chain adder subtracting for antisymmetric words.
// N taps need at most ceil(N/2) multipliers; a zero word needs none.
//
// Arithmetic, all in integers (x the B-bit input words, b the W-bit
// coefficient words):
//   y[n] = sum_{k=0}^{N-1} b[k] * x[n-k]
// With P the sum of the positive words and Q the sum of the magnitudes of
// the negative ones (L1 = P + Q = sum |b[k]|), every input keeps
//   -(P * 2^(B-1) + Q * (2^(B-1) - 1)) <= y <= P * (2^(B-1) - 1) + Q * 2^(B-1)
// (so |y| <= L1 * 2^(B-1)), reached by the inputs that follow the signs of
// the words; the accumulator is the fewest bits A that hold that range,
// so no input overflows it. Each chain register r[k] is as wide as the
// same bound over the words b[k..N-1] it sums.
//
// Output: O bits. O >= A (the default O = A) is y itself, exact. O < A
// shifts right by S = A - O bits, rounded half away from zero and
// saturated to O bits:
//   out = clamp(floor((y + 2^(S-1) - [y < 0]) / 2^S), -2^(O-1), 2^(O-1) - 1)
//
// Timing: one sample a clock at most, taken when in_valid is high; the
// result leaves `latency` clocks later with out_valid high (an input in
// clock cycle c gives out_valid in cycle c + latency): the input register,
// the product registers, the chain, and the rounding register when there
// is one. Gaps between samples change nothing but when results leave.

// A signed integer wide enough for any bound here: words of 32 bits,
// inputs of 32 bits and 1025 taps need 74 bits.
__extension__ typedef __int128 HdlInteger;

enum class HdlSymmetry { None, Symmetric, Antisymmetric };

enum class HdlPlanStatus { Ok, NoWords, BadWordLength, BadInputBits, BadOutputBits, WordOutOfRange };

inline constexpr int kMinHdlInputBits = 2;
inline constexpr int kMaxHdlInputBits = 32;
inline constexpr int kDefaultHdlInputBits = 16;
inline constexpr int kMinHdlOutputBits = 2;
inline constexpr int kMaxHdlOutputBits = 128;

// One multiplier: the word it multiplies by and the taps that use it.
struct HdlMultiplier {
    long long word = 0;
    int tap = 0;          // the first tap of the word
    int mirror = -1;      // N-1-tap when folded, else -1
    bool subtract = false;  // the mirror adds -product (antisymmetric words)
    int productBits = 0;  // bits of word * x over every B-bit input
};

// What tap k adds into its chain register.
struct HdlChainTerm {
    int multiplier = -1;  // index into multipliers; -1 for a zero word
    bool subtract = false;
};

struct HdlFilterPlan {
    HdlPlanStatus status = HdlPlanStatus::NoWords;
    int taps = 0;
    int wordLength = 0;       // W, 2..32
    int fractionLength = 0;   // of the words: tap value = word * 2^-fractionLength
    int inputBits = 0;        // B
    std::vector<long long> words;  // natural order, b[0] meets the newest sample
    HdlSymmetry symmetry = HdlSymmetry::None;
    std::vector<HdlMultiplier> multipliers;
    std::vector<HdlChainTerm> terms;  // one per tap
    int chainLength = 0;              // registers r[0..chainLength-1]: the taps up to the last nonzero word
    std::vector<int> chainBits;       // width of r[k]
    HdlInteger sumPositive = 0;       // P
    HdlInteger sumNegative = 0;       // Q
    HdlInteger outputMax = 0;         // the largest y any input gives
    HdlInteger outputMin = 0;         // the smallest
    int accumulatorBits = 0;          // A
    int outputBits = 0;               // O
    int shift = 0;                    // S = A - O when rounded, else 0
    bool rounded = false;             // O < A
    int latency = 0;                  // clocks from in_valid to out_valid
    int shiftMultipliers = 0;         // of the multipliers, those by +-2^m: wiring, no multiplier in hardware
    int adders = 0;                   // chain adders and subtractors, plus the rounding adder
    int registerBits = 0;             // flip-flops, valid flags included
};

// Plans the filter for the words (W-bit two's complement each), B-bit
// inputs and O output bits (0: the accumulator width). The status names
// the first argument out of range: no words, W outside 2..32, B outside
// 2..32, O neither 0 nor in 2..128, a word outside W bits.
HdlFilterPlan MakeHdlFilterPlan(const std::vector<long long>& words, int wordLength, int fractionLength,
                                int inputBits, int outputBits);

// The fewest bits of a two's complement integer that hold lo..hi (at least 1).
int SignedBitsFor(HdlInteger lo, HdlInteger hi);
// Decimal text of an integer of any width here.
std::string HdlIntegerText(HdlInteger v);

// The description both languages' headers carry, one line per entry
// without comment markers: structure, formats, the accumulator bound,
// output formula, latency and resource counts.
std::vector<std::string> HdlFilterDescription(const HdlFilterPlan& plan);
