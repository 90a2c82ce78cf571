// The notification-area icon: a left click brings the window back, a right
// click opens the main menu.
#include "mainwindow/CPlayerDlg.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSystemTrayIcon>

void CPlayerDlg::CreateTrayIcon() {
    if (tray_)
        return;
    // On Wayland only a tray on the session bus can show the icon; where none
    // runs, Qt's fallback would only complain about X11 calls, and the window
    // simply does without (hiding then minimises instead).
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    tray_ = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/128.png")), this);
    // "WAVEORBIT" alone until something plays; a tray icon made anew says
    // at once what plays.
    tray_->setToolTip(session_->CurrentNowPlaying().TrayToolTip());
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    ShowFromTray();
                } else if (reason == QSystemTrayIcon::Context) {
                    // In front first, so the menu closes on a click elsewhere.
                    if (isVisible())
                        activateWindow();
                    ShowMainMenu(QCursor::pos());
                }
            });
    // Shown even where no tray exists yet: the icon appears when one starts.
    tray_->show();
}

void CPlayerDlg::RemoveTrayIcon() {
    if (!tray_)
        return;
    // The exit may have been chosen from the icon's own menu, inside its
    // click: the icon goes away at once, the object once that click is over.
    tray_->hide();
    tray_->deleteLater();
    tray_ = nullptr;
}

void CPlayerDlg::ShowFromTray() {
    // A minimised, hidden or covered window comes back as it was before.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool CPlayerDlg::TrayHostAvailable() const {
    if (trayHostProbe_)
        return trayHostProbe_();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CPlayerDlg::ApplyTaskbarStyle() {
    const Qt::WindowType type =
        session_->UsesToolWindow(TrayHostAvailable()) ? Qt::Tool : Qt::Window;
    // A window type, not a flag: Qt::Tool shares bits with Qt::Window.
    SetWindowFlagsKeepingPlace((windowFlags() & ~Qt::WindowType_Mask) | type);
}

void CPlayerDlg::Minimise() {
    // A tray host may have gone since start-up: a minimised tool window
    // would have neither a taskbar button nor an icon to come back from.
    ApplyTaskbarStyle();
    showMinimized();
}
