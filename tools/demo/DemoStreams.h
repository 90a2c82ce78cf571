#pragma once

#include <QString>

// Where the demo's live streams answer. Every catalogue entry that plays
// points here, so this is the one place to change when the stream servers move.
// Audio (radio and music) is an Icecast-style mp3 stream, video (TV, world,
// game) an HLS playlist; both on 127.0.0.1 only.
namespace demo {

constexpr quint16 kAudioStreamPort = 8732;
constexpr quint16 kVideoStreamPort = 8733;

// How many distinct streams of each kind the stream servers offer; entries
// share them round-robin.
constexpr int kAudioStreamCount = 3;
constexpr int kVideoStreamCount = 3;

// n counts from 1 and wraps around the stream counts above.
QString AudioStreamUrl(int n); // http://127.0.0.1:8732/radio<k>.mp3
QString VideoStreamUrl(int n); // http://127.0.0.1:8733/tv<k>/index.m3u8

// The same streams' paths on their servers, for servers on other ports.
QString AudioStreamPath(int n); // /radio<k>.mp3 (the Icecast mount)
QString VideoStreamPath(int n); // /tv<k>/index.m3u8

// A stream the servers never offer: a channel "under maintenance" whose
// connection fails at once, to show the program's failure path.
QString OfflineVideoStreamUrl(); // http://127.0.0.1:8733/offline/index.m3u8

} // namespace demo
