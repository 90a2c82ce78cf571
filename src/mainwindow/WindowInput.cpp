#include "mainwindow/WindowInput.h"

#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/FocusKeys.h"
#include "mainwindow/KeyCommands.h"
#include "mainwindow/WindowDragger.h"
#include "playback/PlayerWidget.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

WindowInput::WindowInput(CPlayerDlg& window, WindowDragger& dragger)
    : window_(window), dragger_(dragger) {}

WindowInput::~WindowInput() {
    if (installed_)
        qApp->removeEventFilter(this);
}

void WindowInput::Install() {
    if (installed_)
        return;
    installed_ = true;
    window_.setMouseTracking(true);
    qApp->installEventFilter(this);
    ConnectPlayer();
}

void WindowInput::ConnectPlayer() {
    // The picture's double click (full screen) is connected where the player is bound.
    PlayerWidget* player = window_.Player();
    if (!player)
        return;
    connect(player, &PlayerWidget::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button == Qt::LeftButton) {
                    // The picture drags the window, as the free spots do.
                    const PlayerSession& session = window_.Session();
                    if (!session.IsFullScreen() && !session.IsMaximised())
                        dragger_.Press(QCursor::pos());
                    return;
                }
                window_.ShowMainMenu(QCursor::pos());
            });
    connect(player, &PlayerWidget::mouseMoved, this,
            [player](QPoint) { player->setCursor(Qt::ArrowCursor); });
}

bool WindowInput::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_)
        return false;
    if (type == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        return !KeyBelongsToFocus(widget, key, &window_, window_.WebBrowser()) && HandleKey(key);
    }
    if (type == QEvent::MouseMove)
        TakeKeysBack(widget);
    return FollowDrag(type == QEvent::MouseButtonRelease, *static_cast<QMouseEvent*>(event));
}

void WindowInput::TakeKeysBack(QWidget* under) {
    // The pointer over the window's own area (the picture, the frame, the
    // bars, the list) gives the window its keys again, after a web page or
    // a field had them. Over the web page the focus stays where it is, so
    // what is typed into the page's field goes on reaching it; so does a
    // field of the window's own while the pointer is on it.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == &window_ || focus == under || focus->window() != &window_)
        return;
    const QWidget* browser = window_.WebBrowser();
    if (browser && browser->isVisible() && (under == browser || browser->isAncestorOf(under)))
        return;
    window_.setFocus(Qt::MouseFocusReason);
}

bool WindowInput::FollowDrag(bool released, const QMouseEvent& mouse) {
    const QPoint global = mouse.globalPosition().toPoint();
    if (dragger_.IsPressed() &&
        dragger_.FollowPress(global, mouse.buttons(), released, mouse.button()))
        return true;
    if (!dragger_.IsDragging())
        return false;
    if (!released)
        dragger_.Follow(global);
    else if (mouse.button() == Qt::LeftButton)
        dragger_.End();
    return true;
}

bool WindowInput::HandleKey(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Escape) {
        // The find field, while open, is what Escape closes.
        if (window_.CloseFindField())
            return true;
        // Never closes the window; only leaves full screen.
        if (window_.Session().IsFullScreen() && !event.isAutoRepeat())
            window_.OnCommand(MenuCommand::FullScreen);
        return true;
    }
    const KeyCommand* k = KeyCommandFor(key);
    // Ctrl as it is held at this moment.
    if (!k ||
        (k->needsControl && !(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) &&
         !(event.modifiers() & Qt::ControlModifier)))
        return false;
    if (event.isAutoRepeat() && !k->repeats)
        return true;
    // What opens a modal window runs once the key has been delivered.
    if (k->later)
        QTimer::singleShot(0, &window_, [w = &window_, id = k->command] { w->OnCommand(id); });
    else
        window_.OnCommand(k->command);
    return true;
}
