#pragma once

#include <QString>
#include <QStringList>

// What public lists write into a channel's name beside the name itself:
// "Arirang (720p) [Geo-blocked]", "EBS 1 (400p) [Not 24/7]". The notes are
// the list's, not the channel's: they become a resolution and marks the
// user can read, and the name is shown without them.
namespace ChannelName {

struct Parts {
    QString name;       // "Arirang"
    QString resolution; // "720p"; empty when the name gives none
    bool geoBlocked = false;
    bool notAlwaysOn = false; // "[Not 24/7]"
};

Parts Split(const QString& listed);
// Split's resolution alone: "720p" from "Arirang (720p) [Geo-blocked]".
QString ResolutionNote(const QString& listed);

// The marks a user reads beside the region and group: "지역제한" for a
// geo-blocked channel, "간헐" for one that is only sometimes on.
QStringList Marks(const Parts& parts);
QString GeoBlockedMark();

// The key under which two listings are the same channel, also used to find
// a channel's guide by name: Unicode NFC, case folded, the list's notes and
// quality words (HD, UHD, FHD, SD) removed, no spaces.
QString MatchKey(const QString& name);
// The same key for a name that is already without the list's notes (as
// Split gives it): no second look for notes.
QString PlainMatchKey(const QString& plain);

} // namespace ChannelName
