#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

// Debian's python3, which has numpy and scipy when python3-scipy is
// installed (another python3 may come first on PATH).
inline constexpr const char* kPython = "/usr/bin/python3";

// Whether kPython imports scipy.signal and scipy.optimize; asked once per
// test program, since a Python start costs about half a second.
inline bool HaveScipy()
{
    static const std::string command = std::string(kPython) + " -c \"import scipy.signal, scipy.optimize\" >/dev/null 2>&1";
    static const bool have = std::system(command.c_str()) == 0;
    return have;
}

// Runs tests/dsp/SCRIPT MODE IN OUT on the input text in a folder of this
// process's own and returns its output lines as numbers (a line "error"
// gives an empty row). nullopt when Debian's python3 with numpy and scipy
// is missing (the caller skips).
inline std::optional<std::vector<std::vector<double>>> RunReferenceScript(const std::string& script,
                                                                          const std::string& mode,
                                                                          const std::string& input,
                                                                          const std::string& sourceDir)
{
    const std::string python = kPython;
    if (!HaveScipy())
        return std::nullopt;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("zantro-" + script + "-" + mode + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(static_cast<long>(::getpid())));
    std::filesystem::create_directories(dir);
    {
        std::ofstream in(dir / "in.txt");
        in << input;
    }
    const std::string cmd = python + " " + sourceDir + "/tests/dsp/" + script + " " + mode + " " +
                            (dir / "in.txt").string() + " " + (dir / "out.txt").string();
    const int status = std::system(cmd.c_str());
    std::vector<std::vector<double>> rows;
    std::ifstream out(dir / "out.txt");
    for (std::string line; std::getline(out, line);) {
        std::istringstream values(line);
        std::vector<double> row;
        for (double v; values >> v;)
            row.push_back(v);
        rows.push_back(row);
    }
    std::filesystem::remove_all(dir);
    if (status != 0)
        return std::vector<std::vector<double>>{};
    return rows;
}

// tests/dsp/methods_reference.py MODE, as RunReferenceScript.
inline std::optional<std::vector<std::vector<double>>> RunMethodsReference(const std::string& mode,
                                                                           const std::string& input,
                                                                           const std::string& sourceDir)
{
    return RunReferenceScript("methods_reference.py", mode, input, sourceDir);
}
