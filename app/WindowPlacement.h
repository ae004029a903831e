#pragma once

#include <QRect>
#include <QSize>

// Where the program's windows open. Every rectangle is a frame rectangle in
// screen pixels: the window with its title bar and borders.

// frame moved, then shrunk if it must be, to lie inside available (the
// screen without panels and docks); unchanged when available is empty.
QRect FitInside(const QRect& frame, const QRect& available);

// The analysis window beside the main window: on its right, else on its
// left, where available leaves at least minimum's width, as wide as wanted
// or the room allows; otherwise over the main window's plots (plotsTop is
// their top edge) at the right of the screen, so the form's fields stay in
// sight, moved up only as far as minimum's height needs. Always inside
// available.
QRect PlaceBesideOrOverPlots(const QRect& mainFrame, int plotsTop, QSize wanted, QSize minimum,
                             const QRect& available);
