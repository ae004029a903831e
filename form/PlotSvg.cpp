#include "form/PlotSvg.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "form/CZantroView.h"
#include "platform/SvgDC.h"
#include "plot/CPlotWnd.h"

bool WritePlotSvg(CPlotWnd& wnd, const std::string& path, std::string& error)
{
    const Rect client = wnd.GetClientRect();
    SvgDC dc(client.Width(), client.Height());
    wnd.OnPaint(dc);
    const std::string svg = dc.Svg();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(svg.data(), static_cast<std::streamsize>(svg.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WritePlotSvgs(CZantroView& view, const std::string& dir, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        fs::create_directories(dir, ec);
        if (ec || !fs::is_directory(dir)) {
            error = "cannot create directory " + dir + (ec ? ": " + ec.message() : std::string());
            return false;
        }
    }
    const struct {
        const char* name;
        CPlotWnd& wnd;
    } plots[] = {
        {"magnitude.svg", view.m_MagnitudeWnd},
        {"phase.svg", view.m_PhaseWnd},
        {"impulse.svg", view.m_ImpulseWnd},
        {"step.svg", view.m_StepWnd},
    };
    for (const auto& plot : plots)
        if (!WritePlotSvg(plot.wnd, (fs::path(dir) / plot.name).string(), error))
            return false;
    return true;
}
