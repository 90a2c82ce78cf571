#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a playlist asks of the player for one channel only: the Referer and
// User-Agent to send and extra HTTP headers ("Name: value"). Directory
// stations carry the id the directory counts a play by.
struct StreamOptions {
    QString referrer;
    QString userAgent;
    QStringList headers;
    QString stationUuid;

    bool HasPlayerOptions() const {
        return !referrer.isEmpty() || !userAgent.isEmpty() || !headers.isEmpty();
    }
    bool IsEmpty() const { return !HasPlayerOptions() && stationUuid.isEmpty(); }

    // mpv's per-file options for loadfile: "referrer=...,user-agent=...,
    // http-header-fields=...", each value length-prefixed (%n%) so commas
    // and quotes in it stay part of it. Empty when there is nothing to send.
    QByteArray MpvFileOptions() const;

    // Adds a "Name: value" header, or the Referer/User-Agent it names.
    void AddHeader(const QString& name, const QString& value);

    bool operator==(const StreamOptions& o) const {
        return referrer == o.referrer && userAgent == o.userAgent && headers == o.headers &&
               stationUuid == o.stationUuid;
    }
};
