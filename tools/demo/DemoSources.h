#pragma once

#include <QByteArray>
#include <QString>

// The other two kinds of channel source, served by the demo service so each
// can be tried offline: an M3U playlist and a radio directory answer in the
// real formats, pointing at the demo's own streams.
namespace demo {

extern const char* const kDemoPlaylistPath;  // "/sources/kr.m3u"
extern const char* const kDemoDirectoryPath; // "/json/stations/search"
extern const char* const kDemoClickPrefix;   // "/json/url/"
extern const char* const kDemoGuidePath;     // "/sources/kr-guide.xml.gz"

// The playlist; with a guide address, its header names it (x-tvg-url).
QByteArray DemoPlaylist(const QString& guideAddress = QString());
// An XMLTV guide for the playlist's channels around `now` (UTC seconds):
// half-hour programmes from three hours before to two days after, Korean
// titles, some with a description. Plain XML; GzipCompress packs it.
QByteArray DemoGuide(qint64 now);
// The bytes as a gzip file (one member), as guides are often served.
QByteArray GzipCompress(const QByteArray& bytes);
QByteArray DemoDirectoryAnswer();

} // namespace demo
