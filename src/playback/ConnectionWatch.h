#pragma once

#include "app/ChannelTabs.h"
#include "catalogue/StreamOptions.h"
#include "playback/MediaPlayer.h"
#include "playback/TimerHost.h"

#include <QHash>
#include <QString>
#include <QStringList>

class Launcher;
class ChannelHistory;
class PlayerSession;

// What the connection watch needs from the main window: the channel list,
// a few window states and commands, the status panel and message boxes.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;

    // The channel list. Cells of rows that do not exist read as empty text.
    virtual int RowCount() const = 0;
    virtual QString Cell(int row, int column) const = 0;
    virtual void SetConnectCell(int row, const QString& text) = 0;
    virtual int CurrentRow() const = 0; // -1 for none
    virtual void SetCurrentRow(int row) = 0;
    virtual Category CurrentCategory() const = 0;
    // The addresses a row plays from, URL first and then its spares, and
    // whether they came from somebody else's list. By default the URL
    // cell alone, as the user's own.
    struct RowAddresses {
        QStringList addresses;
        bool fromList = false;
        // What the list asks of the player for each address, by address.
        QHash<QString, StreamOptions> options;
    };
    virtual RowAddresses Addresses(int row) const;

    // Window states and commands.
    virtual bool IsFullScreen() const = 0;
    virtual void LeaveFullScreen() = 0;
    virtual bool IsMaximised() const = 0; // maximised to the work area
    virtual bool AutoHideOn() const = 0;  // the automatic-hide option flag
    virtual void ToggleListPanel() = 0;   // flips the panel; refusal is decided before
    virtual void HideMainWindow() = 0;    // like the hide button: only the tray icon stays

    // Message boxes owned by the main window. They may run a nested event loop.
    virtual void ShowMessage(const QString& text) = 0;
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;

    // The service's home page, as the home-page button opens it: whether
    // there is one (a tab uses a service), and opening it.
    virtual bool HasHomePage() const = 0;
    virtual void OpenHomePage() = 0;

    // A play the user or automatic play asked for has started (not a
    // reconnection of the same broadcast): the radio directory counts them.
    // A play began: the row's address and, for a directory station, its id.
    virtual void PlayStarted(const QString& /*address*/, const QString& /*stationUuid*/) {}
};

// Turns a request to play into a running broadcast and reports how it goes:
// the play and stop commands, the once-a-second watch of the player's status
// (timer 1), the elapsed clock (timer 2), and the recovery of a broadcast that
// breaks off while it plays (timer 3).
//
// Settings read and written: "INDEX"/"index" and "AUTOCLOSE".
class ConnectionWatch {
public:
    // Columns of the channel list used here.
    static constexpr int kColumnName = 1;
    static constexpr int kColumnConnect = 3;
    static constexpr int kColumnUrl = 4;
    static constexpr int kColumnWebsite = 5;
    static constexpr int kColumnWebUrl = 6;

    static constexpr int kTimeoutTicks = 15;
    // A broken broadcast is tried again this many times, after these pauses.
    static constexpr int kReconnectAttempts = 3;
    static int ReconnectDelayMs(int attempt); // attempt 1, 2, 3: 1 s, 2 s, 4 s
    // A playing broadcast that delivers nothing (the player waits for data)
    // shows as buffering with the lamp unlit; after this many clock ticks in a
    // row it counts as broken and is connected again.
    static constexpr int kStallLimitTicks = 10;
    // A channel counts as played once it has played this many clock ticks:
    // an address that ends before then is a failed address, and the next
    // one is tried; a break after it is the reconnection's.
    static constexpr int kSettleTicks = 5;
    // How many clock ticks the news that no sound device plays stays up.
    static constexpr int kNoticeTicks = 5;

    // Whether it plays and the channel's name are kept in the session.
    ConnectionWatch(MediaPlayer& player, PlaybackView& view, TimerHost& timers,
                    const Launcher& launcher, PlayerSession& session);

    // Where the address each channel last played from is kept (may be null).
    void SetHistory(ChannelHistory* history) { history_ = history; }

    // The play command (button 1006, start-up automatic play).
    void PlaySelected();
    // The play command of the menus: refuses an empty user channel list.
    void MenuPlay();
    void PlayRow(int row);
    // Connects the player to an address, keeping the channel name and the
    // playing row as they are (a row's own play, a reconnection).
    void PlayUrl(const QString& address);
    // An address typed by the user (the open-URL dialog, a media controller):
    // the user's own broadcast, shown as "사용자방송"; it belongs to no row,
    // so no list cell and no saved position is written for it.
    void PlayAddress(const QString& address);
    void StopPlayback();

    // The addresses of the channel being played, in the order they are
    // tried, and which of them is being tried (0 for the first).
    const QStringList& Addresses() const { return addresses_; }
    int AddressIndex() const { return addressIndex_; }

    // The list panel toggle, refused while maximised or in full screen.
    void ListPanelToggle();

    // Handles ticks of timers 1, 2 and 3; false for any other timer.
    bool OnTimer(PlaybackTimer id);

    // The player says the media it had open has ended; a broadcast that was
    // playing is then treated at once instead of at the next clock tick.
    void OnPlayerEnded();

    // Window destruction: the player is closed and nothing ticks any more.
    void Shutdown();

    bool Playing() const;
    bool Reconnecting() const { return reconnectAttempt_ > 0; }
    // True while a playing broadcast waits for data.
    bool Stalled() const { return stallTicks_ > 0; }
    int PlayingRow() const { return playingRow_; }
    const QString& ChannelName() const;
    const QString& ChannelAddress() const { return channelAddress_; }
    int ConnectingTicks() const { return connectingTicks_; }
    // The elapsed clock as it will show at the next tick.
    int Hours() const { return hours_; }
    int Minutes() const { return minutes_; }
    int Seconds() const { return seconds_; }

private:
    QString ReadCell(int row, int column) const;
    void Connect(const QString& address);
    // Goes on to the channel's next address; false when none is left.
    bool TryNextAddress();
    // The channel's last try failed on every address it has.
    void NoteEveryAddressFailed();
    void RefuseRow();
    void WatchTick();
    void ClockTick();
    void Succeed();
    void TimeOut();
    void FailIdle();
    void BreakOff();
    void Stall(const PlayerStatus& status);
    void StartRecovery();
    bool TellSoundMissing();
    void ScheduleReconnect();
    void ReconnectFailed();
    void GiveUpReconnecting();
    // Nothing ticks, no reconnection waits, nothing plays: what the stop,
    // the shutdown and giving up on a channel have in common.
    void StopWatching();
    void ReconnectTick();
    // The status line and its lamp, and the line alone, go to the session,
    // which the window follows.
    void ShowStatus(const QString& text, bool lampLit);
    void ShowStatusText(const QString& text);
    void SetCell(const QString& text);
    QString DisplayName() const;

    MediaPlayer& player_;
    PlaybackView& view_;
    TimerHost& timers_;
    const Launcher& launcher_;

    int playingRow_ = 0;
    QString channelAddress_;
    QString connectAddress_; // the address last handed to the player
    PlayerSession& session_;
    ChannelHistory* history_ = nullptr;
    // The playing channel's addresses and the one being tried.
    QStringList addresses_;
    int addressIndex_ = 0;
    bool fromList_ = false;                 // the addresses came from somebody else's list
    QHash<QString, StreamOptions> options_; // the row's, by address
    QString playedKey_;                     // the channel's key in the played-address store
    int playedTicks_ = 0;                   // clock ticks the current address has played
    int connectingTicks_ = 0;
    int hours_ = 0;
    int minutes_ = 0;
    int seconds_ = 1;
    // 0 when not recovering; otherwise the number of the try under way or due.
    int reconnectAttempt_ = 0;
    // Clock ticks in a row that found the playing broadcast waiting for data.
    int stallTicks_ = 0;
    // The user is told once per run that there is no sound device.
    bool soundNoticeGiven_ = false;
    int noticeTicks_ = 0; // clock ticks the notice still stays up
    // Bumped by every play and stop; work that ran a nested message loop
    // checks it to see whether the user started or stopped something meanwhile.
    unsigned generation_ = 0;
};
