#include "playback/VolumeControl.h"

#include "app/PlayerSession.h"
#include "playback/StatusDisplay.h"

#include <algorithm>

int VolumeControl::KeyOffset(int volume) {
    if (volume < 11)
        return 46;
    if (volume > 93)
        return 4;
    return 52 - volume / 2;
}

int VolumeControl::StartupOffset(int volume) {
    return 50 - volume / 2;
}

int VolumeControl::PointerVolume(int d) {
    return std::clamp(2 * d - 6, 0, 100);
}

int VolumeControl::PointerOffset(int d, int volume) {
    if (volume < 7)
        return 49;
    if (volume > 95)
        return 0;
    return 50 - d;
}

VolumeControl::VolumeControl(MediaPlayer& player, TimerHost& timers, PlayerSession& session)
    : player_(player), timers_(timers), session_(session) {}

int VolumeControl::Volume() const {
    return session_.Volume();
}

bool VolumeControl::Muted() const {
    return session_.IsMuted();
}

int VolumeControl::IndicatorOffset() const {
    return session_.IndicatorOffset();
}

const QString& VolumeControl::CaptionText() const {
    return session_.CaptionText();
}

void VolumeControl::StartUp(int storedVolume) {
    // A stored value out of range (edited by hand, or from another program)
    // would put the level bar's window outside its picture and be written
    // back as it came: it is held to the range like every other change.
    const int volume = std::clamp(storedVolume, 0, 100);
    session_.SetVolume(volume);
    session_.SetMuted(false);
    player_.setVolume(volume);
    session_.SetIndicatorOffset(StartupOffset(volume));
}

void VolumeControl::Up() {
    const int volume = session_.Volume();
    if (volume < 100) {
        session_.SetVolume(std::min(volume + 5, 100));
        session_.SetIndicatorOffset(KeyOffset(session_.Volume()));
        if (!session_.IsMuted())
            player_.setVolume(session_.Volume());
    } else if (volume > 100) {
        // A saved level out of range comes back at the first key.
        session_.SetVolume(100);
        if (!session_.IsMuted())
            player_.setVolume(100);
    }
    ShowVolumeLine();
}

void VolumeControl::Down() {
    const int volume = session_.Volume();
    if (volume > 0) {
        session_.SetVolume(std::max(volume - 5, 0));
        session_.SetIndicatorOffset(KeyOffset(session_.Volume()));
        if (!session_.IsMuted())
            player_.setVolume(session_.Volume());
    } else if (volume < 0) {
        // The player already holds anything below 0 at silence.
        session_.SetVolume(0);
    }
    ShowVolumeLine();
}

void VolumeControl::WheelUp() {
    if (session_.Volume() < 100)
        Up();
}

void VolumeControl::WheelDown() {
    if (session_.Volume() > 0)
        Down();
}

void VolumeControl::ShowVolumeLine() {
    session_.SetCaptionText(StatusDisplay::VolumeCaption(session_.Volume()));
    timers_.StartTimer(PlaybackTimer::Caption, kCaptionMs);
}

void VolumeControl::ToggleMute() {
    if (!session_.IsMuted()) {
        player_.setVolume(0);
        session_.SetMuted(true);
        session_.SetCaptionText(StatusDisplay::MutedCaption());
    } else {
        player_.setVolume(session_.Volume());
        session_.SetMuted(false);
        session_.SetCaptionText(StatusDisplay::VolumeCaption(session_.Volume()));
    }
    timers_.StartTimer(PlaybackTimer::Caption, kCaptionMs);
}

void VolumeControl::FromPointer(int x) {
    // A drag may leave the area; the bar window must stay inside its bitmap.
    const int d = std::clamp(x, 0, kAreaWidth - 1);
    const int volume = PointerVolume(d);
    session_.SetVolume(volume);
    // The pointer sets the sound even while muted; the mute flag stays.
    player_.setVolume(volume);
    session_.SetIndicatorOffset(PointerOffset(d, volume));
}

bool VolumeControl::OnTimer(PlaybackTimer id) {
    if (id != PlaybackTimer::Caption)
        return false;
    timers_.StopTimer(PlaybackTimer::Caption);
    session_.SetCaptionText(QString());
    return true;
}
