#pragma once

#include "playback/ChannelHistory.h"
#include "playback/ConnectionWatch.h"
#include "playback/TimerHost.h"
#include "playback/VolumeControl.h"

#include <QObject>

class CPlayerDlg;
class PlayerWidget;

// The main window as the connection watch sees it: the channel list, the
// window's states and commands, the status panel and its message boxes.
class WindowPlaybackView : public PlaybackView {
public:
    explicit WindowPlaybackView(CPlayerDlg& window) : window_(window) {}

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

    void SetStatusText(const QString& text) override;
    void SetLamp(bool lit) override;
    void RedrawStatusPanel() override;
    void RedrawStatusText() override;
    void ShowVideo() override;
    void HideVideo() override;

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& caption, const QString& text) override;
    bool HasHomePage() const override;
    void OpenHomePage() override;

    void PlayStarted(const QString& address, const QString& stationUuid) override;

private:
    CPlayerDlg& window_;
};

// The main window as the volume logic sees it: the caption line, the level
// bar and the mute button.
class WindowVolumeView : public VolumeView {
public:
    explicit WindowVolumeView(CPlayerDlg& window) : window_(window) {}

    void ShowCaption(const QString& text) override;
    void RedrawVolumeBar() override;
    void ShowMuteButton(bool muted) override;

private:
    CPlayerDlg& window_;
};

// Everything that plays: the window timers (1, 2, 3 and 4, all ticking into
// one handler as the window's timer messages would), the connection watch
// and the volume, with the window as their view. It also takes the presses
// and drags in the volume area of the bottom bar before the window's own
// mouse handling sees them. Owned by the window (as its child object).
class PlaybackWiring : public QObject {
    Q_OBJECT
public:
    PlaybackWiring(CPlayerDlg& window, MediaPlayer& player);

    ConnectionWatch& Watch() { return watch_; }
    VolumeControl& Volume() { return volume_; }
    TimerHost& Timers() { return timers_; }
    // What the player widget reports goes to the session as it happens (the
    // tray and media controllers follow it from there); its double click
    // toggles full screen, and a broadcast that breaks off is seen at once,
    // not at the next clock tick.
    void FollowPlayerWidget(PlayerWidget& player);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTick(PlaybackTimer id);

    CPlayerDlg& window_;
    bool handCursor_ = false;
    // A press in the volume area holds the level bar until the button is let go.
    bool volumeDrag_ = false;
    QtTimerHost timers_;
    WindowPlaybackView playbackView_;
    WindowVolumeView volumeView_;
    ChannelHistory history_;
    ConnectionWatch watch_;
    VolumeControl volume_;
};
