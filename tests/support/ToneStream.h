#pragma once

#include <QByteArray>

// A tone of the given length as an MPEG-TS stream (MP2 sound), made by
// ffmpeg; empty when ffmpeg is missing or fails.
QByteArray ToneStream(int seconds);
