#include "app/WindowPlacement.h"

#include <algorithm>

QRect FitInside(const QRect& frame, const QRect& available)
{
    if (available.isEmpty())
        return frame;
    const QSize size = frame.size().boundedTo(available.size());
    const int x = std::clamp(frame.left(), available.left(), available.left() + available.width() - size.width());
    const int y = std::clamp(frame.top(), available.top(), available.top() + available.height() - size.height());
    return QRect(QPoint(x, y), size);
}

QRect PlaceBesideOrOverPlots(const QRect& mainFrame, int plotsTop, QSize wanted, QSize minimum,
                             const QRect& available)
{
    if (available.isEmpty())
        return QRect(mainFrame.topLeft(), wanted);
    const int height = std::min(wanted.height(), available.height());
    const int right = available.left() + available.width() - (mainFrame.left() + mainFrame.width());
    const int left = mainFrame.left() - available.left();
    if (right >= minimum.width())
        return FitInside(QRect(mainFrame.left() + mainFrame.width(), mainFrame.top(), std::min(wanted.width(), right),
                               height),
                         available);
    if (left >= minimum.width()) {
        const int width = std::min(wanted.width(), left);
        return FitInside(QRect(mainFrame.left() - width, mainFrame.top(), width, height), available);
    }
    const int width = std::min(wanted.width(), available.width());
    const int bottom = available.top() + available.height();
    const int fits = std::max(minimum.height(), std::min(height, bottom - plotsTop));
    const int top = std::min(plotsTop, bottom - fits);
    return FitInside(QRect(available.left() + available.width() - width, top, width, std::min(height, bottom - top)),
                     available);
}
