#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/CZantroDoc.h"
#include "form/CZantroView.h"
#include "platform/ScriptedHost.h"

// One fresh program for one fuzz input: a new document and the main form on
// a scripted host, started as zantro-cli starts it. The checks end the
// process with a message on stderr (libFuzzer then keeps the input) when an
// invariant breaks.
class FuzzSession {
public:
    FuzzSession();
    FuzzSession(const FuzzSession&) = delete;
    FuzzSession& operator=(const FuzzSession&) = delete;

    // The document's parameter set as a saved ".fir" file holds it.
    std::string DocumentBytes();
    // Designs what the form holds with Design, no form involved: a refused
    // request designs nothing; a valid design has finite taps, gain and peak.
    void DesignAndCheck();

    // Writes data to this process's scratch file (one per target name) and
    // returns its path.
    static std::string ScratchFile(const char* name, const std::uint8_t* data, std::size_t size);
    // Ends the process when condition is false.
    static void Require(bool condition, const char* what);

    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;
};
