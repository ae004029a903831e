#pragma once

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

// One in-process zantro-cli run with its exit status and both streams.
struct CliResult {
    int status = -1;
    std::string out, err;
    nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

inline CliResult RunCliArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "zantro-cli");
    std::vector<const char*> argv;
    for (const auto& a : args)
        argv.push_back(a.c_str());
    std::ostringstream out, err;
    CliResult r;
    r.status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The same, under the short name the option tables use.
inline CliResult Cli(std::vector<std::string> args)
{
    return RunCliArgs(std::move(args));
}

// A file's whole content, byte for byte ("" when it cannot be read).
inline std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
