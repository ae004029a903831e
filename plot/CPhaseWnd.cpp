#include "plot/CPhaseWnd.h"

void CPhaseWnd::DrawAxes(DrawContext&) {}
void CPhaseWnd::DrawCurve(DrawContext&) {}
