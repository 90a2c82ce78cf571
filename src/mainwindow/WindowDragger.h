#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class PlayerSession;
class QTimer;
class QWidget;
struct Layout;

// Moves and resizes the frameless main window. The window system runs the
// drag where it can (startSystemMove/startSystemResize); without a window
// manager the window follows the pointer by hand. The magnet snaps the
// window to the screen's edges once a move has ended.
class WindowDragger : public QObject {
public:
    WindowDragger(QWidget& window, const PlayerSession& session);

    // The resize band under a window position, -1 for none.
    static int BandAt(const Layout& layout, QPoint pos);
    // The cursor of a window position: a hand over the volume area, the
    // band's arrows where the window may be resized.
    void UpdateCursor(const Layout& layout, QPoint pos);

    void StartMove(const QPoint& globalPos);
    void StartResize(int band, const QPoint& globalPos);
    // Whether a drag by hand runs; the pointer's moves then go to Follow.
    bool IsDragging() const { return moving_ || resizing_ >= 0; }
    void Follow(const QPoint& globalPos);
    void End();
    // The window moved (by whatever means): the magnet acts once it has
    // stood still for a moment.
    void OnMoved();

private:
    void ApplyMagnet();

    QWidget& window_;
    const PlayerSession& session_;
    QTimer* magnetTimer_ = nullptr;
    bool moving_ = false;
    int resizing_ = -1; // the band, -1 for none
    QPoint grabPos_;
    QRect grabGeometry_;
};
