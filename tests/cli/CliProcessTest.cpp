#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "TestPaths.h"

namespace {

struct ProcessRun {
    int status = -1;
    std::string out;
};

// Runs the built zantro-cli through the shell with stdin closed.
ProcessRun RunProcess(const std::string& args)
{
    ProcessRun r;
    const std::string command = std::string("'") + TestCliPath() + "' " + args + " </dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

}  // namespace

TEST(CliProcess, ExitStatusesAndStreamsOfTheProgram)
{
    ProcessRun ok = RunProcess("--json --taps 8 2>/dev/null");
    EXPECT_EQ(ok.status, 0);
    const nlohmann::json j = nlohmann::json::parse(ok.out);
    EXPECT_EQ(j["coefficients"].size(), 8u);

    ProcessRun refused = RunProcess("--taps 2000 2>&1 >/dev/null");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "Please enter an integer between 4 and 1025.\n");

    ProcessRun usage = RunProcess("--taps many 2>&1 >/dev/null");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.out.find("Usage: zantro-cli"), std::string::npos);

    EXPECT_EQ(RunProcess("--help >/dev/null").status, 0);
}
