#pragma once

#include <vector>

#include "form/DesignAnalysis.h"

class AnalysisChartView;
class QCheckBox;
class QLineSeries;
class QWidget;

// The analysis window's "Chosen words": the fixed-point words of the
// window's format chosen to meet the band table's limits (every band a
// pass or stop band with a limit), else to come closest to the design's
// own figures, drawn ("chosen Q15") and tabled beside the rounded words.
// The form's own word request (Design to Requirement with chosen words)
// checks it and chooses for that request instead.
class AnalysisChosenWords {
public:
    AnalysisChosenWords(AnalysisChartView& magnitude, QWidget* parent);

    QCheckBox* CheckBox() const { return m_pCheck; }
    QLineSeries* Curve() const { return m_pCurve; }

    // Unchecked: drops any words the analysis chose. Checked: chooses the
    // words of format for a valid design unless the analysis holds some.
    void Apply(DesignAnalysis& analysis, const std::vector<double>& limits, const QuantSpec& format) const;
    // The curve of the chosen words (count points to fs/2), empty without.
    void Draw(const DesignAnalysis& analysis, int count);

private:
    QCheckBox* m_pCheck = nullptr;
    QLineSeries* m_pCurve = nullptr;
};
