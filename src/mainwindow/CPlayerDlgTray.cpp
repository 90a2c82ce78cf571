// The way back to a hidden window: the tray icon (WindowTray), or a taskbar
// button wherever no tray shows that icon.
#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/WindowTray.h"

void CPlayerDlg::ShowFromTray() {
    // A minimised, hidden or covered window comes back as it was before.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QSystemTrayIcon* CPlayerDlg::TrayIcon() const {
    return tray_->Icon();
}

void CPlayerDlg::HideWindow() {
    // Hidden, only the tray icon brings the window back; without a tray to
    // show that icon in, the window is minimised instead, never lost.
    if (tray_->ShowsIcon())
        hide();
    else
        Minimise();
}

void CPlayerDlg::ApplyTaskbarStyle() {
    const Qt::WindowType type =
        session_->UsesToolWindow(tray_->HostAvailable()) ? Qt::Tool : Qt::Window;
    // A window type, not a flag: Qt::Tool shares bits with Qt::Window.
    SetWindowFlagsKeepingPlace((windowFlags() & ~Qt::WindowType_Mask) | type);
}

void CPlayerDlg::Minimise() {
    // A tray host may have gone since start-up: a minimised tool window
    // would have neither a taskbar button nor an icon to come back from.
    ApplyTaskbarStyle();
    showMinimized();
}
