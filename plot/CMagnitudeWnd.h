#pragma once

#include "plot/CPlotWnd.h"

// Magnitude plot: the x range comes from the record (0 .. fs / 2 Hz), the
// series (one value per point, 513 for the program's spectra) is drawn as
// linear magnitudes on a decibel scale from yMin dB to 0 dB when the record's
// yLog is 1, linearly from yMin to yMax otherwise, and the applied gain is
// written in the top right corner.
class CMagnitudeWnd : public CPlotWnd {
public:
    void DrawAxes(DrawContext& dc) override;
    void DrawCurve(DrawContext& dc) override;

    double m_dPlotGain = 0.0;  // shown as "Gain = %3.3f"
};
