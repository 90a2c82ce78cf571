#pragma once

#include <QString>

// What plays now, as the desktop is told about it: the tray icon's tooltip
// and media controllers (MPRIS).
struct NowPlaying {
    enum class State { Stopped, Connecting, Playing };

    State state = State::Stopped;
    QString channel;     // the name shown while it plays
    QString streamTitle; // the radio's current title (ICY), may be empty
    QString programme;   // the TV guide's programme on now, may be empty

    bool operator==(const NowPlaying& other) const {
        return state == other.state && channel == other.channel &&
               streamTitle == other.streamTitle && programme == other.programme;
    }
    bool operator!=(const NowPlaying& other) const { return !(*this == other); }

    // The tray icon's tooltip: "WAVEORBIT" alone while nothing plays, then
    // the channel and, below it, the stream's title or else the programme
    // on now when there is one.
    QString TrayToolTip() const;
};
