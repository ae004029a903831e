#pragma once

#include <QPolygonF>
#include <QRectF>
#include <vector>

class QChartView;
class QPainter;
class QWidget;

// Qt's SVG painter writes no clip paths, so a chart rendered into it lets
// its curves run over the axis labels, the legend and off the page. These
// draw the charts' curves themselves, cut to each plot area.

// The parts of the polyline inside rect, in order: each segment is clipped
// (Liang and Barsky, "A new concept and method for line clipping", ACM TOG
// 3(1), 1984), and consecutive inside parts are joined into one polyline.
std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& rect);

// Renders widget, which holds the chart views, into painter as widget's
// render would, except that every visible series of the charts is drawn
// here as a polyline with its own pen, clipped to its chart's plot area.
// The series are the charts' QLineSeries (other kinds are left to Qt).
void RenderWithClippedCurves(QWidget& widget, const std::vector<QChartView*>& charts, QPainter& painter);
