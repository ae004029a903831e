#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QMouseEvent>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QBuffer>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "app/AnalysisChartView.h"
#include "app/AnalysisWindow.h"
#include "app/ChartSvg.h"
#include "app/CommandIds.h"

namespace {

QPolygonF Line(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

}  // namespace

TEST(ClipPolyline, KeepsThePartsInsideTheRectangle)
{
    const QRectF r(0, 0, 10, 10);
    struct Case {
        const char* what;
        QPolygonF line;
        std::vector<QPolygonF> parts;
    };
    const Case cases[] = {
        {"inside", Line({{1, 1}, {5, 5}, {9, 1}}), {Line({{1, 1}, {5, 5}, {9, 1}})}},
        {"outside", Line({{-5, -5}, {-1, 20}, {20, 20}}), {}},
        {"leaves at the top", Line({{5, 5}, {5, -5}}), {Line({{5, 5}, {5, 0}})}},
        {"crosses the corner diagonally", Line({{-5, -5}, {15, 15}}), {Line({{0, 0}, {10, 10}})}},
        {"leaves and comes back", Line({{2, 5}, {2, 15}, {8, 15}, {8, 5}}),
         {Line({{2, 5}, {2, 10}}), Line({{8, 10}, {8, 5}})}},
        {"runs along an edge", Line({{-2, 10}, {12, 10}}), {Line({{0, 10}, {10, 10}})}},
        {"a spike above the top", Line({{1, 5}, {2, -95}, {3, 5}}),
         {Line({{1, 5}, {1.05, 0}}), Line({{2.95, 0}, {3, 5}})}},
    };
    for (const Case& c : cases) {
        const std::vector<QPolygonF> parts = ClipPolyline(c.line, r);
        ASSERT_EQ(parts.size(), c.parts.size()) << c.what;
        for (size_t i = 0; i < parts.size(); ++i) {
            ASSERT_EQ(parts[i].size(), c.parts[i].size()) << c.what;
            for (qsizetype k = 0; k < parts[i].size(); ++k) {
                EXPECT_NEAR(parts[i][k].x(), c.parts[i][k].x(), 1e-12) << c.what;
                EXPECT_NEAR(parts[i][k].y(), c.parts[i][k].y(), 1e-12) << c.what;
            }
        }
    }
}

namespace {

class ChartSvgExport : public AppFixture {
protected:
    // The picture as an SVG viewer shows it, at the plots' size.
    QImage Rendered(const QString& path, QSize size)
    {
        QSvgRenderer renderer(path);
        EXPECT_TRUE(renderer.isValid());
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        return image;
    }
    // A chart's rectangle, in the coordinates of the plots (the picture).
    static QRectF InPlots(AnalysisChartView* view, const QRectF& chartRect, QWidget* plots)
    {
        const QPointF origin =
            view->viewport()->mapTo(plots, view->mapFromScene(view->chart()->mapToScene(QPointF(0, 0))));
        return chartRect.translated(origin);
    }
    // Pixels near one of the colours outside every allowed rectangle, and inside any.
    static std::pair<int, int> CurvePixels(const QImage& image, const std::vector<QColor>& colors,
                                           const std::vector<QRectF>& allowed)
    {
        int outside = 0, inside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                bool curve = false;
                for (const QColor& k : colors)
                    curve = curve || (std::abs(c.red() - k.red()) < 24 && std::abs(c.green() - k.green()) < 24 &&
                                      std::abs(c.blue() - k.blue()) < 24);
                if (!curve)
                    continue;
                bool in = false;
                for (const QRectF& r : allowed)
                    in = in || r.adjusted(-2, -2, 2, 2).contains(QPointF(x + 0.5, y + 0.5));
                ++(in ? inside : outside);
            }
        return {outside, inside};
    }
};

}  // namespace

TEST_F(ChartSvgExport, NoCurvePixelLiesOutsideThePlotAreasZoomedOrNot)
{
    Start();
    Type(IDC_TAPS, QStringLiteral("41"));
    Press(IDC_DESIGN);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    ASSERT_GT(w->DesignCurve()->count(), 100);
    QWidget* plots = w->MagnitudeView()->parentWidget();
    const std::vector<QColor> colors = {w->DesignCurve()->pen().color(), w->QuantizedCurve()->pen().color()};
    QTemporaryDir dir;

    struct Case {
        const char* what;
        double zoom;
    };
    for (const Case& c : {Case{"whole range", 1.0}, Case{"zoomed in 6 times", 6.0}}) {
        w->ResetZoom();
        AnalysisChartView* mag = w->MagnitudeView();
        if (c.zoom != 1.0)
            mag->ZoomAbout(mag->VisibleRange().center(), c.zoom);
        QApplication::processEvents();
        const QString path = dir.filePath(QStringLiteral("%1.svg").arg(c.zoom));
        ASSERT_TRUE(w->ExportPicture(path)) << c.what;
        std::vector<QRectF> allowed;
        for (AnalysisChartView* view : {w->MagnitudeView(), w->GroupDelayView()}) {
            allowed.push_back(InPlots(view, view->chart()->plotArea(), plots));
            allowed.push_back(InPlots(view, view->chart()->legend()->geometry(), plots));
        }
        const auto [outside, inside] = CurvePixels(Rendered(path, plots->size()), colors, allowed);
        EXPECT_EQ(outside, 0) << c.what;
        EXPECT_GT(inside, 300) << c.what;

        // The same picture drawn by Qt alone has its curves run out (the fault mended).
        if (c.zoom != 1.0) {
            QImage qtOnly(plots->size(), QImage::Format_ARGB32);
            qtOnly.fill(Qt::white);
            QSvgRenderer unclipped;
            QByteArray svgText;
            {
                QBuffer buffer(&svgText);
                QSvgGenerator generator;
                generator.setOutputDevice(&buffer);
                generator.setSize(plots->size());
                generator.setViewBox(QRect(QPoint(0, 0), plots->size()));
                QPainter painter(&generator);
                plots->render(&painter);
            }
            ASSERT_TRUE(unclipped.load(svgText));
            QPainter painter(&qtOnly);
            unclipped.render(&painter, QRectF(QPointF(0, 0), QSizeF(plots->size())));
            painter.end();
            EXPECT_GT(CurvePixels(qtOnly, colors, allowed).first, 0) << c.what;
        }
    }
}

TEST_F(ChartSvgExport, TheValueUnderThePointerIsReadOut)
{
    EXPECT_EQ(AnalysisChartView::ReadoutText(QPointF(1234.56, -45.204), QStringLiteral("dB")),
              QStringLiteral("1234.6 Hz, -45.20 dB"));
    Start();
    Press(IDC_DESIGN);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    auto move = [](AnalysisChartView* view, QPoint pixel) {
        QMouseEvent event(QEvent::MouseMove, QPointF(pixel), view->viewport()->mapToGlobal(QPointF(pixel)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    };
    for (AnalysisChartView* view : {w->MagnitudeView(), w->GroupDelayView()}) {
        QChart* chart = view->chart();
        const QPointF at = chart->plotArea().center();
        const QPoint pixel = view->mapFromScene(chart->mapToScene(at));
        move(view, pixel);
        const QPointF value = chart->mapToValue(chart->mapFromScene(view->mapToScene(pixel)));
        EXPECT_EQ(w->Readout()->text(),
                  AnalysisChartView::ReadoutText(value, view == w->MagnitudeView() ? QStringLiteral("dB")
                                                                                   : QStringLiteral("samples")));
        EXPECT_TRUE(w->Readout()->text().contains(QStringLiteral(" Hz, ")));
        // Outside the plot area the readout clears.
        move(view, QPoint(1, 1));
        EXPECT_EQ(w->Readout()->text(), QString());
    }
}

namespace {

// Every text the chart draws (axis labels, titles, legend) that Qt cut
// short with "...".
QStringList ElidedTexts(AnalysisChartView* view)
{
    QStringList elided;
    for (QGraphicsItem* item : view->scene()->items()) {
        QString text;
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item))
            text = t->toPlainText();
        else if (auto* s = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            text = s->text();
        if (item->isVisible() && (text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026))))
            elided << text;
    }
    return elided;
}

}  // namespace

// At the size the analysis window opens with, and zoomed in as far as the
// labels get long, no label of either chart is cut short, on screen or in
// the exported picture (which is drawn from the same charts).
TEST_F(ChartSvgExport, NoLabelElidesAtTheOpeningSizeZoomedOrNot)
{
    Start();
    Type(IDC_TAPS, QStringLiteral("41"));
    Press(IDC_DESIGN);
    frame()->Action(ID_EXTRAS_ANALYSIS)->trigger();
    AnalysisWindow* w = frame()->Analysis();
    w->resize(1180, 760);
    QApplication::processEvents();
    QTemporaryDir dir;
    for (double zoom : {1.0, 6.0, 40.0}) {
        w->ResetZoom();
        for (AnalysisChartView* view : {w->MagnitudeView(), w->GroupDelayView()})
            if (zoom != 1.0)
                view->ZoomAbout(view->VisibleRange().center(), zoom);
        QApplication::processEvents();
        for (AnalysisChartView* view : {w->MagnitudeView(), w->GroupDelayView()})
            EXPECT_EQ(ElidedTexts(view), QStringList()) << view->chart()->title().toStdString() << ", zoom " << zoom
                                                        << ", " << view->width() << "x" << view->height();
        const QString path = dir.filePath(QStringLiteral("%1.svg").arg(zoom));
        ASSERT_TRUE(w->ExportPicture(path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString svg = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(svg.contains(QStringLiteral(">Group delay (samples)<"))) << zoom;
        EXPECT_FALSE(svg.contains(QStringLiteral("...")) || svg.contains(QChar(0x2026))) << zoom;
        if (qEnvironmentVariableIsSet("ZANTRO_KEEP_SVG"))
            QFile::copy(path, qEnvironmentVariable("ZANTRO_KEEP_SVG") + QStringLiteral("/analysis-%1.svg").arg(zoom));
    }
}
