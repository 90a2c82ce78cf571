#pragma once

#include "catalogue/ChannelRecord.h"
#include "catalogue/StreamOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

// M3U and M3U8 playlists, read into the user's own channels and written
// from them. Reading takes what players and IPTV lists write in practice:
// an optional "#EXTM3U" header, "#EXTINF:<duration> key="value" ...,<title>"
// before a stream address, "#EXTGRP:<group>", plain address lines with no
// "#EXTINF" at all, any other "#" line as a comment; UTF-8 (with or without
// a byte-order mark) or CP949; CR LF, LF or CR line ends. Writing gives
// UTF-8 with LF line ends.
//
// Beyond name, group and address an entry keeps every "#EXTINF" attribute
// (tvg-id, tvg-chno, tvg-logo, ...) and the options players honour for one
// channel: "#EXTVLCOPT:http-referrer=", "#EXTVLCOPT:http-user-agent=",
// "#KODIPROP:inputstream.adaptive.(stream|manifest)_headers=", "#EXTHTTP:{json}"
// and the "address|Name=value&..." form. Relative addresses are resolved
// against the playlist's own address when one is given.
namespace M3uPlaylist {

struct Entry {
    Entry() = default;
    Entry(QString name_, QString group_, QString url_)
        : name(std::move(name_)), group(std::move(group_)), url(std::move(url_)) {}

    QString name;  // the "#EXTINF" title, else tvg-name, else the address
    QString group; // group-title (or "#EXTGRP"); may be empty
    QString url;
    // The "#EXTINF" attributes as the line wrote them (key="value" ...),
    // read by Attribute(): kept whole rather than as a map, since lists of
    // tens of thousands of entries look at one or two of them.
    QString attributeText;
    StreamOptions options;

    // An attribute's value, trimmed; the key in any case; the last one
    // written wins; empty when missing.
    QString Attribute(const char* key) const;

    bool operator==(const Entry& other) const {
        return name == other.name && group == other.group && url == other.url;
    }
};

std::vector<Entry> Parse(const QByteArray& contents, const QUrl& base = QUrl());

// The programme guides the playlist's header names: "#EXTM3U
// x-tvg-url="a,b"", "url-tvg=" or "tvg-url=" (each a comma-separated list),
// in the order written, each once. Only the "#EXTM3U" line is looked at.
QStringList GuideAddresses(const QByteArray& contents);
QByteArray Write(const std::vector<Entry>& entries);

// The user channel an entry becomes: NUM "일반등록", NAME, the group as
// INFO, CONNECT "연결대기", URL, WEBSITE "N", WEBURL the given home page.
// The record is storable in user.dat ("#" written as "＃") and cut to the
// file's field length.
ChannelRecord ToUserRecord(const Entry& entry, const QString& homePage);
// A list row as an entry (NAME, INFO as group, URL).
Entry FromRecord(const ChannelRecord& record);

// Every row that has a stream address, in the given order.
std::vector<Entry> FromRecords(const std::vector<ChannelRecord>& records);
std::vector<ChannelRecord> ToUserRecords(const std::vector<Entry>& entries,
                                         const QString& homePage);

} // namespace M3uPlaylist
