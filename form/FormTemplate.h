#pragma once

#include "platform/DialogTemplate.h"

inline constexpr int kFormTemplateId = 101;

// Entries of the Target Filter combo, in index order.
inline constexpr const char* kTargetFilterNames[] = {
    "user specified", "standard lowpass", "lowpass even 24", "lowpass odd 63",
    "bandpass even 32", "bandpass even 50", "multi bandpass 55", "differentiator 32",
    "differentiator 33", "Hilbert 20", "Highpass 32"};

// Plot window rectangles in pixels of the form's client area (left, top, right, bottom).
inline constexpr int kMagnitudeRect[4] = {25, 220, 597, 536};
inline constexpr int kPhaseRect[4] = {25, 571, 597, 887};
inline constexpr int kImpulseRect[4] = {622, 220, 1194, 536};
inline constexpr int kStepRect[4] = {622, 571, 1194, 887};

// The main form, dialog resource 101 (811 x 561 dialog units).
const DialogTemplate& ZantroFormTemplate();
