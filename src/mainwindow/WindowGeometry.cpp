#include "mainwindow/WindowGeometry.h"

#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "mainwindow/LayoutPass.h"

QRect WindowGeometry::ReadSavedWindow() {
    savedWindow_ = QRect(
        Settings::ReadNumber(Settings::MainX), Settings::ReadNumber(Settings::MainY),
        Settings::ReadNumber(Settings::MainWidth), Settings::ReadNumber(Settings::MainHeight));
    return savedWindow_;
}

void WindowGeometry::EnterFullScreen(const QRect& frame) {
    Settings::WriteNumber(Settings::MainWidth, frame.width());
    Settings::WriteNumber(Settings::MainHeight, frame.height());
    Settings::WriteNumber(Settings::MainX, frame.left());
    Settings::WriteNumber(Settings::MainY, frame.top());
    fullScreenReturn_ = frame;
    session_.SetFullScreen(true);
}

void WindowGeometry::LeaveFullScreen() {
    session_.SetFullScreen(false);
}

QRect WindowGeometry::TakeFullScreenReturn() {
    const QRect to = fullScreenReturn_.isValid() ? fullScreenReturn_ : savedWindow_;
    fullScreenReturn_ = QRect();
    return to;
}

std::optional<QRect> WindowGeometry::ToggleMaximise(const QRect& current, const QRect& workArea) {
    if (session_.IsFullScreen())
        return std::nullopt;
    if (session_.IsMaximised()) {
        session_.SetMaximised(false);
        return beforeMaximise_;
    }
    beforeMaximise_ = current;
    session_.SetMaximised(true);
    return workArea;
}

bool WindowGeometry::MayToggleListPanel() const {
    return !session_.IsMaximised() && !session_.IsFullScreen();
}

QRect WindowGeometry::ToggleListPanel(const QRect& current) {
    const bool open = !session_.IsListPanelOpen();
    session_.SetListPanelOpen(open);
    // Left and top stay; the right edge moves by the panel's width.
    return QRect(current.left(), current.top(),
                 current.width() + (open ? kListPanelWidth : -kListPanelWidth), current.height());
}
