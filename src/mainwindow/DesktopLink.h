#pragma once

#include "app/NowPlaying.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class ChannelListModel;
class PlayerSession;
class Prompter;
class UserChannelCommands;
class WindowTray;
class MprisPlayerHost;
class MprisService;
class QSystemTrayIcon;
class QThread;

// Tells the tray and the media controllers what plays as the session
// changes, and runs playlist imports off the window's thread.
class DesktopLink : public QObject {
    Q_OBJECT
public:
    // What media controllers may ask of the player.
    struct Commands {
        std::function<void()> play, stop, volumeUp, volumeDown, raise, quit;
        std::function<void(const QString& address)> playAddress;
    };
    DesktopLink(QWidget& window, PlayerSession& session, ChannelListModel& list,
                const UserChannelCommands& userChannels, const WindowTray& tray, Prompter& prompter,
                std::function<QString()> dataFolder, Commands commands);
    ~DesktopLink() override;

    // Once, after start-up: the tray icon's tooltip follows what plays from
    // now on, and with mediaControls the player is offered to media
    // controllers (MPRIS) on the session bus when one runs; the bus is
    // joined after the first paint.
    void Start(bool mediaControls);
    // Brings the tray tooltip and the media controllers up to date.
    void Update();
    MprisService* Mpris() const { return mpris_; }

    bool Importing() const { return importThread_ != nullptr; }
    // The user's channels from and to an M3U playlist (32797, 32798, on the
    // user tab only); without a path a file dialog asks for one. The import
    // appends the playlist's channels to the user's file off the window's
    // thread, then shows them; the export leaves no half file on a failure,
    // which is told.
    void ImportPlaylist(const QString& path = QString());
    void ExportPlaylist(const QString& path = QString());

signals:
    // An import has been stored (count channels added) and shown.
    void playlistImported(int count);

private:
    void Import(const QString& path);

    QWidget& window_;
    PlayerSession& session_;
    ChannelListModel& list_;
    const UserChannelCommands& userChannels_;
    const WindowTray& windowTray_;
    Prompter& prompter_;
    std::function<QString()> dataFolder_;
    std::unique_ptr<MprisPlayerHost> host_;
    MprisService* mpris_ = nullptr;
    NowPlaying shown_;
    QPointer<QSystemTrayIcon> tray_;
    bool started_ = false;
    QThread* importThread_ = nullptr;
};
