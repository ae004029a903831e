#pragma once

#include "document/CFilPar.h"
#include "platform/DialogTemplate.h"

inline constexpr int kFormTemplateId = 101;

// Plot window rectangles in pixels of the form's client area (left, top, right, bottom).
inline constexpr int kMagnitudeRect[4] = {25, 220, 597, 536};
inline constexpr int kPhaseRect[4] = {25, 571, 597, 887};
inline constexpr int kImpulseRect[4] = {622, 220, 1194, 536};
inline constexpr int kStepRect[4] = {622, 571, 1194, 887};

// The main form, dialog resource 101 (811 x 561 dialog units).
const DialogTemplate& ZantroFormTemplate();
