#pragma once

#include <QString>

#include <array>

// One channel: seven text fields in a fixed order, which is also the column
// order of the channel list and the field order of a line of user.dat.
struct ChannelRecord {
    enum Field { Num = 0, Name, Info, Connect, Url, Website, WebUrl, FieldCount };

    std::array<QString, FieldCount> fields;

    const QString& num() const { return fields[Num]; }
    const QString& name() const { return fields[Name]; }
    const QString& info() const { return fields[Info]; }
    const QString& connect() const { return fields[Connect]; }
    const QString& url() const { return fields[Url]; }
    const QString& website() const { return fields[Website]; }
    const QString& webUrl() const { return fields[WebUrl]; }

    // A web-page channel opens WEBURL in the browser instead of playing.
    bool IsWebPage() const { return fields[Website] == QStringLiteral("Y"); }

    // The INI key of each field: NUM, NAME, INFO, CONNECT, URL, WEBSITE, WEBURL.
    static const char* KeyOf(int field);

    bool operator==(const ChannelRecord& other) const { return fields == other.fields; }
    bool operator!=(const ChannelRecord& other) const { return !(*this == other); }
};
