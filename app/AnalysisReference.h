#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "form/DesignAnalysis.h"

class AnalysisChartView;
class QLineSeries;

// A design the analysis window holds for comparison: its magnitude and
// group delay drawn under the current design's curves (one colour, named
// "reference (N taps)") and its figures measured on the current design's
// bands, until it is cleared.
class AnalysisReference {
public:
    AnalysisReference(AnalysisChartView& magnitude, AnalysisChartView& groupDelay);

    // Holds a valid design (its taps and fs) and draws it; an invalid one
    // clears.
    void Hold(const DesignAnalysis& design);
    void Clear();
    bool IsHeld() const { return m_held.has_value(); }

    // The held design measured on bands with quantSpec; nullopt when none
    // is held.
    std::optional<DesignAnalysis> MeasuredOn(const std::vector<MaskBand>& bands, const QuantSpec& quantSpec) const;

    // The curves while a design is held, else nullptr.
    QLineSeries* MagnitudeCurve() const { return m_pMagnitudeCurve; }
    QLineSeries* GroupDelayCurve() const { return m_pDelayCurve; }
    // Widens the views' home ranges to the held curves (its fs/2, its peak
    // gain, its group delay where it passes); nothing when none is held.
    void WidenHomeRanges() const;
    QString Name() const;

private:
    AnalysisChartView& m_magnitude;
    AnalysisChartView& m_groupDelay;
    std::optional<DesignAnalysis> m_held;
    QLineSeries* m_pMagnitudeCurve = nullptr;
    QLineSeries* m_pDelayCurve = nullptr;
    double m_peakDb = 0.0;
    double m_delayMin = 0.0;
    double m_delayMax = 0.0;
};
