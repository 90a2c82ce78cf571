#include "playback/ConnectionWatch.h"

#include "app/Launcher.h"
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/ChannelMerge.h"
#include "playback/ChannelHistory.h"
#include "playback/StatusDisplay.h"

#include <algorithm>

namespace {

constexpr int kTickMs = 1000;

// The buffering line without its label and its "done" word: "45% ".
QString ShortenBuffering(QString text) {
    text.remove(QStringLiteral("버퍼링: "));
    text.remove(QStringLiteral("완료"));
    return text;
}

} // namespace

PlaybackView::RowAddresses PlaybackView::Addresses(int row) const {
    return {{Cell(row, ConnectionWatch::kColumnUrl)}, false, {}};
}

int ConnectionWatch::ReconnectDelayMs(int attempt) {
    if (attempt < 1)
        attempt = 1;
    return 1000 << std::min(attempt - 1, 4);
}

ConnectionWatch::ConnectionWatch(MediaPlayer& player, PlaybackView& view, TimerHost& timers,
                                 const Launcher& launcher, PlayerSession& session)
    : player_(player), view_(view), timers_(timers), launcher_(launcher), session_(session) {}

bool ConnectionWatch::Playing() const {
    return session_.IsPlaying();
}

const QString& ConnectionWatch::ChannelName() const {
    return session_.ChannelName();
}

QString ConnectionWatch::ReadCell(int row, int column) const {
    if (row < 0 || row >= view_.RowCount())
        return QString();
    return view_.Cell(row, column);
}

void ConnectionWatch::PlaySelected() {
    if (view_.IsFullScreen())
        view_.LeaveFullScreen();

    int row = view_.CurrentRow();
    if (row == -1) {
        // Nothing chosen yet: the channel that last connected, in whatever
        // category is open.
        row = Settings::ReadNumber(Settings::IndexRead);
        view_.SetCurrentRow(row);
        if (channelAddress_ == QStringLiteral("0")) {
            view_.ShowMessage(StatusDisplay::ChooseChannel());
            return;
        }
        PlayRow(row);
        return;
    }

    // A web-page row opens its page instead of playing. Its cells are read
    // into locals so a broadcast that keeps playing keeps its own name.
    if (ReadCell(row, kColumnWebsite) == QStringLiteral("Y")) {
        launcher_.OpenInBrowser(ReadCell(row, kColumnWebUrl));
        return;
    }
    PlayRow(row);
}

void ConnectionWatch::MenuPlay() {
    if (view_.CurrentCategory() == Category::User && view_.RowCount() == 0) {
        view_.ShowMessage(StatusDisplay::AddChannelFirst());
        return;
    }
    PlaySelected();
}

void ConnectionWatch::PlayRow(int row) {
    playingRow_ = row;
    session_.SetChannelName(ReadCell(row, kColumnName));
    channelAddress_ = ReadCell(row, kColumnUrl);
    PlaybackView::RowAddresses listed;
    if (row >= 0 && row < view_.RowCount())
        listed = view_.Addresses(row);
    fromList_ = listed.fromList;
    options_ = std::move(listed.options);
    addresses_.clear();
    for (const QString& address : std::as_const(listed.addresses)) {
        // A list's address without a stream's scheme never reaches the player.
        if (!fromList_ || ChannelMerge::IsStreamAddress(address))
            addresses_ << address;
    }
    if (fromList_ && addresses_.isEmpty()) {
        RefuseRow();
        return;
    }
    if (addresses_.isEmpty())
        addresses_ << channelAddress_;
    // The address the channel last played from goes first. The key is taken
    // now: the user may open another tab before the channel has played.
    playedKey_ =
        ChannelHistory::ChannelKey(StoredNumberOf(view_.CurrentCategory()), session_.ChannelName());
    if (history_ != nullptr && addresses_.size() > 1) {
        const qsizetype remembered = addresses_.indexOf(history_->PlayedAddress(playedKey_));
        if (remembered > 0)
            addresses_.move(remembered, 0);
    }
    addressIndex_ = 0;
    // The programme guide finds the channel by its tab and addresses.
    session_.SetPlayingChannel(view_.CurrentCategory(), addresses_);
    PlayUrl(addresses_.first());
    view_.PlayStarted(channelAddress_, options_.value(channelAddress_).stationUuid);
}

void ConnectionWatch::RefuseRow() {
    // Nothing is opened: whatever played stops, and the user reads why.
    Shutdown();
    addresses_.clear();
    session_.SetPlayingChannel(Category::None, {});
    session_.SetVideoShown(false);
    ShowStatus(StatusDisplay::RefusedAddress(), false);
    SetCell(ChannelMerge::RefusedMark());
}

bool ConnectionWatch::TryNextAddress() {
    if (addressIndex_ + 1 >= addresses_.size())
        return false;
    ++addressIndex_;
    timers_.StopTimer(PlaybackTimer::Clock);
    session_.SetPlaying(false);
    Connect(addresses_.at(addressIndex_));
    SetCell(StatusDisplay::CellConnecting());
    ShowStatus(
        StatusDisplay::TryingSpareAddress(addressIndex_ + 1, static_cast<int>(addresses_.size())),
        false);
    return true;
}

void ConnectionWatch::NoteEveryAddressFailed() {
    // Only a list's channel is dimmed: the user's own and a typed address
    // are theirs to judge.
    if (fromList_ && history_ != nullptr)
        history_->RememberFailed(playedKey_);
}

void ConnectionWatch::PlayAddress(const QString& address) {
    // Whatever played before, the row's name must not label this stream.
    session_.SetChannelName(QString());
    session_.SetPlayingChannel(Category::None, {});
    channelAddress_ = address;
    addresses_ = QStringList{address};
    addressIndex_ = 0;
    playedKey_.clear();
    fromList_ = false;
    options_.clear();
    PlayUrl(address);
    view_.PlayStarted(address, QString());
}

void ConnectionWatch::PlayUrl(const QString& address) {
    ++generation_;
    reconnectAttempt_ = 0;
    timers_.StopTimer(PlaybackTimer::Reconnect);
    Connect(address);
}

void ConnectionWatch::Connect(const QString& address) {
    timers_.StopTimer(PlaybackTimer::Watch);
    timers_.StopTimer(PlaybackTimer::Clock);
    stallTicks_ = 0;
    noticeTicks_ = 0;
    hours_ = 0;
    minutes_ = 0;
    seconds_ = 1;
    connectingTicks_ = 0;
    playedTicks_ = 0;
    timers_.StartTimer(PlaybackTimer::Watch, kTickMs);
    connectAddress_ = address;
    // The old stream is closed before the new address is given.
    player_.closeMedia();
    if (fromList_)
        player_.setListURL(address, options_.value(address));
    else
        player_.setURL(address);
}

void ConnectionWatch::StopPlayback() {
    // Everything stops as at shutdown; then the window shows that it did.
    Shutdown();
    session_.SetVideoShown(false);
    ShowStatus(StatusDisplay::Stopped(), false);
    if (view_.IsFullScreen())
        view_.LeaveFullScreen();
}

void ConnectionWatch::Shutdown() {
    ++generation_;
    StopWatching();
}

void ConnectionWatch::StopWatching() {
    reconnectAttempt_ = 0;
    stallTicks_ = 0;
    timers_.StopTimer(PlaybackTimer::Watch);
    timers_.StopTimer(PlaybackTimer::Clock);
    timers_.StopTimer(PlaybackTimer::Reconnect);
    session_.SetPlaying(false);
    player_.closeMedia();
}

void ConnectionWatch::ListPanelToggle() {
    if (view_.IsMaximised() || view_.IsFullScreen()) {
        view_.ShowMessage(StatusDisplay::ListToggleRefused());
        return;
    }
    view_.ToggleListPanel();
}

bool ConnectionWatch::OnTimer(PlaybackTimer id) {
    switch (id) {
    case PlaybackTimer::Watch:
        WatchTick();
        return true;
    case PlaybackTimer::Clock:
        ClockTick();
        return true;
    case PlaybackTimer::Reconnect:
        ReconnectTick();
        return true;
    default:
        return false;
    }
}

void ConnectionWatch::ShowStatus(const QString& text, bool lampLit) {
    // The window follows the session's status and repaints the panel.
    session_.SetStatus(text, lampLit);
}

void ConnectionWatch::ShowStatusText(const QString& text) {
    session_.SetStatus(text, session_.IsLampLit());
}

void ConnectionWatch::SetCell(const QString& text) {
    // A broadcast opened by address before any row played belongs to no row.
    if (!session_.ChannelName().isEmpty())
        view_.SetConnectCell(playingRow_, text);
}

QString ConnectionWatch::DisplayName() const {
    // Only the label changes: the channel name itself stays empty, so a later
    // broadcast opened by address writes no list cell and no position.
    if (session_.ChannelName().isEmpty() || session_.ChannelName() == QStringLiteral("0"))
        return StatusDisplay::UserBroadcastName();
    return session_.ChannelName();
}

void ConnectionWatch::WatchTick() {
    const PlayerStatus status = player_.status();
    switch (status.kind) {
    case PlayerStatus::Kind::Idle:
        FailIdle();
        return;
    case PlayerStatus::Kind::Opening:
        ++connectingTicks_;
        if (connectingTicks_ >= kTimeoutTicks) {
            TimeOut();
            return;
        }
        if (reconnectAttempt_ > 0) {
            SetCell(StatusDisplay::CellReconnecting());
            ShowStatus(StatusDisplay::Reconnecting(reconnectAttempt_, kReconnectAttempts), false);
        } else if (addressIndex_ > 0) {
            SetCell(StatusDisplay::CellConnecting());
            ShowStatus(StatusDisplay::TryingSpareAddress(addressIndex_ + 1,
                                                         static_cast<int>(addresses_.size())),
                       false);
        } else {
            SetCell(StatusDisplay::CellConnecting());
            ShowStatus(StatusDisplay::Connecting(), false);
        }
        return;
    case PlayerStatus::Kind::Buffering: {
        const QString shortened = ShortenBuffering(BufferingText(status.percent));
        ShowStatus(StatusDisplay::BufferingPrefix() + shortened, false);
        SetCell(shortened);
        return;
    }
    case PlayerStatus::Kind::Playing:
        Succeed();
        return;
    }
}

void ConnectionWatch::FailIdle() {
    timers_.StopTimer(PlaybackTimer::Watch);
    if (reconnectAttempt_ > 0) {
        ReconnectFailed();
        return;
    }
    // Refused, or an HTTP error: the channel's next address, if it has one.
    if (TryNextAddress())
        return;
    NoteEveryAddressFailed();
    // Nothing plays after a failed connection, whatever played before it.
    session_.SetPlaying(false);
    ShowStatus(StatusDisplay::Failed(), false);
    SetCell(StatusDisplay::CellFailed());
}

void ConnectionWatch::TimeOut() {
    timers_.StopTimer(PlaybackTimer::Watch);
    if (reconnectAttempt_ > 0) {
        player_.closeMedia();
        ReconnectFailed();
        return;
    }
    if (TryNextAddress())
        return;
    NoteEveryAddressFailed();
    StopPlayback();
    ShowStatus(StatusDisplay::Failed(), false);
    // Timers are stopped before the question opens, so no tick re-enters the
    // watch while it waits for an answer.
    if (view_.HasHomePage()) {
        if (view_.AskYesNo(StatusDisplay::MessageCaption(), StatusDisplay::TimeoutQuestion()))
            view_.OpenHomePage();
        return;
    }
    // Without a service there is no home page to ask: the user may try again.
    const QString address = connectAddress_;
    const unsigned generation = generation_;
    if (view_.AskYesNo(StatusDisplay::MessageCaption(), StatusDisplay::TimeoutRetryQuestion()) &&
        generation == generation_)
        PlayUrl(address);
}

void ConnectionWatch::Succeed() {
    timers_.StopTimer(PlaybackTimer::Watch);
    const bool recovered = reconnectAttempt_ > 0;
    reconnectAttempt_ = 0;
    session_.SetPlaying(true);
    if (fromList_ && history_ != nullptr)
        history_->ForgetFailed(playedKey_);
    const bool notice = TellSoundMissing();
    ShowStatus(notice ? session_.StatusText() : StatusDisplay::Connected(), true);
    if (!session_.ChannelName().isEmpty()) {
        SetCell(StatusDisplay::CellConnected());
        Settings::WriteNumber(Settings::IndexWritten, playingRow_);
    }

    // Closing the list and hiding the window belong to the user's choice of a
    // channel, not to a recovery of the same broadcast.
    if (!recovered && Settings::ReadFlagAs(Settings::AutoClose, Settings::ReadRule::OnlyOne)) {
        const unsigned generation = generation_;
        ListPanelToggle();
        // The refusal box runs a nested event loop: if the user played or
        // stopped something meanwhile, this success is no longer current.
        if (generation != generation_)
            return;
    }

    // The channel's own tab decides, not the one open now: the user may
    // have chosen another while it connected. An address typed by hand has
    // none and goes by the open tab.
    const Category playing = session_.PlayingCategory() != Category::None
                                 ? session_.PlayingCategory()
                                 : view_.CurrentCategory();
    if (!IsSoundOnly(playing))
        session_.SetVideoShown(true);
    else if (!recovered && view_.AutoHideOn())
        view_.HideMainWindow();

    timers_.StartTimer(PlaybackTimer::Clock, kTickMs);
}

void ConnectionWatch::ClockTick() {
    const PlayerStatus status = player_.status();
    if (status.kind == PlayerStatus::Kind::Idle) {
        BreakOff();
        return;
    }
    if (status.kind != PlayerStatus::Kind::Playing) {
        Stall(status);
        return;
    }
    // Data flows again: the lamp lights and the clock goes on where it stood.
    const bool resumed = stallTicks_ > 0;
    stallTicks_ = 0;
    // Played long enough to count: this address is the one tried first next time.
    if (++playedTicks_ == kSettleTicks && history_ != nullptr && addresses_.size() > 1 &&
        !session_.ChannelName().isEmpty())
        history_->RememberPlayed(playedKey_, connectAddress_);
    if (seconds_ == 60) {
        seconds_ = 0;
        ++minutes_;
        if (minutes_ == 60) {
            minutes_ = 0;
            ++hours_;
        }
    }
    const QString line = StatusDisplay::PlayingLine(DisplayName(), hours_, minutes_, seconds_);
    ++seconds_;
    // The clock counts on underneath a notice; its line comes back after it.
    const bool notice = TellSoundMissing() || (noticeTicks_ > 0 && --noticeTicks_ > 0);
    // The text changes even in full screen, so leaving it shows the current time.
    ShowStatus(notice ? session_.StatusText() : line, resumed || session_.IsLampLit());
    if (resumed)
        SetCell(StatusDisplay::CellConnected());
}

bool ConnectionWatch::TellSoundMissing() {
    // Playback reaching "playing" with nothing audible would otherwise look
    // like a fault of the channel.
    if (soundNoticeGiven_ || !player_.soundMissing())
        return false;
    soundNoticeGiven_ = true;
    noticeTicks_ = kNoticeTicks;
    ShowStatusText(StatusDisplay::ConnectedWithoutSound());
    return true;
}

void ConnectionWatch::Stall(const PlayerStatus& status) {
    // The connection is open but nothing arrives: the player plays out what
    // it holds and then waits. The user sees it wait, and the clock does
    // not count time in which nothing played.
    if (++stallTicks_ >= kStallLimitTicks) {
        // mpv would wait out its own network time-out; a fresh connection
        // usually gets going sooner, and otherwise fails in a known way.
        player_.closeMedia();
        StartRecovery();
        return;
    }
    const QString shortened = ShortenBuffering(
        BufferingText(status.kind == PlayerStatus::Kind::Buffering ? status.percent : 0));
    SetCell(shortened);
    ShowStatus(StatusDisplay::BufferingPrefix() + shortened, false);
}

void ConnectionWatch::OnPlayerEnded() {
    if (session_.IsPlaying() && timers_.IsTimerRunning(PlaybackTimer::Clock))
        BreakOff();
}

void ConnectionWatch::BreakOff() {
    timers_.StopTimer(PlaybackTimer::Clock);
    if (player_.lastEnd() == PlayerEnd::Finished) {
        // A recording that played to its end: nothing to recover.
        StopPlayback();
        return;
    }
    // An address that ends within its first seconds has not played the
    // channel: the next one is tried before any reconnection.
    if (playedTicks_ < kSettleTicks && reconnectAttempt_ == 0 && TryNextAddress())
        return;
    StartRecovery();
}

void ConnectionWatch::StartRecovery() {
    timers_.StopTimer(PlaybackTimer::Clock);
    stallTicks_ = 0;
    session_.SetPlaying(false);
    reconnectAttempt_ = 1;
    ScheduleReconnect();
}

void ConnectionWatch::ScheduleReconnect() {
    // reconnectAttempt_ is the number of the try that comes next.
    SetCell(StatusDisplay::CellReconnecting());
    ShowStatus(StatusDisplay::Reconnecting(reconnectAttempt_, kReconnectAttempts), false);
    timers_.StartTimer(PlaybackTimer::Reconnect, ReconnectDelayMs(reconnectAttempt_));
}

void ConnectionWatch::ReconnectFailed() {
    if (reconnectAttempt_ >= kReconnectAttempts) {
        GiveUpReconnecting();
        return;
    }
    ++reconnectAttempt_;
    ScheduleReconnect();
}

void ConnectionWatch::ReconnectTick() {
    timers_.StopTimer(PlaybackTimer::Reconnect);
    if (reconnectAttempt_ == 0)
        return;
    Connect(connectAddress_);
}

void ConnectionWatch::GiveUpReconnecting() {
    StopWatching();
    session_.SetVideoShown(false);
    ShowStatus(StatusDisplay::Failed(), false);
    SetCell(StatusDisplay::CellFailed());
    if (view_.IsFullScreen())
        view_.LeaveFullScreen();
}
