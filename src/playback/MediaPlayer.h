#pragma once

#include "catalogue/StreamOptions.h"

#include <QString>

// What the player reports when it is asked for its status. The connection
// watch needs only these four classes; a back end maps its own states onto them.
struct PlayerStatus {
    enum class Kind {
        Idle,      // nothing open: never started, failed, stopped or ended
        Opening,   // opening or connecting to the address
        Buffering, // filling its cache; percent says how far
        Playing,   // anything else: the picture or the sound runs
    };

    Kind kind = Kind::Idle;
    int percent = 0; // 0..100, meaningful while buffering

    static PlayerStatus Idle() { return {Kind::Idle, 0}; }
    static PlayerStatus Opening() { return {Kind::Opening, 0}; }
    static PlayerStatus Buffering(int percent) { return {Kind::Buffering, percent}; }
    static PlayerStatus Playing() { return {Kind::Playing, 0}; }

    bool operator==(const PlayerStatus& other) const {
        return kind == other.kind && percent == other.percent;
    }
};

// Why the media that was open last came to an end.
enum class PlayerEnd {
    None,     // still open, never opened, or closed by us
    Finished, // a recording with a length played to its end
    Broken,   // a live stream ended or failed after it had started
};

// The player operations the rest of the program uses. Calls return at once;
// progress shows only through status(), which never blocks.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Ends whatever was opening or playing. Harmless when idle.
    virtual void closeMedia() = 0;
    // Opens the address and starts playing it by itself. An empty address
    // leaves the player idle.
    virtual void setURL(const QString& address) = 0;
    // Opens an address from somebody else's list (a playlist, the radio
    // directory): the streams it leads to (playlists, segments) may use only
    // network protocols, never local files or devices. `options` are what
    // the list asks for this address only (Referer, User-Agent, headers).
    virtual void setListURL(const QString& address, const StreamOptions& options) {
        (void)options;
        setURL(address);
    }
    virtual PlayerStatus status() const = 0;
    // How the last opened media ended (None while it is still open).
    virtual PlayerEnd lastEnd() const = 0;
    // 0 is silence; values outside 0..100 are held to that range.
    virtual void setVolume(int volume) = 0;
    // True while the media has sound that no sound device plays (the
    // machine has none, or it would not open); the picture still plays.
    virtual bool soundMissing() const { return false; }
};

// The player's status line while buffering, "버퍼링: 45% 완료": the watch
// shortens it to the percentage and a blank for the status panel and the list.
inline QString BufferingText(int percent) {
    return QStringLiteral("버퍼링: %1% 완료").arg(percent);
}
