#include "mainwindow/WindowDragger.h"

#include "app/PlayerSession.h"
#include "mainwindow/LayoutPass.h"
#include "mainwindow/WindowMagnet.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

// Only where the window system lets a program place its own window does a
// position the program sets stick.
bool ProgramPlacesWindows() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

// The pulled edges follow the pointer; the others stay, and the window
// never gets smaller than its minimum.
QRect Resized(const QRect& grab, Qt::Edges edges, QPoint delta, QSize least) {
    int left = grab.left();
    int top = grab.top();
    int right = grab.left() + grab.width();
    int bottom = grab.top() + grab.height();
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - least.width());
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + least.width());
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - least.height());
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + least.height());
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

WindowDragger::WindowDragger(QWidget& window, const PlayerSession& session)
    : QObject(&window), window_(window), session_(session), magnetTimer_(new QTimer(this)) {
    // A move by the window system ends without telling the program; the
    // magnet acts once the window has stood still for a moment.
    magnetTimer_->setSingleShot(true);
    magnetTimer_->setInterval(200);
    connect(magnetTimer_, &QTimer::timeout, this, &WindowDragger::ApplyMagnet);
}

int WindowDragger::BandAt(const Layout& layout, QPoint pos) {
    for (int i = 0; i < kHitAreaCount; ++i)
        if (layout.Hit(kBands[i].area).Contains(pos))
            return i;
    return -1;
}

void WindowDragger::UpdateCursor(const Layout& layout, QPoint pos) {
    if (layout.volumeArea.Contains(pos)) {
        window_.setCursor(Qt::PointingHandCursor);
        return;
    }
    const int band = (session_.IsFullScreen() || session_.IsMaximised()) ? -1 : BandAt(layout, pos);
    if (band >= 0)
        window_.setCursor(kBands[band].cursor);
    else
        window_.unsetCursor();
}

void WindowDragger::Press(const QPoint& globalPos) {
    pendingMove_.Press(globalPos);
}

bool WindowDragger::FollowPress(const QPoint& globalPos, Qt::MouseButtons held, bool released,
                                Qt::MouseButton button) {
    if (released) {
        if (button == Qt::LeftButton)
            pendingMove_.Cancel();
        return false;
    }
    if (!pendingMove_.Moved(globalPos, held & Qt::LeftButton,
                            QGuiApplication::styleHints()->startDragDistance()))
        return false;
    // A move by hand goes from the press, so the grabbed spot stays under
    // the pointer. The window system moves the window on from where the
    // pointer is now: there the window lags by the travel below the distance.
    StartMove(pendingMove_.Origin());
    if (moving_)
        Follow(globalPos);
    return true;
}

void WindowDragger::StartMove(const QPoint& globalPos) {
    if (QWindow* handle = window_.windowHandle(); handle && handle->startSystemMove())
        return;
    moving_ = true;
    grabPos_ = globalPos;
    grabGeometry_ = window_.geometry();
}

void WindowDragger::StartResize(int band, const QPoint& globalPos) {
    if (band < 0 || band >= kHitAreaCount)
        return;
    window_.setCursor(kBands[band].cursor);
    if (QWindow* handle = window_.windowHandle();
        handle && handle->startSystemResize(kBands[band].edges))
        return;
    resizing_ = band;
    grabPos_ = globalPos;
    grabGeometry_ = window_.geometry();
}

void WindowDragger::Follow(const QPoint& globalPos) {
    const QPoint delta = globalPos - grabPos_;
    if (moving_) {
        QPoint to = grabGeometry_.topLeft() + delta;
        if (session_.IsOn(SessionOption::Magnet))
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                to = MagnetPosition(to, window_.size(), screen->geometry());
        window_.move(to);
        return;
    }
    if (resizing_ >= 0)
        window_.setGeometry(
            Resized(grabGeometry_, kBands[resizing_].edges, delta, window_.minimumSize()));
}

void WindowDragger::End() {
    pendingMove_.Cancel();
    moving_ = false;
    resizing_ = -1;
}

void WindowDragger::OnMoved() {
    if (session_.IsOn(SessionOption::Magnet) && !moving_ && ProgramPlacesWindows())
        magnetTimer_->start();
}

void WindowDragger::ApplyMagnet() {
    if (!session_.IsOn(SessionOption::Magnet) || session_.IsFullScreen() ||
        session_.IsMaximised() || !window_.isVisible() || window_.isMinimized())
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = window_.frameGeometry();
    const QPoint to = MagnetPosition(frame.topLeft(), frame.size(), screen->geometry());
    if (to != frame.topLeft())
        window_.move(to);
}
