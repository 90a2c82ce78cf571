#pragma once

#include "app/NowPlaying.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class CPlayerDlg;
class MprisPlayerHost;
class MprisService;
class QSystemTrayIcon;
class QThread;

// Tells the tray and the media controllers what plays as the session
// changes, and runs playlist imports off the window's thread.
class DesktopLink : public QObject {
public:
    explicit DesktopLink(CPlayerDlg& window);
    ~DesktopLink() override;

    // Once: follows the session from now on; with mediaControls the player
    // is offered on the session bus.
    void Start(bool mediaControls);
    // Brings the tray tooltip and the media controllers up to date.
    void Update();
    MprisService* Mpris() const { return mpris_; }

    bool Importing() const { return importThread_ != nullptr; }
    // Appends the playlist's channels to the user's file, then shows them.
    void Import(const QString& path);
    // The same for the list's menu: without a path a file dialog asks for one.
    void ImportChosen(const QString& givenPath);
    // Writes the user's channels to a playlist (a file dialog asks for the
    // path when none is given); a failure is told, never a half file left.
    void ExportChosen(const QString& givenPath);

private:
    CPlayerDlg& window_;
    std::unique_ptr<MprisPlayerHost> host_;
    MprisService* mpris_ = nullptr;
    NowPlaying shown_;
    QPointer<QSystemTrayIcon> tray_;
    bool started_ = false;
    QThread* importThread_ = nullptr;
};
