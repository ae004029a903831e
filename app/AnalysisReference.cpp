#include "app/AnalysisReference.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "app/AnalysisChartView.h"

namespace {

const QColor kReferenceColor(150, 40, 170);

}  // namespace

AnalysisReference::AnalysisReference(AnalysisChartView& magnitude, AnalysisChartView& groupDelay)
    : m_magnitude(magnitude), m_groupDelay(groupDelay)
{
}

QString AnalysisReference::Name() const
{
    return m_held ? QStringLiteral("reference (%1 taps)").arg(m_held->taps.size()) : QString();
}

void AnalysisReference::Hold(const DesignAnalysis& design)
{
    Clear();
    if (!design.valid || design.taps.empty() || !(design.fs > 0.0))
        return;
    m_held = design;
    // Drawn first, so the current design's curves lie on top of it.
    m_pMagnitudeCurve = m_magnitude.AddCurve(Name(), kReferenceColor);
    m_pDelayCurve = m_groupDelay.AddCurve(Name(), kReferenceColor);
    for (AnalysisChartView* view : {&m_magnitude, &m_groupDelay}) {
        QChart* chart = view->chart();
        QLineSeries* curve = view == &m_magnitude ? m_pMagnitudeCurve : m_pDelayCurve;
        QList<QAbstractSeries*> others = chart->series();
        others.removeOne(curve);
        for (QAbstractSeries* s : others) {
            chart->removeSeries(s);
            chart->addSeries(s);
            s->attachAxis(view->AxisX());
            s->attachAxis(view->AxisY());
        }
    }
    const int count = std::clamp(8 * static_cast<int>(design.taps.size()), 4096, 16384) + 1;
    AnalysisChartView::FillCurve(m_pMagnitudeCurve, MagnitudeCurveDb(design.taps, design.fs, count));
    AnalysisChartView::FillCurve(m_pDelayCurve, ::GroupDelayCurve(design.taps, design.fs, count / 4 + 1));
    m_peakDb = -400.0;
    for (const QPointF& p : m_pMagnitudeCurve->points())
        m_peakDb = std::max(m_peakDb, p.y());
    m_delayMin = design.figures.groupDelayMinSamples;
    m_delayMax = design.figures.groupDelayMaxSamples;
}

void AnalysisReference::WidenHomeRanges() const
{
    if (!m_held)
        return;
    // Home ranges run from (0, lowest) to (fs/2, highest).
    QRectF magnitude = m_magnitude.HomeRange();
    magnitude.setRight(std::max(magnitude.right(), m_held->fs / 2.0));
    magnitude.setBottom(std::max(magnitude.bottom(), std::ceil((m_peakDb + 5.0) / 10.0) * 10.0));
    m_magnitude.SetHomeRange(magnitude);
    QRectF delay = m_groupDelay.HomeRange();
    delay.setRight(std::max(delay.right(), m_held->fs / 2.0));
    if (std::isfinite(m_delayMin) && std::isfinite(m_delayMax)) {
        delay.setTop(std::min(delay.top(), m_delayMin - 1.0));
        delay.setBottom(std::max(delay.bottom(), m_delayMax + 1.0));
    }
    m_groupDelay.SetHomeRange(delay);
}

void AnalysisReference::Clear()
{
    m_held.reset();
    for (auto [view, curve] : {std::pair{&m_magnitude, &m_pMagnitudeCurve}, std::pair{&m_groupDelay, &m_pDelayCurve}})
        if (*curve) {
            view->chart()->removeSeries(*curve);
            delete *curve;
            *curve = nullptr;
        }
}

std::optional<DesignAnalysis> AnalysisReference::MeasuredOn(const std::vector<MaskBand>& bands,
                                                            const QuantSpec& quantSpec) const
{
    if (!m_held)
        return std::nullopt;
    return MeasureAgain(*m_held, bands, quantSpec);
}
