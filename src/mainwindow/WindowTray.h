#pragma once

#include <QObject>

#include <functional>

class PlayerSession;
class QPoint;
class QWidget;
class QSystemTrayIcon;

// The main window's icon in the notification area: a left click brings the
// window back, a right click opens the main menu. Where no tray shows icons,
// the window keeps a taskbar button instead (see HostAvailable).
class WindowTray : public QObject {
    Q_OBJECT
public:
    WindowTray(QWidget& window, const PlayerSession& session);

    // Makes the icon (once); it says at once what plays.
    void Create();
    void Remove();
    // The icon; null before Create, after Remove and where no tray can be.
    QSystemTrayIcon* Icon() const { return icon_; }
    // Whether a tray shows the icon now; tests answer it instead.
    bool HostAvailable() const;
    void SetHostProbe(std::function<bool()> probe) { hostProbe_ = std::move(probe); }
    // Whether the icon is there to bring a hidden window back.
    bool ShowsIcon() const;

signals:
    // A left click: the window is to come back; a right click: the main
    // menu, at a screen position.
    void showRequested();
    void menuRequested(const QPoint& globalPos);

private:
    QWidget& window_;
    const PlayerSession& session_;
    QSystemTrayIcon* icon_ = nullptr;
    std::function<bool()> hostProbe_;
};
