#pragma once

#include "plot/CPlotWnd.h"

// Magnitude plot: x range from the record, decibel or linear curve, and
// the applied gain written in the top right corner.
class CMagnitudeWnd : public CPlotWnd {
public:
    void DrawAxes(DrawContext& dc) override;
    void DrawCurve(DrawContext& dc) override;

    double m_dPlotGain = 0.0;  // shown as "Gain = %3.3f"
};
