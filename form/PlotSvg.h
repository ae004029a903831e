#pragma once

#include <string>

class CPlotWnd;
class CZantroView;

// SVG pictures of the plot windows, each the window's client area (568 x 312
// pixels for the form's plots) painted as the paint handler paints it.

// Writes one plot to path. On failure returns false with error set.
bool WritePlotSvg(CPlotWnd& wnd, const std::string& path, std::string& error);

// Writes magnitude.svg, phase.svg, impulse.svg and step.svg of the form's
// four plots into dir, creating dir when it does not exist. On failure
// returns false with error set ("cannot create directory DIR: reason" or
// "cannot write PATH"); files written before the failure stay.
bool WritePlotSvgs(CZantroView& view, const std::string& dir, std::string& error);
