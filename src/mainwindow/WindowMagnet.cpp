#include "mainwindow/WindowMagnet.h"

QPoint MagnetPosition(QPoint proposed, QSize window, const QRect& screen) {
    // Distances are counted from the screen's own origin, so a screen that
    // does not start at (0, 0) snaps the same way.
    const int x = proposed.x() - screen.left();
    const int y = proposed.y() - screen.top();
    const int sw = screen.width();
    const int sh = screen.height();
    int nx = x;
    int ny = y;
    if (x > 0 && x <= kMagnetDistance)
        nx = 0;
    if (y > 0 && y <= kMagnetDistance)
        ny = 0;
    // The far edges are tested after the near ones, with their result.
    if (nx + window.width() >= sw - kMagnetDistance && nx + window.width() < sw)
        nx = sw - window.width();
    if (ny + window.height() >= sh - kMagnetDistance && ny + window.height() < sh)
        ny = sh - window.height();
    return QPoint(nx + screen.left(), ny + screen.top());
}
