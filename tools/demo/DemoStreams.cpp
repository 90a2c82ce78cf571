#include "demo/DemoStreams.h"

namespace demo {

namespace {

int Wrap(int n, int count) {
    return ((n - 1) % count + count) % count + 1;
}

QString Base(quint16 port) {
    return QStringLiteral("http://127.0.0.1:") + QString::number(port);
}

} // namespace

QString AudioStreamPath(int n) {
    return QStringLiteral("/radio") + QString::number(Wrap(n, kAudioStreamCount)) +
           QStringLiteral(".mp3");
}

QString VideoStreamPath(int n) {
    return QStringLiteral("/tv") + QString::number(Wrap(n, kVideoStreamCount)) +
           QStringLiteral("/index.m3u8");
}

QString AudioStreamUrl(int n) {
    return Base(kAudioStreamPort) + AudioStreamPath(n);
}

QString VideoStreamUrl(int n) {
    return Base(kVideoStreamPort) + VideoStreamPath(n);
}

QString OfflineVideoStreamUrl() {
    return Base(kVideoStreamPort) + QStringLiteral("/offline/index.m3u8");
}

} // namespace demo
