#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DocumentTestSupport.h"
#include "ViewFixture.h"
#include "document/ExportWriters.h"
#include "form/ExportCommand.h"

// Designs of the four linear-phase FIR types, made on the form as a user makes them.
struct ExportCase {
    const char* name;
    int type, method, window, taps, fs, f1, f2;
    int firType;  // I symmetric odd, II symmetric even, III antisymmetric odd, IV antisymmetric even
};

inline const std::vector<ExportCase>& ExportCases()
{
    static const std::vector<ExportCase> cases = {
        {"lowpass63", FT_LOWPASS, DM_SINC, WT_HAMMING, 63, 8000, 1000, 3000, 1},
        {"bandpass64", FT_BANDPASS, DM_SINC, WT_BLACKMAN, 64, 8000, 1000, 2000, 2},
        {"hilbert31", FT_HILBERT, DM_SINC, WT_HAMMING, 31, 8000, 300, 3700, 3},
        {"diff32", FT_DIFFERENTIATOR, DM_SINC, WT_HANNING, 32, 8000, 1000, 3000, 4},
    };
    return cases;
}

// A form holding the case's valid design.
struct ExportFixture : ViewFixture {
    explicit ExportFixture(const ExportCase& c)
    {
        Configure(c.type, c.method, c.window, c.taps, c.fs, c.f1, c.f2);
        if (c.type == FT_DIFFERENTIATOR)
            host.QueueDialog(133, {{ScriptedHost::Action::Click, 1051, {}}});  // gain 1 at fs/2
        Design();
    }
    std::vector<double> Taps() const
    {
        std::vector<double> taps;
        for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
            taps.push_back(view.m_Coeffs.GetValue(i, 0));
        return taps;
    }
};

inline bool HaveTool(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs command in dir; its exit status, with stdout and stderr in output.
inline int RunIn(const std::filesystem::path& dir, const std::string& command, std::string& output)
{
    const std::filesystem::path log = dir / "run.log";
    const int status =
        std::system(("cd '" + dir.string() + "' && (" + command + ") > '" + log.string() + "' 2>&1").c_str());
    output = ReadText(log);
    return status;
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
