#pragma once

#include <QFrame>

class CPlotWnd;
class QtHost;

// A plot window on screen: a sunken 2-pixel edge around a client area in
// which the core plot paints itself through the drawing context and
// receives the left button and the mouse moves, in client pixels.
class PlotWidget : public QFrame {
    Q_OBJECT

public:
    // rect: window rectangle in pixels of the parent (edge included).
    PlotWidget(QtHost& host, CPlotWnd& plot, const QRect& rect, QWidget* parent);
    ~PlotWidget() override;

    CPlotWnd& Plot() const { return m_plot; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint ClientPoint(const QMouseEvent* event) const;

    QtHost& m_host;
    CPlotWnd& m_plot;
};
