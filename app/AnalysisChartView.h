#pragma once

#include <QChartView>
#include <QRectF>
#include <QString>
#include <functional>

#include "dsp/ResponseMeasurement.h"

class QColor;
class QLineSeries;
class QValueAxis;

// A chart whose visible range the user changes: the wheel zooms about the
// pointer, a rectangle dragged with the left button zooms into it, a drag
// with the right or middle button (or the arrow keys) pans, and Home or
// ResetZoom goes back to the home range. Ranges in axis units (x Hz, y dB
// or samples).
class AnalysisChartView : public QChartView {
    Q_OBJECT

public:
    explicit AnalysisChartView(QWidget* parent = nullptr);

    QValueAxis* AxisX() const { return m_pAxisX; }
    QValueAxis* AxisY() const { return m_pAxisY; }
    // A line series on both axes, owned by the view, drawn 1.5 px wide.
    QLineSeries* AddCurve(const QString& name, const QColor& color);
    // The series becomes the curve's finite points.
    static void FillCurve(QLineSeries* series, const ResponseCurve& curve);
    // The range a reset returns to; shown at once.
    void SetHomeRange(const QRectF& range);
    QRectF HomeRange() const { return m_home; }
    QRectF VisibleRange() const;
    void SetVisibleRange(const QRectF& range);
    void ResetZoom();
    // Zooms by factor (> 1 in) about a point in axis units.
    void ZoomAbout(const QPointF& center, double factor);
    // Moves the visible range by a fraction of its size.
    void PanBy(double fractionX, double fractionY);

    // Called with the value under the pointer while it moves over the plot
    // area (x Hz, y in the unit of m_strReadoutUnit), and with "" outside it.
    std::function<void(const QString& text)> m_onReadout;
    QString m_strReadoutUnit = QStringLiteral("dB");
    // "1234.5 Hz, -45.20 dB": the readout of a point in axis units.
    static QString ReadoutText(const QPointF& value, const QString& unit);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QValueAxis* m_pAxisX;
    QValueAxis* m_pAxisY;
    QRectF m_home;
    bool m_bPanning = false;
    QPointF m_panStart;
};
