#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace M3uPlaylist {
struct Entry;
}

// A channel of the tab's list as the guide matches it: by its tvg-id
// exactly, by that id without its "@feed" part, then by its name or
// tvg-name against the guide's display names (compared as
// ChannelName::MatchKey). `key` is what the list asks the guide by later.
struct GuideChannel {
    QString key;
    QString id;
    QString name;
    QString tvgName;
    double shiftHours = 0; // tvg-shift
};

// The list's playlist entries as guide channels, keyed by stream address.
std::vector<GuideChannel> GuideChannelsOf(const std::vector<M3uPlaylist::Entry>& entries);

// What a playlist file gives the guide: its channels and the guide
// addresses its header names.
struct PlaylistGuides {
    std::vector<GuideChannel> channels;
    QStringList addresses;
};
PlaylistGuides PlaylistGuidesOf(const QByteArray& playlist, const QUrl& base = QUrl());
