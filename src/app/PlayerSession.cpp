#include "app/PlayerSession.h"

namespace {

// Stores a new value; true when it differs from the old one.
template <typename T> bool Store(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

PlayerSession::PlayerSession(QObject* parent)
    : QObject(parent), statusText_(QStringLiteral("현재 방송을 시청중이지 않습니다.")) {}

bool PlayerSession::IsOn(SessionOption option) const {
    const int i = static_cast<int>(option);
    return i >= 0 && i < static_cast<int>(SessionOption::Count) && options_[i];
}

void PlayerSession::SetOn(SessionOption option, bool on) {
    const int i = static_cast<int>(option);
    if (i < 0 || i >= static_cast<int>(SessionOption::Count))
        return;
    if (Store(options_[i], on))
        emit optionChanged(option, on);
}

bool PlayerSession::Toggle(SessionOption option) {
    SetOn(option, !IsOn(option));
    return IsOn(option);
}

void PlayerSession::SetVolume(int volume) {
    if (Store(volume_, volume))
        emit volumeChanged(volume);
}

void PlayerSession::SetMuted(bool muted) {
    if (Store(muted_, muted))
        emit mutedChanged(muted);
}

void PlayerSession::SetIndicatorOffset(int offset) {
    if (Store(indicatorOffset_, offset))
        emit indicatorOffsetChanged(offset);
}

void PlayerSession::SetCaptionText(const QString& text) {
    if (Store(captionText_, text))
        emit captionTextChanged(text);
}

QString PlayerSession::ShownCaption() const {
    if (!captionText_.isEmpty())
        return captionText_;
    return playing_ ? programmeCaption_ : QString();
}

void PlayerSession::SetMainTab(::MainTab tab) {
    if (Store(mainTab_, tab))
        emit mainTabChanged(tab);
}

void PlayerSession::SetCategory(::Category category) {
    if (Store(category_, category))
        emit categoryChanged(category);
    SetShownCategory(category);
}

void PlayerSession::SetShownCategory(::Category category) {
    if (Store(shownCategory_, category))
        emit shownCategoryChanged(category);
}

void PlayerSession::SetCurrentRow(int row) {
    // Anything below the first row means no row.
    if (Store(currentRow_, row < 0 ? -1 : row))
        emit currentRowChanged(currentRow_);
}

template <typename Change> void PlayerSession::ChangeNowPlaying(Change change) {
    const NowPlaying before = CurrentNowPlaying();
    change();
    if (CurrentNowPlaying() != before)
        emit nowPlayingChanged();
}

void PlayerSession::SetPlaying(bool playing) {
    ChangeNowPlaying([&] {
        if (Store(playing_, playing))
            emit playingChanged(playing);
    });
}

void PlayerSession::SetPlayerActivity(Activity activity) {
    ChangeNowPlaying([&] {
        activity_ = activity;
        // A title belongs to the broadcast it came with.
        if (activity == Activity::Idle || activity == Activity::Opening)
            streamTitle_.clear();
    });
}

void PlayerSession::SetChannelName(const QString& name) {
    ChangeNowPlaying([&] { channelName_ = name; });
}

void PlayerSession::SetStreamTitle(const QString& title) {
    ChangeNowPlaying([&] { streamTitle_ = title; });
}

void PlayerSession::SetPlayingChannel(::Category category, const QStringList& addresses) {
    playingCategory_ = category;
    playingAddresses_ = addresses;
}

void PlayerSession::SetProgramme(const QString& title, const QString& caption) {
    const bool captionChanged = caption != programmeCaption_;
    ChangeNowPlaying([&] {
        programmeTitle_ = title;
        programmeCaption_ = caption;
    });
    if (captionChanged)
        emit programmeChanged();
}

NowPlaying PlayerSession::CurrentNowPlaying() const {
    NowPlaying now;
    if (playing_)
        now.state = NowPlaying::State::Playing;
    else if (activity_ == Activity::Opening || activity_ == Activity::Buffering)
        now.state = NowPlaying::State::Connecting;
    else
        return now;
    // An address opened by hand plays under the name the status line gives it.
    now.channel = channelName_;
    if (now.channel.isEmpty() || now.channel == QStringLiteral("0"))
        now.channel = QStringLiteral("사용자방송");
    if (now.state == NowPlaying::State::Playing) {
        now.streamTitle = streamTitle_;
        now.programme = programmeTitle_;
    }
    return now;
}

void PlayerSession::SetStatus(const QString& text, bool lampLit) {
    const bool textChanged = Store(statusText_, text);
    if (Store(lampLit_, lampLit) || textChanged)
        emit statusChanged();
}

void PlayerSession::SetVideoShown(bool shown) {
    if (Store(videoShown_, shown))
        emit videoShownChanged(shown);
}

void PlayerSession::SetFullScreen(bool on) {
    if (Store(fullScreen_, on))
        emit fullScreenChanged(on);
}

void PlayerSession::SetMaximised(bool on) {
    if (Store(maximised_, on))
        emit maximisedChanged(on);
}

void PlayerSession::SetListPanelOpen(bool open) {
    if (Store(listPanelOpen_, open))
        emit listPanelOpenChanged(open);
}
