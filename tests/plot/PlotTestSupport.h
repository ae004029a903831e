#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "RecordingDC.h"
#include "plot/CPlotWnd.h"

// Loads a plot by the program's protocol (without the repaint).
inline void Load(CPlotWnd& wnd, PlotAxes* axes, const std::vector<double>& values, int pen = 1)
{
    wnd.SetSeries(axes, static_cast<int>(values.size()), pen);
    for (size_t i = 0; i < values.size(); ++i)
        wnd.SetValue(static_cast<int>(i), values[i]);
}

inline RecordingDC Paint(CPlotWnd& wnd)
{
    RecordingDC dc;
    wnd.OnPaint(dc);
    return dc;
}

// The points of the green curve (pen 1), moves and lines.
inline std::vector<RecordingDC::Call> Curve(const RecordingDC& dc)
{
    return dc.PathOf({PS_SOLID, 1, RGB(0, 255, 0)});
}

inline std::vector<Point> PointsOf(const std::vector<RecordingDC::Call>& calls)
{
    std::vector<Point> points;
    for (const auto& call : calls)
        points.push_back(call.pt);
    return points;
}

struct TextAt {
    std::string text;
    Rect rect;
    unsigned format;
    bool operator==(const TextAt&) const = default;
};

inline std::vector<TextAt> TextsOf(const RecordingDC& dc)
{
    std::vector<TextAt> texts;
    for (const auto& call : dc.Of(RecordingDC::Call::Text))
        texts.push_back({call.text, call.rect, call.format});
    return texts;
}

inline std::ostream& operator<<(std::ostream& os, const TextAt& t)
{
    return os << '"' << t.text << "\" (" << t.rect.left << ", " << t.rect.top << ", " << t.rect.right << ", "
              << t.rect.bottom << ") fmt " << t.format;
}

inline std::ostream& operator<<(std::ostream& os, const Point& p)
{
    return os << '(' << p.x << ", " << p.y << ')';
}
