#pragma once

#include "skin/PendingMove.h"

#include <QObject>
#include <QPoint>
#include <QRect>

class PlayerSession;
class QTimer;
class QWidget;
struct Layout;

// Moves and resizes the frameless main window. The window system runs the
// drag where it can (startSystemMove/startSystemResize); without a window
// manager the window follows the pointer by hand. A move starts only once a
// held button has dragged the pointer the platform's drag distance, so that
// two clicks in place stay a double click under a window manager. The
// magnet snaps the window to the screen's edges once a move has ended.
class WindowDragger : public QObject {
public:
    WindowDragger(QWidget& window, const PlayerSession& session);

    // The resize band under a window position, -1 for none.
    static int BandAt(const Layout& layout, QPoint pos);
    // The cursor of a window position: a hand over the volume area, the
    // band's arrows where the window may be resized.
    void UpdateCursor(const Layout& layout, QPoint pos);

    // A press of the left button on a spot that moves the window.
    void Press(const QPoint& globalPos);
    // Whether a press waits for the pointer to travel; its moves and its
    // release then go to FollowPress.
    bool IsPressed() const { return pendingMove_.Armed(); }
    // A move or the release of the press; true when the move started now.
    bool FollowPress(const QPoint& globalPos, Qt::MouseButtons held, bool released,
                     Qt::MouseButton button);
    // The press became something else (a double click).
    void CancelPress() { pendingMove_.Cancel(); }
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
    PendingMove pendingMove_;
    bool moving_ = false;
    int resizing_ = -1; // the band, -1 for none
    QPoint grabPos_;
    QRect grabGeometry_;
};
