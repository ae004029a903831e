#pragma once

#include <span>

#include "document/ExportWriters.h"

// Everything that sets one export profile apart, as one row of a table in
// the order of ExportProfile (checked when compiling). A new profile is an
// enumerator, a row and its writer; the command, the command line and the
// dialog read the rest from here.

enum class ExportFamily {
    Cmsis,   // CMSIS-DSP arrays: <root>.h and <root>.c, time-reversed
    PlainC,  // plain C arrays: <root>.h and <root>.c, natural order
    Data,    // one data file for tools: csv, json
    Hdl,     // for an FPGA flow: coe, vhdl, verilog, and the filters vhdl-fir, verilog-fir (with a testbench)
    // A rate change's lowpass: CMSIS-DSP decimator and interpolator arrays
    // or plain C polyphase arrays, <root>.h and <root>.c (MultirateExport.h)
    Multirate,
};

// What the file's numbers are.
enum class ExportNumbers {
    Single,    // float, 9 significant digits
    Double,    // double, 17 significant digits
    Shortest,  // double, shortest text that reads back the same
    Words,     // two's complement integers of the quantised taps
};

// How the taps are quantised (for the words, or for json's quantised figures).
enum class ExportWordRule {
    None,    // not at all
    Fixed,   // the profile's own word of wordBits bits, wordBits - 1 fraction bits
    Chosen,  // the user's word length, the largest fraction that holds the peak tap
};

// The options of ExportOptions that apply to a profile, as bits.
enum ExportOptionBits : unsigned {
    kExportTakesWordLength = 1u,
    kExportTakesRounding = 2u,
    kExportTakesBlock = 4u,
    kExportTakesHelium = 8u,
    kExportTakesFilterOptions = 16u,  // input and output bits, testbench
};

// How CMSIS-DSP wants the array padded with zeros.
struct ExportPadding {
    bool evenCount = false;  // the tap count made even by one zero tap after the last
    int minCount = 0;        // and at least this many
    int heliumMultiple = 0;  // --helium pads the array to a multiple of this (0: no Helium)
};

// Writes the files of one export in writing order (their paths from the root).
using ExportWriter = std::vector<ExportFile> (*)(const ExportDesign&, const ExportOptions&, const ExportWords&);

struct ExportProfileTraits {
    ExportProfile profile;
    const char* name;           // as the command line and the dialog list it
    const char* extension;      // of the one file, or ".h" of a C family (beside ".c")
    ExportFamily family;
    ExportNumbers numbers;
    ExportWordRule wordRule;
    int wordBits;               // ExportWordRule::Fixed: the word's bits; else 0
    unsigned options;           // ExportOptionBits that apply
    ExportPadding padding;
    const char* cType;          // element type of a C array; nullptr: <stdint.h> by word length
    const char* cmsisSuffix;    // arm_fir_<suffix> of a CMSIS profile; else nullptr
    // The CMSIS state buffer length in words for block_size samples a call,
    // NUM_TAPS standing for the tap-count macro, and its comment.
    const char* stateLength;
    const char* stateComment;
    const char* commentMarker;  // starts a comment line of the one file ("" for none)
    const char* target;         // what the summary says the file is for
    ExportWriter writer;
    // What the target does when an output exceeds its range (the headroom
    // line of the summary); nullptr: the writer states no headroom.
    const char* overflow = nullptr;
};

const ExportProfileTraits& TraitsOf(ExportProfile p);
// Every profile, in the order of ExportProfile.
std::span<const ExportProfileTraits> AllExportProfileTraits();
