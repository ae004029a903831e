#include "fuzz/FuzzSession.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "design/Design.h"
#include "design/DesignMessages.h"
#include "design/DesignValidation.h"
#include "document/CArchive.h"
#include "platform/TextFormat.h"
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
    // The values the form holds (the fields read as Design reads them),
    // designed and measured without the form.
    if (!view.UpdateData(true))
        return;
    view.m_dIRScale = TextToDouble(view.m_strIRScale);
    std::optional<DesignRequest> mapped = view.MakeRequest();
    if (!mapped)
        return;
    DesignRequest& request = *mapped;
    request.measure = true;
    const DesignOutcome out = Design(request);
    for (const DesignNote& note : out.notes)
        Require(!DesignMessage(note).empty(), "every code has its message");
    if (ValidateRequest(request)) {
        Require(!out.valid && out.notes.size() == 1, "a refused request designs nothing");
        return;
    }
    if (!out.valid)
        return;
    Require(out.coeffs.m_nCount == out.taps, "the design holds its taps");
    for (int i = 0; i < out.coeffs.m_nCount; ++i)
        Require(std::isfinite(out.coeffs[i].real()), "a valid design has finite taps");
    Require(std::isfinite(out.gain) && std::isfinite(out.irPeak), "finite gain and peak");
    Require(out.spectrum.m_nCount == out.spectrumLength, "the spectrum has its length");
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
