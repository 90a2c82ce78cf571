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
        session_.UsesToolWindow([this] { return tray_.HostAvailable(); }) ? Qt::Tool : Qt::Window;
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

void WindowStyle::ToggleOnTop() {
    session_.Toggle(SessionOption::OnTop);
    ApplyOnTop();
}

void WindowStyle::HideWindow() {
    // Hidden, only the tray icon brings the window back; without a tray to
    // show that icon in, the window is minimised instead, never lost.
    if (tray_.ShowsIcon())
        window_.hide();
    else
        Minimise();
}

void WindowStyle::Minimise() {
    // A tray host may have gone since start-up: a minimised tool window
    // would have neither a taskbar button nor an icon to come back from.
    ApplyTaskbarStyle();
    window_.showMinimized();
}

void WindowStyle::ShowFromTray() {
    // A minimised, hidden or covered window comes back as it was before.
    if (window_.isMinimized())
        window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}
