#include "plot/CMagnitudeWnd.h"

void CMagnitudeWnd::DrawAxes(DrawContext&) {}
void CMagnitudeWnd::DrawCurve(DrawContext&) {}
