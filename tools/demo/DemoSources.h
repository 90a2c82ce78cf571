#pragma once

#include <QByteArray>

// The other two kinds of channel source, served by the demo service so each
// can be tried offline: an M3U playlist and a radio directory answer in the
// real formats, pointing at the demo's own streams.
namespace demo {

extern const char* const kDemoPlaylistPath;  // "/sources/kr.m3u"
extern const char* const kDemoDirectoryPath; // "/json/stations/search"
extern const char* const kDemoClickPrefix;   // "/json/url/"

QByteArray DemoPlaylist();
QByteArray DemoDirectoryAnswer();

} // namespace demo
