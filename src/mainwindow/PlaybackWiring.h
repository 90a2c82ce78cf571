#pragma once

#include "playback/ChannelHistory.h"
#include "playback/ConnectionWatch.h"
#include "playback/TimerHost.h"
#include "playback/VolumeControl.h"

#include <QObject>

class ChannelListModel;
class ChannelLists;
class Launcher;
class PlayerSession;
class PlayerWidget;
class Prompter;
class QWidget;
class ServiceHome;
class WindowLayout;
class WindowStyle;

// The main window as the connection watch sees it: the channel list, the
// window's states and commands, and its message boxes. What the watch
// shows (the status line, the lamp, the picture) it writes to the session.
class WindowPlaybackView : public PlaybackView {
public:
    WindowPlaybackView(PlayerSession& session, ChannelListModel& list, WindowLayout& layout,
                       WindowStyle& style, Prompter& prompter, const ServiceHome& service,
                       ChannelLists& sources)
        : session_(session), list_(list), layout_(layout), style_(style), prompter_(prompter),
          service_(service), sources_(sources) {}

    int RowCount() const override;
    QString Cell(int row, int column) const override;
    void SetConnectCell(int row, const QString& text) override;
    int CurrentRow() const override;
    void SetCurrentRow(int row) override;
    Category CurrentCategory() const override;
    RowAddresses Addresses(int row) const override;

    bool IsFullScreen() const override;
    void LeaveFullScreen() override;
    bool IsMaximised() const override;
    bool AutoHideOn() const override;
    void ToggleListPanel() override;
    void HideMainWindow() override;

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& caption, const QString& text) override;
    bool HasHomePage() const override;
    void OpenHomePage() override;

    void PlayStarted(const QString& address, const QString& stationUuid) override;

private:
    PlayerSession& session_;
    ChannelListModel& list_;
    WindowLayout& layout_;
    WindowStyle& style_;
    Prompter& prompter_;
    const ServiceHome& service_;
    ChannelLists& sources_;
};

// Everything that plays: the window timers (1, 2, 3 and 4, all ticking into
// one handler as the window's timer messages would), the connection watch
// with the window as its view, and the volume. It also takes the presses
// and drags in the volume area of the bottom bar before the window's own
// mouse handling sees them. Owned by the window (as its child object).
class PlaybackWiring : public QObject {
    Q_OBJECT
public:
    // The parts of the window the watch and the volume act on.
    struct Window {
        QWidget& widget;
        PlayerSession& session;
        ChannelListModel& list;
        WindowLayout& layout;
        WindowStyle& style;
        Prompter& prompter;
        const ServiceHome& service;
        ChannelLists& sources;
        const Launcher& launcher;
    };
    PlaybackWiring(const Window& window, PlayerWidget& player);

    ConnectionWatch& Watch() { return watch_; }
    VolumeControl& Volume() { return volume_; }
    TimerHost& Timers() { return timers_; }
    // At exit: nothing ticks any more and the player is closed.
    void Close();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the player widget reports goes to the session as it happens (the
    // tray and media controllers follow it from there); its double click
    // toggles full screen, and a broadcast that breaks off is seen at once,
    // not at the next clock tick.
    void FollowPlayerWidget(PlayerWidget& player);
    void OnTick(PlaybackTimer id);
    void OnVolumePointer(int x);

    QWidget& window_;
    PlayerSession& session_;
    WindowLayout& layout_;
    bool handCursor_ = false;
    // A press in the volume area holds the level bar until the button is let go.
    bool volumeDrag_ = false;
    QtTimerHost timers_;
    WindowPlaybackView playbackView_;
    ChannelHistory history_;
    ConnectionWatch watch_;
    VolumeControl volume_;
};
