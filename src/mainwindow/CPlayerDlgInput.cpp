// Mouse and wheel on the main window itself (keys and drags over its
// children: WindowInput).
//
// The window has no frame, so it behaves like one itself: any free spot and
// the video picture move it, 7-pixel bands along the edges resize it (both
// through WindowDragger), the caption toggles maximise on a double click.

#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/WindowDragger.h"
#include "mainwindow/WindowLayout.h"

#include <QMouseEvent>
#include <QWheelEvent>

void CPlayerDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    dragger_->OnMoved();
}

// --- mouse ---

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowMainMenu(global);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    // The volume area's presses and drags are PlaybackWiring's.
    dragger_->PressAt(layout_->Current(), event->position().toPoint(), global);
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    dragger_->UpdateCursor(layout_->Current(), event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CPlayerDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragger_->End();
    QWidget::mouseReleaseEvent(event);
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !session_->IsFullScreen() &&
        event->position().toPoint().y() < kCaptionHeight) {
        event->accept();
        dragger_->CancelPress();
        layout_->ToggleMaximise();
        return;
    }
    // Elsewhere the second click of the left button counts as a press.
    if (event->button() == Qt::LeftButton)
        mousePressEvent(event);
    else
        event->accept();
}

void CPlayerDlg::wheelEvent(QWheelEvent* event) {
    // One notch at a time: a message carrying several notches, and the fine
    // steps of a touchpad, change nothing.
    const int delta = event->angleDelta().y();
    if (playback_ && delta == 120)
        playback_->Volume().WheelUp();
    else if (playback_ && delta == -120)
        playback_->Volume().WheelDown();
    event->accept();
}
