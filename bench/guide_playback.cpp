// A radio playing (the program's player, real libmpv, from the demo's
// loopback Icecast server) while a guide downloads from a loopback server
// that sends as fast as it can, against the same radio with no download:
// the buffering events in mpv's own log once the radio plays ("Enter
// buffering"), and what the guide download read meanwhile. The session says
// the radio plays, as the connection watch does, so the guide's download is
// held to its share; when the radio stops, the rest comes at full speed.
//
//   xvfb-run -a build/bin/waveorbit-bench-guide-playback [seconds] [guide MB]
//
// Needs icecast2 and ffmpeg. Every server listens on 127.0.0.1 and is
// stopped at the end.
#include "app/PlayerSession.h"
#include "catalogue/DownloadQueue.h"
#include "demo/LiveStreams.h"
#include "demo/LoopbackHttpServer.h"
#include "guide/GuideBook.h"
#include "mainwindow/ChannelGuide.h"
#include "playback/CWMPPlayer4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}

void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

int CountAfter(const QString& path, qint64 offset, const QByteArray& what) {
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(offset))
        return -1;
    return static_cast<int>(log.readAll().count(what));
}

struct Session {
    bool played = false;
    int buffering = -1;      // "Enter buffering" in mpv's log once it played
    int statusBuffering = 0; // the player's status turned to buffering after playing
    qint64 guideBytes = 0;   // what the guide download read while the radio played
    double restMs = -1;      // the rest of the guide after the radio stopped
};

Session Play(const QString& radio, const QString& guideUrl, int seconds, const QString& folder,
             int n) {
    Session result;
    const QString data = folder + QStringLiteral("/data%1").arg(n);
    PlayerSession session;
    ChannelGuide guide(session, nullptr, data, nullptr);
    CWMPPlayer4::Options options;
    options.audioOutput = QStringLiteral("null");
    options.logFile = folder + QStringLiteral("/mpv%1.log").arg(n);
    CWMPPlayer4 player(options);
    session.SetPlayerActivity(PlayerSession::Activity::Opening);
    player.setURL(radio);
    result.played =
        WaitUntil([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 15000);
    if (!result.played)
        return result;
    session.SetPlayerActivity(PlayerSession::Activity::Playing);
    session.SetPlaying(true);
    const qint64 logOffset = QFileInfo(options.logFile).size();
    if (!guideUrl.isEmpty()) {
        PlaylistGuides playlist;
        playlist.channels.push_back(GuideChannel{QStringLiteral("http://127.0.0.1/tv1"),
                                                 QStringLiteral("Ch1.kr"),
                                                 QStringLiteral("Channel 1"), QString(), 0});
        playlist.addresses << guideUrl;
        guide.SetPlaylist(Category::Tv, playlist, "bench");
    }
    QTimer watch;
    bool wasBuffering = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const bool buffering = player.status().kind == PlayerStatus::Kind::Buffering;
        if (buffering && !wasBuffering)
            ++result.statusBuffering;
        wasBuffering = buffering;
    });
    watch.start(100);
    RunFor(seconds * 1000);
    watch.stop();
    DownloadQueue& queue = *guide.Book().Queue();
    result.guideBytes = queue.Received();
    result.buffering = CountAfter(options.logFile, logOffset, "Enter buffering");
    player.closeMedia();
    session.SetPlaying(false);
    session.SetPlayerActivity(PlayerSession::Activity::Idle);
    if (!guideUrl.isEmpty()) {
        QElapsedTimer rest;
        rest.start();
        if (WaitUntil([&] { return queue.IsIdle(); }, 120000))
            result.restMs = rest.nsecsElapsed() / 1e6;
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const qint64 guideMb = argc > 2 ? std::max(1, atoi(argv[2])) : 48;
    QTextStream out(stdout);

    demo::LiveStreams streams;
    demo::LiveStreamOptions options;
    options.audioPort = FreePort();
    options.video = false;
    QString error;
    if (!streams.Start(options, &error)) {
        out << "streams: " << error << "\n";
        return 1;
    }
    const QString radio = streams.AudioUrl(1);

    // The guide's server sends from a thread of its own, as fast as it can.
    QThread serverThread;
    serverThread.start();
    auto* server = new demo::LoopbackHttpServer;
    server->SetRoute(QStringLiteral("/guide.xml.gz"),
                     demo::HttpResponse::Oversized(guideMb * 1024 * 1024));
    server->moveToThread(&serverThread);
    bool listening = false;
    QMetaObject::invokeMethod(
        server, [&] { listening = server->Listen(); }, Qt::BlockingQueuedConnection);
    const QString guideUrl = server->Url(QStringLiteral("/guide.xml.gz"));

    Session reference, withGuide;
    if (listening) {
        reference = Play(radio, QString(), seconds, folder.path(), 1);
        withGuide = Play(radio, guideUrl, seconds, folder.path(), 2);
    }
    QMetaObject::invokeMethod(
        server, [server] { delete server; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    streams.Stop();
    if (!listening || !reference.played || !withGuide.played) {
        out << "the radio did not play, or the guide server did not listen\n";
        return 1;
    }

    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').mid(0, 3).join(' ') : "?";
    const double rateKb = withGuide.guideBytes / 1024.0 / seconds;
    const double restMb = (guideMb * 1048576.0 - withGuide.guideBytes) / 1048576.0;
    out << "loopback Icecast mp3 " << radio << ", " << seconds << " s each, a " << guideMb
        << " MB guide, load average " << load << "\n";
    out << "  radio alone:           " << reference.buffering << " buffering events in mpv's log, "
        << reference.statusBuffering << " seen by the player\n";
    out << "  radio + guide download: " << withGuide.buffering << " buffering events in mpv's log, "
        << withGuide.statusBuffering << " seen by the player; the guide read "
        << withGuide.guideBytes / 1048576.0 << " MB meanwhile (" << rateKb << " KB/s)\n";
    out << "  the radio stopped: the rest (" << restMb << " MB) in " << withGuide.restMs << " ms\n";
    out << "guide-playback-buffering-reference " << reference.buffering << "\n";
    out << "guide-playback-buffering " << withGuide.buffering << "\n";
    out << "guide-playback-guide-kbps " << rateKb << "\n";
    out << "guide-playback-full-speed-mbps "
        << (withGuide.restMs > 0 ? restMb / (withGuide.restMs / 1000.0) : 0) << "\n";
    return 0;
}
