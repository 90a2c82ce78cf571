#include "mainwindow/WindowInput.h"

#include "app/PlayerSession.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/FocusKeys.h"
#include "mainwindow/KeyCommands.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/WindowControls.h"
#include "mainwindow/WindowDragger.h"
#include "playback/PlayerWidget.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

WindowInput::WindowInput(QWidget& window, WindowDragger& dragger, const PlayerSession& session,
                         const CommandTable& commands, const WindowControls& controls,
                         const MainTabs& tabs, ChannelPanel& channels,
                         std::function<void(const QPoint&)> showMenu)
    : window_(window), session_(session), commands_(commands), controls_(controls), tabs_(tabs),
      channels_(channels), showMenu_(std::move(showMenu)), dragger_(dragger) {}

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
    PlayerWidget* player = controls_.player;
    if (!player)
        return;
    connect(player, &PlayerWidget::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                if (button == Qt::LeftButton) {
                    // The picture drags the window, as the free spots do.
                    if (!session_.IsFullScreen() && !session_.IsMaximised())
                        dragger_.Press(QCursor::pos());
                    return;
                }
                showMenu_(QCursor::pos());
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
        return !KeyBelongsToFocus(widget, key, &window_, tabs_.Web().Browser()) && HandleKey(key);
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
    const QWidget* browser = tabs_.Web().Browser();
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
        if (channels_.CloseFindField())
            return true;
        // Never closes the window; only leaves full screen.
        if (session_.IsFullScreen() && !event.isAutoRepeat())
            commands_.Run(MenuCommand::FullScreen);
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
        QTimer::singleShot(0, this, [this, id = k->command] { commands_.Run(id); });
    else
        commands_.Run(k->command);
    return true;
}
