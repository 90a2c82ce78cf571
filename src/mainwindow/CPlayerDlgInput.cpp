// Mouse, wheel and keys of the main window.
//
// The window has no frame, so it behaves like one itself: any free spot and
// the video picture move it, 7-pixel bands along the edges resize it (both
// through WindowDragger), the caption toggles maximise on a double click.

#include "mainwindow/CPlayerDlg.h"

#include "app/SettingsTable.h"
#include "mainwindow/FocusKeys.h"
#include "mainwindow/KeyCommands.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/WindowDragger.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

void CPlayerDlg::InstallInput() {
    setMouseTracking(true);
    // Keys and manual drags are seen before any child (the list, the
    // browser, the picture) handles them.
    qApp->installEventFilter(this);
    ConnectPlayerInput();
}

void CPlayerDlg::ConnectPlayerInput() {
    // The picture's double click (full screen) is connected where the player is bound.
    PlayerWidget* player = Player();
    if (!player)
        return;
    connect(player, &PlayerWidget::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button == Qt::LeftButton) {
                    // The picture drags the window, as the free spots do.
                    if (!session_->IsFullScreen() && !session_->IsMaximised())
                        dragger_->Press(QCursor::pos());
                    return;
                }
                ShowMainMenu(QCursor::pos());
            });
    connect(player, &PlayerWidget::mouseMoved, this,
            [player](QPoint) { player->setCursor(Qt::ArrowCursor); });
}

void CPlayerDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    dragger_->OnMoved();
}

// --- mouse ---

void CPlayerDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
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
    const bool locked = session_->IsFullScreen() || session_->IsMaximised();
    const bool inVolume = layout_.volumeArea.Contains(pos);
    const int band = WindowDragger::BandAt(layout_, pos);
    event->accept();
    if (!locked && band < 0 && !inVolume) {
        dragger_->Press(global);
        return;
    }
    if (inVolume) {
        if (!volumeDrag_) {
            volumeDrag_ = true;
            setCursor(Qt::PointingHandCursor);
            OnVolumePointer(pos.x());
        }
        return;
    }
    if (!locked && band >= 0)
        dragger_->StartResize(band, global);
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    dragger_->UpdateCursor(layout_, pos);
    // Only a plain drag with the left button sets the volume.
    if (layout_.volumeArea.Contains(pos) && volumeDrag_ && event->buttons() == Qt::LeftButton &&
        event->modifiers() == Qt::NoModifier)
        OnVolumePointer(pos.x());
    QWidget::mouseMoveEvent(event);
}

void CPlayerDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        volumeDrag_ = false;
        dragger_->End();
    }
    QWidget::mouseReleaseEvent(event);
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !session_->IsFullScreen() &&
        event->position().toPoint().y() < kCaptionHeight) {
        event->accept();
        dragger_->CancelPress();
        ToggleMaximise();
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
    if (delta == 120 || delta == -120)
        OnWheelDelta(delta);
    event->accept();
}

// --- keys, and drags by hand that began on a child ---

bool CPlayerDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QWidget::eventFilter(watched, event);

    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (KeyBelongsToFocus(widget, *key, this, WebBrowser()))
            return false;
        return HandleKey(key);
    }

    if (dragger_->IsPressed()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (dragger_->FollowPress(mouse->globalPosition().toPoint(), mouse->buttons(),
                                  type == QEvent::MouseButtonRelease, mouse->button()))
            return true;
    }
    if (dragger_->IsDragging()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseMove)
            dragger_->Follow(mouse->globalPosition().toPoint());
        else if (mouse->button() == Qt::LeftButton)
            dragger_->End();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CPlayerDlg::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        // Never closes the window; only leaves full screen.
        if (session_->IsFullScreen() && !event->isAutoRepeat())
            OnCommand(MenuCommand::FullScreen);
        return true;
    }
    const KeyCommand* k = KeyCommandFor(key);
    // Ctrl as it is held at this moment.
    if (!k ||
        (k->needsControl && !(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) &&
         !(event->modifiers() & Qt::ControlModifier)))
        return false;
    if (event->isAutoRepeat() && !k->repeats)
        return true;
    // What opens a modal window runs once the key has been delivered.
    if (k->later)
        QTimer::singleShot(0, this, [this, id = k->command] { OnCommand(id); });
    else
        OnCommand(k->command);
    return true;
}
