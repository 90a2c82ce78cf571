#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Snapping distance of the window magnet, in pixels.
constexpr int kMagnetDistance = 10;

// Where a window of the given size that is about to be placed at `proposed`
// ends up with the magnet on: an edge that comes within 10 pixels of the
// matching edge of the screen (the whole screen, not the work area) is put on
// it. A window already on or past an edge stays where it is.
QPoint MagnetPosition(QPoint proposed, QSize window, const QRect& screen);
