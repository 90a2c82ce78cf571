#include "mainwindow/WindowStyle.h"

#include "app/PlayerSession.h"
#include "mainwindow/WindowTray.h"

#include <QWidget>

void WindowStyle::ApplyOnTop() {
    const Qt::WindowFlags flags = window_.windowFlags();
    SetFlags(session_.IsOn(SessionOption::OnTop) ? flags | Qt::WindowStaysOnTopHint
                                                 : flags & ~Qt::WindowStaysOnTopHint);
}

void WindowStyle::ApplyTaskbarStyle() {
    const Qt::WindowType type =
        session_.UsesToolWindow(tray_.HostAvailable()) ? Qt::Tool : Qt::Window;
    // A window type, not a flag: Qt::Tool shares bits with Qt::Window.
    SetFlags((window_.windowFlags() & ~Qt::WindowType_Mask) | type);
}

void WindowStyle::SetFlags(Qt::WindowFlags flags) {
    if (flags == window_.windowFlags())
        return;
    const bool wasVisible = window_.isVisible();
    const QRect place = window_.geometry();
    window_.setWindowFlags(flags);
    if (wasVisible) {
        window_.setGeometry(place);
        window_.show();
    }
}
