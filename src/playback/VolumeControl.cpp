#include "playback/VolumeControl.h"

#include "app/SettingsTable.h"
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

VolumeControl::VolumeControl(MediaPlayer& player, VolumeView& view, TimerHost& timers)
    : player_(player), view_(view), timers_(timers) {}

void VolumeControl::StartUp() {
    volume_ = Settings::ReadNumber(Settings::Sound);
    muted_ = false;
    player_.setVolume(volume_);
    offset_ = StartupOffset(volume_);
    view_.RedrawVolumeBar();
}

void VolumeControl::Save() const {
    Settings::WriteNumber(Settings::Sound, volume_);
}

void VolumeControl::Up() {
    if (volume_ < 100) {
        volume_ = std::min(volume_ + 5, 100);
        offset_ = KeyOffset(volume_);
        if (!muted_)
            player_.setVolume(volume_);
    } else if (volume_ > 100) {
        // A saved level out of range comes back at the first key.
        volume_ = 100;
        if (!muted_)
            player_.setVolume(volume_);
    }
    ShowVolumeLine();
}

void VolumeControl::Down() {
    if (volume_ > 0) {
        volume_ = std::max(volume_ - 5, 0);
        offset_ = KeyOffset(volume_);
        if (!muted_)
            player_.setVolume(volume_);
    } else if (volume_ < 0) {
        // The player already holds anything below 0 at silence.
        volume_ = 0;
    }
    ShowVolumeLine();
}

void VolumeControl::WheelUp() {
    if (volume_ < 100)
        Up();
}

void VolumeControl::WheelDown() {
    if (volume_ > 0)
        Down();
}

void VolumeControl::ShowVolumeLine() {
    caption_ = StatusDisplay::VolumeCaption(volume_);
    view_.ShowCaption(caption_);
    timers_.StartTimer(PlaybackTimer::Caption, kCaptionMs);
    view_.RedrawVolumeBar();
}

void VolumeControl::ToggleMute() {
    if (!muted_) {
        player_.setVolume(0);
        muted_ = true;
        caption_ = StatusDisplay::MutedCaption();
    } else {
        player_.setVolume(volume_);
        muted_ = false;
        caption_ = StatusDisplay::VolumeCaption(volume_);
    }
    view_.ShowMuteButton(muted_);
    view_.ShowCaption(caption_);
    timers_.StartTimer(PlaybackTimer::Caption, kCaptionMs);
}

void VolumeControl::FromPointer(int x) {
    // A drag may leave the area; the bar window must stay inside its bitmap.
    const int d = std::clamp(x, 0, kAreaWidth - 1);
    volume_ = PointerVolume(d);
    // The pointer sets the sound even while muted; the mute flag stays.
    player_.setVolume(volume_);
    offset_ = PointerOffset(d, volume_);
    view_.RedrawVolumeBar();
}

bool VolumeControl::OnTimer(int id) {
    if (id != PlaybackTimer::Caption)
        return false;
    timers_.StopTimer(PlaybackTimer::Caption);
    caption_.clear();
    view_.ShowCaption(caption_);
    return true;
}
