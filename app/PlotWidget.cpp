#include "app/PlotWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/QtDrawContext.h"
#include "app/QtHost.h"
#include "plot/CPlotWnd.h"

PlotWidget::PlotWidget(QtHost& host, CPlotWnd& plot, const QRect& rect, QWidget* parent)
    : QFrame(parent), m_host(host), m_plot(plot)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(CPlotWnd::kClientEdge);
    setGeometry(rect);
    // The plot fills its whole client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    m_host.Attach(m_plot, this);
}

PlotWidget::~PlotWidget()
{
    m_host.Detach(m_plot);
}

void PlotWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    QtDrawContext dc(painter, logicalDpiY(), client.size());
    m_plot.OnPaint(dc);
}

QPoint PlotWidget::ClientPoint(const QMouseEvent* event) const
{
    return event->position().toPoint() - contentsRect().topLeft();
}

void PlotWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = ClientPoint(event);
    m_plot.OnLButtonDown({p.x(), p.y()});
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = ClientPoint(event);
    m_plot.OnMouseMove({p.x(), p.y()});
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = ClientPoint(event);
    m_plot.OnLButtonUp({p.x(), p.y()});
}
