// Mouse, wheel and keys of the main window, and the window magnet.
//
// The window has no frame, so it behaves like one itself: any free spot and
// the video picture move it, 7-pixel bands along the edges resize it, the
// caption toggles maximise on a double click. Moves and resizes are left to
// the window system where it runs them (startSystemMove/startSystemResize);
// without a window manager the window follows the pointer by hand. A move
// starts only once a held button has dragged the pointer some way, so that
// two clicks in place stay a double click under a window manager.

#include "mainwindow/CPlayerDlg.h"

#include "app/SettingsTable.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/WindowMagnet.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyleHints>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

namespace {

// What a resize band pulls and the cursor it shows, in the order the bands
// are tested.
struct ResizeBand {
    HitArea area;
    Qt::Edges edges;
    Qt::CursorShape cursor;
};

const ResizeBand kBands[kHitAreaCount] = {
    {HitArea::Right, Qt::RightEdge, Qt::SizeHorCursor},
    {HitArea::Left, Qt::LeftEdge, Qt::SizeHorCursor},
    {HitArea::Top, Qt::TopEdge, Qt::SizeVerCursor},
    {HitArea::TopLeft, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
    {HitArea::TopRight, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
    {HitArea::Bottom, Qt::BottomEdge, Qt::SizeVerCursor},
    {HitArea::BottomLeft, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
    {HitArea::BottomRight, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
};

// The band under a point, as an index into kBands, or -1.
int BandAt(const Layout& layout, QPoint pos) {
    for (int i = 0; i < kHitAreaCount; ++i)
        if (layout.Hit(kBands[i].area).Contains(pos))
            return i;
    return -1;
}

// The window's keys and the menu command each runs. Held keys repeat only
// the volume; what opens a modal window runs after the key.
struct KeyCommand {
    int key;
    int command;
    bool later;
    bool repeats;
};

const KeyCommand kKeys[] = {
    {Qt::Key_Return, MenuCommand::FullScreen, false, false},
    {Qt::Key_Enter, MenuCommand::FullScreen, false, false},
    {Qt::Key_Space, MenuCommand::Stop, false, false},
    {Qt::Key_Up, MenuCommand::VolumeUp, false, true},
    {Qt::Key_Down, MenuCommand::VolumeDown, false, true},
    {Qt::Key_F5, MenuCommand::Settings, true, false},
    {Qt::Key_F8, MenuCommand::ListPanel, true, false},
    {Qt::Key_F1, MenuCommand::About, true, false},
    {Qt::Key_T, MenuCommand::OnTop, false, false},
    {Qt::Key_M, MenuCommand::Mute, false, false},
    {Qt::Key_U, MenuCommand::OpenUrl, true, false}, // with Ctrl
};

// A text field that takes typing: the keys typed into it are its own.
bool EditsText(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

// Keys a text field uses for typing and moving its cursor; function keys,
// Escape and Ctrl combinations stay the window's.
bool IsTypingKey(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const int key = event->key();
    return key != Qt::Key_Escape && !(key >= Qt::Key_F1 && key <= Qt::Key_F35);
}

// Only where the window system lets a program place its own window does a
// position the program sets stick.
bool ProgramPlacesWindows() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

} // namespace

void CPlayerDlg::InstallInput() {
    setMouseTracking(true);
    // Keys and manual drags are seen before any child (the list, the
    // browser, the picture) handles them.
    qApp->installEventFilter(this);
    ConnectPlayerInput();

    // A move by the window system ends without telling the program; the
    // magnet acts once the window has stood still for a moment.
    magnetTimer_ = new QTimer(this);
    magnetTimer_->setSingleShot(true);
    magnetTimer_->setInterval(200);
    connect(magnetTimer_, &QTimer::timeout, this, &CPlayerDlg::ApplyMagnet);
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
                        pendingMove_.Press(QCursor::pos());
                    return;
                }
                ShowMainMenu(QCursor::pos());
            });
    connect(player, &PlayerWidget::mouseMoved, this,
            [player](QPoint) { player->setCursor(Qt::ArrowCursor); });
}

// --- moving and resizing ---

void CPlayerDlg::StartMove(const QPoint& globalPos) {
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    movingByHand_ = true;
    grabPos_ = globalPos;
    grabGeometry_ = geometry();
}

bool CPlayerDlg::FollowPendingMove(bool released, const QMouseEvent& mouse) {
    if (released) {
        if (mouse.button() == Qt::LeftButton)
            pendingMove_.Cancel();
        return false;
    }
    const QPoint global = mouse.globalPosition().toPoint();
    if (!pendingMove_.Moved(global, mouse.buttons() & Qt::LeftButton,
                            QGuiApplication::styleHints()->startDragDistance()))
        return false;
    // A move by hand goes from the press, so the grabbed spot stays under
    // the pointer. The window system moves the window on from where the
    // pointer is now: there the window lags by the travel below the distance.
    StartMove(pendingMove_.Origin());
    if (movingByHand_)
        FollowPointer(global);
    return true;
}

void CPlayerDlg::StartResize(int area, const QPoint& globalPos) {
    if (area < 0 || area >= kHitAreaCount)
        return;
    setCursor(kBands[area].cursor);
    if (QWindow* window = windowHandle(); window && window->startSystemResize(kBands[area].edges))
        return;
    resizingByHand_ = area;
    grabPos_ = globalPos;
    grabGeometry_ = geometry();
}

void CPlayerDlg::FollowPointer(const QPoint& globalPos) {
    const QPoint delta = globalPos - grabPos_;
    if (movingByHand_) {
        QPoint to = grabGeometry_.topLeft() + delta;
        if (session_->IsOn(SessionOption::Magnet))
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                to = MagnetPosition(to, size(), screen->geometry());
        move(to);
        return;
    }
    if (resizingByHand_ < 0)
        return;
    // The pulled edges follow the pointer; the others stay, and the window
    // never gets smaller than its minimum.
    const Qt::Edges edges = kBands[resizingByHand_].edges;
    const QSize least = minimumSize();
    int left = grabGeometry_.left();
    int top = grabGeometry_.top();
    int right = grabGeometry_.left() + grabGeometry_.width();
    int bottom = grabGeometry_.top() + grabGeometry_.height();
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - least.width());
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + least.width());
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - least.height());
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + least.height());
    setGeometry(left, top, right - left, bottom - top);
}

void CPlayerDlg::EndPointerDrag() {
    pendingMove_.Cancel();
    movingByHand_ = false;
    resizingByHand_ = -1;
}

void CPlayerDlg::ApplyMagnet() {
    if (!session_->IsOn(SessionOption::Magnet) || session_->IsFullScreen() ||
        session_->IsMaximised() || !isVisible() || isMinimized())
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = frameGeometry();
    const QPoint to = MagnetPosition(frame.topLeft(), frame.size(), screen->geometry());
    if (to != frame.topLeft())
        move(to);
}

void CPlayerDlg::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (magnetTimer_ && session_->IsOn(SessionOption::Magnet) && !movingByHand_ &&
        ProgramPlacesWindows())
        magnetTimer_->start();
}

void CPlayerDlg::UpdateCursor(const QPoint& pos) {
    if (layout_.volumeArea.Contains(pos)) {
        setCursor(Qt::PointingHandCursor);
        return;
    }
    const int band =
        (session_->IsFullScreen() || session_->IsMaximised()) ? -1 : BandAt(layout_, pos);
    if (band >= 0)
        setCursor(kBands[band].cursor);
    else
        unsetCursor();
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
    const int band = BandAt(layout_, pos);
    event->accept();
    if (!locked && band < 0 && !inVolume) {
        pendingMove_.Press(global);
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
        StartResize(band, global);
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    UpdateCursor(pos);
    // Only a plain drag with the left button sets the volume.
    if (layout_.volumeArea.Contains(pos) && volumeDrag_ && event->buttons() == Qt::LeftButton &&
        event->modifiers() == Qt::NoModifier)
        OnVolumePointer(pos.x());
    QWidget::mouseMoveEvent(event);
}

void CPlayerDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        volumeDrag_ = false;
        EndPointerDrag();
    }
    QWidget::mouseReleaseEvent(event);
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !session_->IsFullScreen() &&
        event->position().toPoint().y() < kCaptionHeight) {
        event->accept();
        pendingMove_.Cancel();
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
        if (KeyBelongsToFocus(widget, key))
            return false;
        return HandleKey(key);
    }

    if (pendingMove_.Armed() &&
        FollowPendingMove(type == QEvent::MouseButtonRelease, *static_cast<QMouseEvent*>(event)))
        return true;
    if (movingByHand_ || resizingByHand_ >= 0) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseMove)
            FollowPointer(mouse->globalPosition().toPoint());
        else if (mouse->button() == Qt::LeftButton)
            EndPointerDrag();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CPlayerDlg::KeyBelongsToFocus(const QWidget* target, const QKeyEvent* event) const {
    // The web page gets its keys first: a text field of the page takes what
    // is typed into it, and a key the page leaves alone comes back to the
    // browser's parent, this window, where it runs the window's command.
    // A page or field that was hidden (the channel tab hides the page) may
    // keep the focus, since the list takes none; the user types into neither.
    if (webBrowser_ && webBrowser_->isVisible() && target != this &&
        (target == webBrowser_ || webBrowser_->isAncestorOf(target)))
        return true;
    return target->isVisible() && EditsText(target) && IsTypingKey(event);
}

bool CPlayerDlg::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        // Never closes the window; only leaves full screen.
        if (session_->IsFullScreen() && !event->isAutoRepeat())
            OnCommand(MenuCommand::FullScreen);
        return true;
    }
    // Ctrl as it is held at this moment.
    if (key == Qt::Key_U && !(QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) &&
        !(event->modifiers() & Qt::ControlModifier))
        return false;
    for (const KeyCommand& k : kKeys) {
        if (k.key != key)
            continue;
        if (event->isAutoRepeat() && !k.repeats)
            return true;
        // What opens a modal window runs once the key has been delivered.
        if (k.later)
            QTimer::singleShot(0, this, [this, id = k.command] { OnCommand(id); });
        else
            OnCommand(k.command);
        return true;
    }
    return false;
}
