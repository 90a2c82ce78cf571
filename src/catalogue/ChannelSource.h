#pragma once

#include <QString>

#include <optional>

// Where one catalogue tab takes its channels from. Stored as one line of
// text: "service <address>", "playlist <address>" or "directory <query>".
struct ChannelSource {
    enum class Kind {
        Service,   // the catalogue service (Base64 catalogues) at an address
        Playlist,  // an M3U/M3U8 playlist: http, https or a local file
        Directory, // the radio directory, with a query such as "countrycode=KR"
    };

    Kind kind = Kind::Service;
    QString address; // the service's base address, the playlist, or the query

    // The address as the program uses it: trimmed, and a service's without
    // the slashes it may end in (its paths are added after a "/" of their own).
    static ChannelSource Of(Kind kind, const QString& address);
    // nullopt for text that names no kind or has nothing after it.
    static std::optional<ChannelSource> Parse(const QString& text);
    QString ToText() const;

    bool operator==(const ChannelSource& other) const {
        return kind == other.kind && address == other.address;
    }
    bool operator!=(const ChannelSource& other) const { return !(*this == other); }
};
