#pragma once

#include <iosfwd>

// zantro-cli as a library: parses argv, drives the core through a scripted
// host and writes the result. Returns the exit status.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
