#pragma once

#include "plot/CMagnitudeWnd.h"

// Phase plot: the magnitude plot's axes, a curve wrapped from -pi to +pi
// as a vertical edge to the bottom followed by a jump to the top.
class CPhaseWnd : public CPlotWnd {
public:
    CPhaseWnd()
    {
        m_pAxes = nullptr;
        m_nPen = 0;
    }
    void DrawAxes(DrawContext& dc) override;
    void DrawCurve(DrawContext& dc) override;
};
