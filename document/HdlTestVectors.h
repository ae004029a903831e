#pragma once

#include <string>
#include <vector>

#include "document/HdlFilterPlan.h"

// The stimulus the FPGA filters' testbenches drive and the outputs the
// integer model expects, written beside them as text files.
//
// Stimulus file: one line a sample, "x" or "x idle" (idle: clocks with
// in_valid low after it); "reset" pulses rst for one clock; blank lines and
// lines whose first other character is "#" are skipped.
// Expected file: one output a line, decimal; "reset" where the stimulus
// resets (the outputs still in flight then are not compared); comments as
// above.

struct HdlStimulusLine {
    bool reset = false;
    long long sample = 0;
    int idle = 0;
    std::string comment;  // a "#" line before this one when not empty
};

// An impulse of 1 and one of full negative scale, full-scale steps up and
// down, the inputs that reach the largest and smallest y (each tap's sample
// at the end of its word's sign), uniform random samples with random idle
// clocks, a reset in the middle of them and more random samples after it.
// The same plan always gives the same stimulus.
std::vector<HdlStimulusLine> MakeHdlStimulus(const HdlFilterPlan& plan);

// The model's output for y: y itself, or shifted right by S, rounded half
// away from zero and saturated to O bits.
HdlInteger HdlOutputOf(const HdlFilterPlan& plan, HdlInteger y);
// The outputs of the integer model, one list a reset-free segment:
// out[n] = HdlOutputOf(sum_k b[k] * x[n-k]) over the segment's samples.
std::vector<std::vector<HdlInteger>> HdlModelOutputs(const HdlFilterPlan& plan,
                                                     const std::vector<HdlStimulusLine>& stimulus);

// The files' texts, each opening with the comment lines given.
std::string HdlStimulusText(const std::vector<HdlStimulusLine>& stimulus, const std::vector<std::string>& comment);
std::string HdlExpectedText(const HdlFilterPlan& plan, const std::vector<HdlStimulusLine>& stimulus,
                            const std::vector<std::string>& comment);
