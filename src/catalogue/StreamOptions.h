#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
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

// The options of every channel the tabs show, by stream address, so the
// player finds them when a row plays. Each tab replaces its own share when
// its list is (re)loaded. Safe to fill from a worker thread.
class StreamOptionsBook {
public:
    static StreamOptionsBook& Shared();

    void Replace(int tab, QHash<QString, StreamOptions> byAddress);
    // Empty options for an address no list named.
    StreamOptions For(const QString& address) const;

private:
    mutable QMutex mutex_;
    QHash<int, QHash<QString, StreamOptions>> byTab_;
};
