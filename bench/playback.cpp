// Playback against the bare mpv player on the same loopback Icecast stream:
// time from PlayUrl/loadfile to sound, and CPU seconds and peak RSS over 30 s.
//
//   xvfb-run -a build/bin/waveorbit-bench-playback [seconds]
//
// Needs icecast2, ffmpeg and the mpv program. The radio is served on a free
// port of 127.0.0.1 for the run and stopped at the end.
#include "demo/LiveStreams.h"
#include "playback/CWMPPlayer4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return done();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Our player, alone in this process: loadfile until it reports playing.
double OwnStartMs(const QString& url) {
    CWMPPlayer4::Options options;
    options.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(options);
    QElapsedTimer clock;
    clock.start();
    player.closeMedia();
    player.setURL(url);
    const bool playing =
        WaitUntil([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 10000);
    const double ms = clock.nsecsElapsed() / 1e6;
    player.closeMedia();
    return playing ? ms : -1.0;
}

QStringList MpvArguments(const QString& url) {
    return {QStringLiteral("--no-config"), QStringLiteral("--no-video"),
            QStringLiteral("--ao=null"), QStringLiteral("--msg-level=all=info"), url};
}

// mpv from process start until it says its audio output runs.
double MpvStartMs(const QString& url) {
    QProcess mpv;
    mpv.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    mpv.start(QStringLiteral("mpv"), MpvArguments(url));
    QByteArray out;
    double ms = -1.0;
    while (clock.elapsed() < 10000 && mpv.state() != QProcess::NotRunning) {
        mpv.waitForReadyRead(20);
        out += mpv.readAll();
        if (out.contains("AO: [")) {
            ms = clock.nsecsElapsed() / 1e6;
            break;
        }
    }
    mpv.terminate();
    mpv.waitForFinished(3000);
    return ms;
}

struct Usage {
    double cpuSeconds = 0;
    long peakRssKb = 0;
};

// Runs a program for the given time, stops it, and reads what it used.
Usage RunFor(const QStringList& command, int seconds) {
    std::vector<QByteArray> bytes;
    for (const QString& part : command)
        bytes.push_back(part.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    Usage usage;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return usage;
    ::sleep(static_cast<unsigned>(seconds));
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage ru{};
    ::wait4(pid, &status, 0, &ru);
    usage.cpuSeconds =
        ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    usage.peakRssKb = ru.ru_maxrss;
    return usage;
}

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

} // namespace

int main(int argc, char** argv) {
    // Child mode: our player plays the address until it is stopped.
    if (argc == 3 && QByteArray(argv[1]) == "--play") {
        QApplication app(argc, argv);
        CWMPPlayer4::Options options;
        options.audioOutput = QStringLiteral("null");
        CWMPPlayer4 player(options);
        player.setURL(QString::fromLocal8Bit(argv[2]));
        std::signal(SIGTERM, [](int) { std::_Exit(0); });
        return app.exec();
    }

    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    if (QStandardPaths::findExecutable(QStringLiteral("mpv")).isEmpty()) {
        std::fprintf(stderr, "the mpv program is needed (apt-get install mpv)\n");
        return 1;
    }
    demo::LiveStreams streams;
    demo::LiveStreamOptions options;
    options.audioPort = FreePort();
    options.video = false;
    QString error;
    if (!streams.Start(options, &error)) {
        std::fprintf(stderr, "streams: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const QString url = streams.AudioUrl(1);

    std::vector<double> own, bare;
    for (int i = 0; i < 5; ++i) {
        own.push_back(OwnStartMs(url));
        bare.push_back(MpvStartMs(url));
    }
    std::printf("loopback Icecast mp3 %s, median of 5\n", url.toLocal8Bit().constData());
    std::printf("  start to playing: CWMPPlayer4 (setURL -> Playing)  %7.1f ms\n", Median(own));
    std::printf("  start to playing: mpv (process start -> AO up)     %7.1f ms\n", Median(bare));

    const QString self = QCoreApplication::applicationFilePath();
    const Usage ownUsage = RunFor({self, QStringLiteral("--play"), url}, seconds);
    QStringList mpvCommand = {QStringLiteral("mpv")};
    mpvCommand += MpvArguments(url);
    mpvCommand.append(QStringLiteral("--really-quiet"));
    const Usage mpvUsage = RunFor(mpvCommand, seconds);
    std::printf("%d s of playback:\n", seconds);
    std::printf("  CWMPPlayer4 process: CPU %.2f s, peak RSS %ld MB\n", ownUsage.cpuSeconds,
                ownUsage.peakRssKb / 1024);
    std::printf("  mpv --no-config --no-video --ao=null: CPU %.2f s, peak RSS %ld MB\n",
                mpvUsage.cpuSeconds, mpvUsage.peakRssKb / 1024);
    streams.Stop();
    return 0;
}
