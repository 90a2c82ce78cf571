#include "mainwindow/WindowTray.h"

#include "app/PlayerSession.h"
#include "skin/SkinInventory.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QWidget>

WindowTray::WindowTray(QWidget& window, const PlayerSession& session)
    : QObject(&window), window_(window), session_(session) {}

void WindowTray::Create() {
    if (icon_)
        return;
    // On Wayland only a tray on the session bus can show the icon; where none
    // runs, Qt's fallback would only complain about X11 calls, and the window
    // simply does without (hiding then minimises instead).
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    icon_ = new QSystemTrayIcon(AppIcon(), &window_);
    // "WAVEORBIT" alone until something plays; a tray icon made anew says
    // at once what plays.
    icon_->setToolTip(session_.CurrentNowPlaying().TrayToolTip());
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    emit showRequested();
                } else if (reason == QSystemTrayIcon::Context) {
                    // In front first, so the menu closes on a click elsewhere.
                    if (window_.isVisible())
                        window_.activateWindow();
                    emit menuRequested(QCursor::pos());
                }
            });
    // Shown even where no tray exists yet: the icon appears when one starts.
    icon_->show();
}

void WindowTray::Remove() {
    if (!icon_)
        return;
    // The exit may have been chosen from the icon's own menu, inside its
    // click: the icon goes away at once, the object once that click is over.
    icon_->hide();
    icon_->deleteLater();
    icon_ = nullptr;
}

bool WindowTray::HostAvailable() const {
    if (hostProbe_)
        return hostProbe_();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool WindowTray::ShowsIcon() const {
    return icon_ && icon_->isVisible() && HostAvailable();
}
