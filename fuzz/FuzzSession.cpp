#include "fuzz/FuzzSession.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "document/CArchive.h"
#include "form/FileCommands.h"
#include "plot/PlotAxes.h"

FuzzSession::FuzzSession()
{
    ResetPlotAxes();
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    view.OnCreate();
    NewDocument(doc, view);
}

std::string FuzzSession::DocumentBytes()
{
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* f = ::open_memstream(&buffer, &size);
    Require(f != nullptr, "open_memstream");
    {
        CArchive ar(CArchive::store, f);
        doc.Serialize(ar);
    }
    std::fclose(f);
    std::string bytes(buffer, size);
    std::free(buffer);
    return bytes;
}

void FuzzSession::DesignAndCheck()
{
    host.Click(view, IDC_DESIGN);
    if (view.m_bDesignValid != 1)
        return;
    Require(view.m_Coeffs.m_nCount == view.m_nTaps, "the design holds m_nTaps taps");
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
        Require(std::isfinite(view.m_Coeffs.GetValue(i, 0)), "a valid design has finite taps");
    Require(std::isfinite(view.m_dGain) && std::isfinite(view.m_dIRPeak), "finite gain and peak");
}

std::string FuzzSession::ScratchFile(const char* name, const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = [] {
        std::string dir = (std::filesystem::temp_directory_path() / ("zantro-fuzz-" + std::to_string(::getpid())))
                              .string();
        std::filesystem::create_directories(dir);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(
                std::filesystem::temp_directory_path() / ("zantro-fuzz-" + std::to_string(::getpid())), ec);
        });
        return dir;
    }();
    const std::string path = folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Require(f != nullptr, "scratch file");
    if (size)
        Require(std::fwrite(data, 1, size, f) == size, "scratch file written");
    std::fclose(f);
    return path;
}

void FuzzSession::Require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
