#include "app/ChartSvg.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace {

// The parameter range [t0, t1] of a + t (b - a) inside rect, or false.
bool ClipSegment(const QPointF& a, const QPointF& b, const QRectF& rect, double& t0, double& t1)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    t0 = 0.0;
    t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

}  // namespace

std::vector<QPolygonF> ClipPolyline(const QPolygonF& line, const QRectF& rect)
{
    std::vector<QPolygonF> parts;
    if (line.size() == 1 && rect.contains(line.front()))
        parts.push_back(line);
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const QPointF a = line[i], b = line[i + 1];
        double t0 = 0.0, t1 = 1.0;
        if (!ClipSegment(a, b, rect, t0, t1))
            continue;
        const QPointF from = a + t0 * (b - a), to = a + t1 * (b - a);
        // A segment that starts where the last part ends continues it.
        if (t0 == 0.0 && !parts.empty() && parts.back().back() == a)
            parts.back().append(to);
        else
            parts.push_back(QPolygonF{from, to});
    }
    return parts;
}

void RenderWithClippedCurves(QWidget& widget, const std::vector<QChartView*>& charts, QPainter& painter)
{
    // Qt draws everything but the curves: a transparent series keeps its
    // legend marker, which is drawn from the pen.
    std::vector<std::pair<QLineSeries*, qreal>> curves;
    for (QChartView* view : charts)
        for (QAbstractSeries* s : view->chart()->series())
            if (auto* line = qobject_cast<QLineSeries*>(s); line && line->isVisible()) {
                curves.emplace_back(line, line->opacity());
                line->setOpacity(0.0);
            }
    widget.render(&painter);
    for (auto& [line, opacity] : curves)
        line->setOpacity(opacity);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (QChartView* view : charts) {
        QChart* chart = view->chart();
        // Chart coordinates to the widget's: the views neither scale nor turn.
        const QPointF origin = view->viewport()->mapTo(&widget, view->mapFromScene(chart->mapToScene(QPointF(0, 0))));
        const QRectF area = chart->plotArea();
        for (QAbstractSeries* s : chart->series()) {
            auto* line = qobject_cast<QLineSeries*>(s);
            if (!line || !line->isVisible())
                continue;
            QPolygonF points;
            points.reserve(line->count());
            for (const QPointF& p : line->points())
                points.append(chart->mapToPosition(p, line));
            painter.setPen(line->pen());
            for (QPolygonF& part : ClipPolyline(points, area)) {
                part.translate(origin);
                painter.drawPolyline(part);
            }
        }
    }
    painter.restore();
}
