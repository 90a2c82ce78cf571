#pragma once

#include "catalogue/StreamOptions.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

// One channel: seven text fields in a fixed order, which is also the column
// order of the channel list and the field order of a line of user.dat.
struct ChannelRecord {
    enum Field { Num = 0, Name, Info, Connect, Url, Website, WebUrl, FieldCount };

    std::array<QString, FieldCount> fields;

    // Not part of the seven fields (user.dat and the catalogues never hold
    // them): the channel's other addresses, after URL in order of
    // preference, where a list named the same channel more than once. A
    // QStringList is shared on copy, so rows with thousands of them copy
    // as cheaply as rows with none.
    QStringList spareAddresses;
    // The row came from somebody else's list (a playlist or the radio
    // directory), whose addresses play only with a stream's scheme.
    bool fromList = false;
    // What the list asks of the player for one of the row's addresses (its
    // headers, the directory's station id), by address; none for most rows.
    // Travels with the row to the call that plays it, so two rows that
    // share an address never share their options.
    QHash<QString, StreamOptions> options;

    const QString& num() const { return fields[Num]; }
    const QString& name() const { return fields[Name]; }
    const QString& info() const { return fields[Info]; }
    const QString& connect() const { return fields[Connect]; }
    const QString& url() const { return fields[Url]; }
    const QString& website() const { return fields[Website]; }
    const QString& webUrl() const { return fields[WebUrl]; }

    // A web-page channel opens WEBURL in the browser instead of playing.
    bool IsWebPage() const { return fields[Website] == QStringLiteral("Y"); }

    // URL and then the spare addresses.
    QStringList Addresses() const {
        QStringList all{fields[Url]};
        all += spareAddresses;
        return all;
    }

    // The INI key of each field: NUM, NAME, INFO, CONNECT, URL, WEBSITE, WEBURL.
    static const char* KeyOf(int field);

    bool operator==(const ChannelRecord& other) const { return fields == other.fields; }
    bool operator!=(const ChannelRecord& other) const { return !(*this == other); }
};
