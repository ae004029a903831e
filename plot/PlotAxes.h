#pragma once

// How one plot lays out its frame: axis positions, value ranges, labelled
// ticks and their formats (printf conversions without the leading '%').
struct PlotAxes {
    const char* xLabel;
    const char* xUnit;
    int xAxisAtBottom;  // 1: x axis on the bottom edge, values use 256 px per yMax; 0: mid-height, 128 px
    int xKind;          // 0: real x axis (xMin, xMax, ...); 1: integer x axis (nxMin, nxMax, ...)
    double xMin;
    int nxMin;
    double xMax;
    int nxMax;
    double xDivisions;
    int nxDivisions;
    const char* xFormat;
    const char* nxFormat;
    const char* yLabel;
    const char* yUnit;
    int yAxisAtLeft;    // 1: y axis on the left edge; 0: mid-width
    double yMin;
    double yMax;        // never 0
    double yDivisions;
    const char* yFormat;
    int yLog;           // 1: linear magnitudes drawn in dB from yMin to 0 dB
    bool normalize;     // 1: values divided by the series' peak before drawing
};

// The four program-wide records; the design code adjusts them and the plot
// windows read them at every repaint.
extern PlotAxes ImpulseAxes;
extern PlotAxes StepAxes;
extern PlotAxes MagnitudeAxes;
extern PlotAxes PhaseAxes;

// Puts all four records back to their initial contents.
void ResetPlotAxes();
