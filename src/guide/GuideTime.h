#pragma once

#include <QByteArrayView>

#include <optional>

// Times as guides write them: "YYYYMMDDhhmmss" or any leading part of it
// (year, month, day, hour, minute), then an optional zone: "+0900",
// "-0130", "+09:00", or a name ("KST", "UTC", "Asia/Seoul"). No zone means
// UTC. A name we cannot resolve is read as UTC and reported, so a guide
// whose times may be off by hours says so.
namespace GuideTime {

struct Parsed {
    qint64 utcSeconds = 0; // seconds since 1970-01-01T00:00Z
    bool unknownZone = false;
};

// Years outside 1970..2200, impossible dates and clock times, and any
// stray character give nothing.
std::optional<Parsed> Parse(QByteArrayView text);

} // namespace GuideTime
