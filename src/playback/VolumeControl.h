#pragma once

#include "playback/MediaPlayer.h"
#include "playback/TimerHost.h"

#include <QString>

class PlayerSession;

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

    // The level, the mute state, the offset and the caption are kept in the
    // session; the window follows their changes there.
    VolumeControl(MediaPlayer& player, TimerHost& timers, PlayerSession& session);

    // Start-up: the saved volume ("Sound"), held to 0..100, goes to the
    // player. The session keeps the level; the mute state starts off.
    void StartUp(int storedVolume);

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
    TimerHost& timers_;
    PlayerSession& session_;
};
