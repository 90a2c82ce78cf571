#pragma once

#include "app/ChannelTabs.h"
#include "app/NowPlaying.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The options the window acts on; each one is a flag of the session.
enum class SessionOption {
    OnTop,            // always on top
    AutoPlay,         // play the saved channel at start-up
    AutoClose,        // close the list panel after a channel is chosen
    AutoHide,         // hide the window while a radio or music channel plays
    StartWithSession, // start with the desktop session
    Magnet,           // snap to the screen's edges
    TrayStyle,        // no taskbar button
    ListCheck,        // the check mark of the main menu's first item; nothing sets it
    HideFailed,       // leave out list channels that failed on every address
    HideGeoBlocked,   // leave out list channels marked as geo-blocked
    Count
};

// What the running player is doing and showing, in one place: the options,
// the volume, which tab and row are chosen, what plays and how it goes, and
// the window's states. Whoever changes a value calls its setter; whoever
// shows it (the window, the tray, media controllers, the dialogs) reads it
// here and follows its change signal, which fires only when the value
// really changed.
class PlayerSession : public QObject {
    Q_OBJECT
public:
    explicit PlayerSession(QObject* parent = nullptr);

    // --- options ---
    bool IsOn(SessionOption option) const;
    void SetOn(SessionOption option, bool on);
    // Flips the option and returns its new state.
    bool Toggle(SessionOption option);
    // The window goes without a taskbar button only while a tray can show
    // the icon that brings it back: else it would be out of reach. The tray
    // is asked only when the option is on: asking takes a round trip to the
    // session bus, which every start would otherwise pay before the window.
    template <typename TrayProbe> bool UsesToolWindow(TrayProbe&& trayHostAvailable) const {
        return IsOn(SessionOption::TrayStyle) && trayHostAvailable();
    }

    // --- volume: 0..100 as the player is told, mute, the level bar's offset ---
    int Volume() const { return volume_; }
    void SetVolume(int volume);
    bool IsMuted() const { return muted_; }
    void SetMuted(bool muted);
    int IndicatorOffset() const { return indicatorOffset_; }
    void SetIndicatorOffset(int offset);
    // The caption line (the volume line while it shows, else empty).
    const QString& CaptionText() const { return captionText_; }
    void SetCaptionText(const QString& text);
    // What the caption's text area shows: the volume line while it is up,
    // else, while a channel plays, its programme line ("뉴스9  21:00–22:00").
    QString ShownCaption() const;

    // --- what is chosen ---
    // The main tab: channel lists, music pages or movie pages.
    ::MainTab MainTab() const { return mainTab_; }
    void SetMainTab(::MainTab tab);
    // The category chosen last.
    ::Category Category() const { return category_; }
    // The category whose list the panel shows, None for none yet.
    ::Category ShownCategory() const { return shownCategory_; }
    // Chooses a category and shows its list.
    void SetCategory(::Category category);
    void SetShownCategory(::Category category);
    // The selected row of the list, -1 for none.
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);

    // --- what plays ---
    bool IsPlaying() const { return playing_; }
    void SetPlaying(bool playing);
    // What the player itself reports: opening or buffering is a broadcast
    // connecting.
    enum class Activity { Idle, Opening, Buffering, Playing };
    void SetPlayerActivity(Activity activity);
    // The channel's name as the status line gives it.
    const QString& ChannelName() const { return channelName_; }
    void SetChannelName(const QString& name);
    // The radio's current title; it belongs to the broadcast it came with.
    void SetStreamTitle(const QString& title);
    // The list channel being played, as the programme guide knows it: the
    // tab it was started from and its addresses (none for an address typed
    // by hand). Set by the connection watch when a row starts.
    ::Category PlayingCategory() const { return playingCategory_; }
    const QStringList& PlayingAddresses() const { return playingAddresses_; }
    void SetPlayingChannel(::Category category, const QStringList& addresses);
    // The programme on now (from the guide) and its caption line; empty
    // when the channel has no guide. Shown only while it plays.
    const QString& ProgrammeTitle() const { return programmeTitle_; }
    const QString& ProgrammeCaption() const { return programmeCaption_; }
    void SetProgramme(const QString& title, const QString& caption);
    // What plays, as the tray and media controllers tell it.
    NowPlaying CurrentNowPlaying() const;
    // The status line and its lamp.
    const QString& StatusText() const { return statusText_; }
    bool IsLampLit() const { return lampLit_; }
    void SetStatus(const QString& text, bool lampLit);
    // Whether the player's picture is shown in the video area (a channel
    // with a picture plays); else the area shows the logo.
    bool IsVideoShown() const { return videoShown_; }
    void SetVideoShown(bool shown);

    // --- the window ---
    bool IsFullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);
    bool IsMaximised() const { return maximised_; }
    void SetMaximised(bool on);
    bool IsListPanelOpen() const { return listPanelOpen_; }
    void SetListPanelOpen(bool open);

signals:
    void optionChanged(SessionOption option, bool on);
    void volumeChanged(int volume);
    void mutedChanged(bool muted);
    void indicatorOffsetChanged(int offset);
    void captionTextChanged(const QString& text);
    // The programme line changed (the caption's text area is drawn anew).
    void programmeChanged();
    void mainTabChanged(::MainTab tab);
    void categoryChanged(::Category category);
    void shownCategoryChanged(::Category category);
    void currentRowChanged(int row);
    void playingChanged(bool playing);
    void statusChanged();
    void videoShownChanged(bool shown);
    // Any change of CurrentNowPlaying().
    void nowPlayingChanged();
    void fullScreenChanged(bool on);
    void maximisedChanged(bool on);
    void listPanelOpenChanged(bool open);

private:
    // Runs a change of what plays and tells the desktop when that changed.
    template <typename Change> void ChangeNowPlaying(Change change);

    bool options_[static_cast<int>(SessionOption::Count)] = {};
    int volume_ = 0;
    bool muted_ = false;
    int indicatorOffset_ = 0;
    QString captionText_;
    ::MainTab mainTab_ = ::MainTab::Channels;
    ::Category category_ = ::Category::Tv;
    ::Category shownCategory_ = ::Category::None;
    int currentRow_ = -1;
    bool playing_ = false;
    Activity activity_ = Activity::Idle;
    QString channelName_;
    QString streamTitle_;
    ::Category playingCategory_ = ::Category::None;
    QStringList playingAddresses_;
    QString programmeTitle_;
    QString programmeCaption_;
    QString statusText_;
    bool lampLit_ = false;
    bool videoShown_ = false;
    bool fullScreen_ = false;
    bool maximised_ = false;
    bool listPanelOpen_ = true;
};
