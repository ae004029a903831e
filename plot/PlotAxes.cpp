#include "plot/PlotAxes.h"

#include <numbers>

namespace {

constexpr PlotAxes kImpulse = {"Taps", "", 0, 1, 0.0, 0, 129.0, 129, 4.0, 4, "4.1f", "4d",
                               "Real", "", 1, -1.0, 1.0, 4.0, "1.2f", 0, false};
constexpr PlotAxes kStep = {"Taps", "", 0, 1, 0.0, 0, 120.0, 129, 4.0, 4, "4.1f", "4d",
                            "Real", "", 1, -1.2, 1.2, 12.0, "1.2f", 0, false};
constexpr PlotAxes kMagnitude = {"Frequency", "Hz", 1, 1, 0.0, 0, 120.0, 129, 4.0, 4, "5.1f", "5d",
                                 "Magnitude", "", 1, -100.0, 0.0, 5.0, "1.2f", 0, false};
constexpr PlotAxes kPhase = {"Frequency", "Hz", 0, 1, 0.0, 0, 120.0, 129, 4.0, 4, "5.1f", "5d",
                             "Phase", "rad", 1, -std::numbers::pi, std::numbers::pi, 4.0, "1.2f", 0, false};

}  // namespace

PlotAxes ImpulseAxes = kImpulse;
PlotAxes StepAxes = kStep;
PlotAxes MagnitudeAxes = kMagnitude;
PlotAxes PhaseAxes = kPhase;

void ResetPlotAxes()
{
    ImpulseAxes = kImpulse;
    StepAxes = kStep;
    MagnitudeAxes = kMagnitude;
    PhaseAxes = kPhase;
}
