// The way back to a hidden window: the tray icon (WindowTray), or a taskbar
// button wherever no tray shows that icon.
#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/WindowStyle.h"
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

void CPlayerDlg::Minimise() {
    // A tray host may have gone since start-up: a minimised tool window
    // would have neither a taskbar button nor an icon to come back from.
    style_->ApplyTaskbarStyle();
    showMinimized();
}
