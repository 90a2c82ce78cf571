#pragma once

#include "playback/MediaPlayer.h"
#include "playback/TimerHost.h"

#include <QString>

class PlayerSession;

// What the volume logic needs from the main window.
class VolumeView {
public:
    virtual ~VolumeView() = default;
    // The caption line changed: rebuild the caption strip, invalidate its text area.
    virtual void ShowCaption(const QString& text) = 0;
    // The level bar changed: rebuild the bottom strip, invalidate the volume area.
    virtual void RedrawVolumeBar() = 0;
    // Give mute button 1010 its speaker or crossed-speaker pictures and repaint it.
    virtual void ShowMuteButton(bool muted) = 0;
};

// The program's own volume (0..100, the player is told), mute through the
// volume, the level bar's indicator offset and the three-second volume line.
class VolumeControl {
public:
    // Indicator offset after a volume key: 52 - v/2, 46 below 11, 4 above 93.
    static int KeyOffset(int volume);
    // Indicator offset at start-up: 50 - v/2.
    static int StartupOffset(int volume);
    // Volume from a pointer d pixels right of the volume area's left edge.
    static int PointerVolume(int d);
    // Indicator offset after a pointer change.
    static int PointerOffset(int d, int volume);
    static constexpr int kAreaWidth = 50;
    static constexpr int kCaptionMs = 3000;

    // The level, the mute state, the offset and the caption are kept in the session.
    VolumeControl(MediaPlayer& player, VolumeView& view, TimerHost& timers, PlayerSession& session);

    // Start-up: the saved "Sound", held to 0..100, goes to the player.
    void StartUp();
    // Exit: "Sound" := the volume. The mute state is not kept.
    void Save() const;

    void Up();   // command 32784, Up key
    void Down(); // command 32785, Down key
    // A wheel notch only steps while there is room to step.
    void WheelUp();
    void WheelDown();
    void ToggleMute(); // button 1010, command 32786, M key
    // Press or drag in the volume area, x relative to its left edge.
    void FromPointer(int x);

    // Handles timer 4; false for any other timer.
    bool OnTimer(PlaybackTimer id);

    int Volume() const;
    bool Muted() const;
    int IndicatorOffset() const;
    const QString& CaptionText() const;

private:
    void ShowVolumeLine();

    MediaPlayer& player_;
    VolumeView& view_;
    TimerHost& timers_;
    PlayerSession& session_;
};
