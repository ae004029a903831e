#include "app/AnalysisChartView.h"

#include <QChart>
#include <QKeyEvent>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>
#include <QWheelEvent>
#include <cmath>

namespace {

// Ticks every 1, 2 or 5 times a power of ten, about six over the range, on
// multiples of that step.
void NiceTicks(QValueAxis* axis, double span)
{
    const double raw = span / 6.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {2.0, 5.0, 10.0})
        if (raw > step)
            step = m * power;
    if (!(step > 0.0) || !std::isfinite(step))
        return;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0.0);
    axis->setTickInterval(step);
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f"));
}

}  // namespace

AnalysisChartView::AnalysisChartView(QWidget* parent)
    : QChartView(new QChart(), parent), m_pAxisX(new QValueAxis(this)), m_pAxisY(new QValueAxis(this))
{
    // Every zoom, whether by rubber band or by our own range changes, gets new ticks.
    for (QValueAxis* axis : {m_pAxisX, m_pAxisY})
        connect(axis, &QValueAxis::rangeChanged, this, [axis](qreal lo, qreal hi) { NiceTicks(axis, hi - lo); });
    chart()->addAxis(m_pAxisX, Qt::AlignBottom);
    chart()->addAxis(m_pAxisY, Qt::AlignLeft);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    // The built-in rubber band zooms through the chart; the axes follow it.
    setRubberBand(QChartView::RectangleRubberBand);
    setFocusPolicy(Qt::StrongFocus);
}

QLineSeries* AnalysisChartView::AddCurve(const QString& name, const QColor& color)
{
    auto* s = new QLineSeries(this);
    s->setName(name);
    s->setPen(QPen(color, 1.5));
    chart()->addSeries(s);
    s->attachAxis(m_pAxisX);
    s->attachAxis(m_pAxisY);
    return s;
}

void AnalysisChartView::FillCurve(QLineSeries* series, const ResponseCurve& curve)
{
    QList<QPointF> points;
    for (size_t i = 0; i < curve.hz.size(); ++i)
        if (std::isfinite(curve.values[i]))
            points.append(QPointF(curve.hz[i], curve.values[i]));
    series->replace(points);
}

void AnalysisChartView::SetHomeRange(const QRectF& range)
{
    m_home = range;
    SetVisibleRange(range);
}

QRectF AnalysisChartView::VisibleRange() const
{
    return QRectF(QPointF(m_pAxisX->min(), m_pAxisY->min()), QPointF(m_pAxisX->max(), m_pAxisY->max()));
}

void AnalysisChartView::SetVisibleRange(const QRectF& range)
{
    const QRectF r = range.normalized();
    if (!(r.width() > 0.0) || !(r.height() > 0.0))
        return;
    m_pAxisX->setRange(r.left(), r.right());
    m_pAxisY->setRange(r.top(), r.bottom());
}

void AnalysisChartView::ResetZoom()
{
    SetVisibleRange(m_home);
}

void AnalysisChartView::ZoomAbout(const QPointF& center, double factor)
{
    const QRectF v = VisibleRange();
    const double w = v.width() / factor, h = v.height() / factor;
    const double fx = (center.x() - v.left()) / v.width(), fy = (center.y() - v.top()) / v.height();
    SetVisibleRange(QRectF(center.x() - fx * w, center.y() - fy * h, w, h));
}

void AnalysisChartView::PanBy(double fractionX, double fractionY)
{
    const QRectF v = VisibleRange();
    SetVisibleRange(v.translated(fractionX * v.width(), fractionY * v.height()));
}

void AnalysisChartView::wheelEvent(QWheelEvent* event)
{
    const QPointF at = chart()->mapToValue(chart()->mapFromScene(mapToScene(event->position().toPoint())));
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0)
        ZoomAbout(at, std::pow(1.25, steps));
    event->accept();
}

void AnalysisChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        m_bPanning = true;
        m_panStart = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void AnalysisChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bPanning) {
        const QPointF d = event->position() - m_panStart;
        m_panStart = event->position();
        const QRectF area = chart()->plotArea();
        if (area.width() > 0 && area.height() > 0)
            PanBy(-d.x() / area.width(), d.y() / area.height());
        event->accept();
        return;
    }
    if (m_onReadout) {
        const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
        m_onReadout(chart()->plotArea().contains(at) ? ReadoutText(chart()->mapToValue(at), m_strReadoutUnit)
                                                     : QString());
    }
    QChartView::mouseMoveEvent(event);
}

QString AnalysisChartView::ReadoutText(const QPointF& value, const QString& unit)
{
    // QString::number is independent of the locale.
    return QString::number(value.x(), 'f', 1) + QStringLiteral(" Hz, ") + QString::number(value.y(), 'f', 2) +
           QLatin1Char(' ') + unit;
}

void AnalysisChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_bPanning && (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)) {
        m_bPanning = false;
        unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void AnalysisChartView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        PanBy(-0.1, 0.0);
        break;
    case Qt::Key_Right:
        PanBy(0.1, 0.0);
        break;
    case Qt::Key_Up:
        PanBy(0.0, 0.1);
        break;
    case Qt::Key_Down:
        PanBy(0.0, -0.1);
        break;
    case Qt::Key_Plus:
        ZoomAbout(VisibleRange().center(), 1.25);
        break;
    case Qt::Key_Minus:
        ZoomAbout(VisibleRange().center(), 0.8);
        break;
    case Qt::Key_Home:
        ResetZoom();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}
