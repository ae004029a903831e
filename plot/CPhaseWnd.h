#pragma once

#include "plot/CPlotWnd.h"

// Phase plot: the magnitude plot's axes (x range from the record, 0 .. fs / 2
// Hz) and a curve of phases in radians, limited to yMin .. yMax (-pi .. pi),
// whose wrap from -pi to +pi is drawn as a vertical edge to the bottom of
// the frame followed by a jump to its top.
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
