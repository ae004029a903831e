#include "app/AnalysisChosenWords.h"

#include <QChart>
#include <QCheckBox>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <cmath>

#include "app/AnalysisChartView.h"

namespace {

const QColor kChosenColor(0, 150, 150);

// The band table as a requirement: every band a pass or stop band with a
// limit above 0 dB; else none (the design's own figures count).
std::vector<SpecBand> TableRequirement(const DesignAnalysis& a, const std::vector<double>& limits)
{
    std::vector<SpecBand> bands;
    for (size_t i = 0; i < a.bands.size(); ++i) {
        const MaskBand& b = a.bands[i];
        if (b.kind == BandKind::Slope || i >= limits.size() || !std::isfinite(limits[i]) || !(limits[i] > 0.0))
            return {};
        bands.push_back({b.kind, b.loHz, b.hiHz, limits[i]});
    }
    return bands;
}

}  // namespace

AnalysisChosenWords::AnalysisChosenWords(AnalysisChartView& magnitude, QWidget* parent)
    : m_pCheck(new QCheckBox(QStringLiteral("Chosen words"), parent)),
      m_pCurve(magnitude.AddCurve(QStringLiteral("chosen"), kChosenColor))
{
    m_pCheck->setToolTip(QStringLiteral("Fixed-point words chosen to meet the bands' limits rather than rounded, "
                                        "beside the rounded words"));
}

void AnalysisChosenWords::Apply(DesignAnalysis& a, const std::vector<double>& limits, const QuantSpec& format) const
{
    if (!m_pCheck->isChecked()) {
        a.chosen.reset();
        a.optimized = QuantResult{};
        return;
    }
    if (a.valid && !a.chosen && !a.taps.empty() && a.figures.status == MeasureStatus::Ok)
        AddChosenWords(a, WordRequest{format, TableRequirement(a, limits)});
}

void AnalysisChosenWords::Draw(const DesignAnalysis& a, int count)
{
    const bool shown = a.chosen && a.optimized.status == QuantStatus::Ok;
    m_pCurve->setName(shown ? QStringLiteral("chosen %1").arg(QString::fromStdString(QuantFormatName(a.optimized.quantSpec)))
                            : QStringLiteral("chosen"));
    if (shown)
        AnalysisChartView::FillCurve(m_pCurve, MagnitudeCurveDb(a.optimized.values, a.fs, count));
    else
        m_pCurve->clear();
    // The legend names the curve only while it is drawn.
    for (QLegendMarker* marker : m_pCurve->chart()->legend()->markers(m_pCurve))
        marker->setVisible(shown);
}
