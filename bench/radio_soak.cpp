// A long radio session: our player plays a loopback Icecast radio whose
// stream titles change every few seconds, and the resident memory of the
// process is sampled throughout. The figure is the growth from the end of a
// warm-up (a tenth of the run, at most a minute) to the end; a leak in the
// player, the status cache or the title handling shows as steady growth.
//
//   waveorbit-bench-soak [minutes]        (default 30; fractions allowed)
//
// Needs icecast2 and ffmpeg; the radio runs on a free port of 127.0.0.1 and
// is stopped at the end. Uses the offscreen platform unless told otherwise.
// The mpv program plays the same radio meanwhile, as the reference.
#include "demo/LiveStreams.h"
#include "playback/CWMPPlayer4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

double RssMb(const QString& process = QStringLiteral("self")) {
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double minutes = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 30.0;
    const qint64 totalMs = static_cast<qint64>(minutes * 60000);
    const qint64 warmUpMs = std::min<qint64>(60000, totalMs / 10);

    demo::LiveStreams streams;
    demo::LiveStreamOptions options;
    options.audioPort = FreePort();
    options.video = false;
    options.titleIntervalMs = 2000;
    QString error;
    if (!streams.Start(options, &error)) {
        std::fprintf(stderr, "streams: %s\n", error.toLocal8Bit().constData());
        return 1;
    }

    CWMPPlayer4::Options playerOptions;
    playerOptions.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(playerOptions);
    player.setURL(streams.AudioUrl(1));

    // The reference: the mpv program on the same radio, for the same time.
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"),
              {QStringLiteral("--no-config"), QStringLiteral("--no-video"),
               QStringLiteral("--ao=null"), QStringLiteral("--really-quiet"), streams.AudioUrl(1)});
    const QString mpvPid = QString::number(mpv.processId());
    double mpvAtWarmUp = 0;

    QElapsedTimer clock;
    clock.start();
    double atWarmUp = 0;
    double peak = 0;
    int notPlaying = 0;
    int samples = 0;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        const double rss = RssMb();
        peak = std::max(peak, rss);
        ++samples;
        // The status is read once a second by the window; do the same.
        if (player.status().kind != PlayerStatus::Kind::Playing)
            ++notPlaying;
        if (atWarmUp == 0 && clock.elapsed() >= warmUpMs) {
            atWarmUp = rss;
            mpvAtWarmUp = RssMb(mpvPid);
        }
        if (clock.elapsed() >= totalMs)
            app.quit();
    });
    sample.start(1000);
    app.exec();
    const double atEnd = RssMb();
    const double mpvAtEnd = RssMb(mpvPid);
    mpv.terminate();
    mpv.waitForFinished(3000);
    player.closeMedia();
    streams.Stop();

    std::printf("radio soak: %.1f min, RSS %.1f MB after %.0f s warm-up, %.1f MB at the end, "
                "peak %.1f MB, RSS growth %.1f MB (target < 5 MB); %d of %d status reads not "
                "playing\n",
                minutes, atWarmUp, warmUpMs / 1000.0, atEnd, peak, atEnd - atWarmUp, notPlaying,
                samples);
    if (mpvAtWarmUp > 0)
        std::printf("reference: mpv --no-config --no-video RSS %.1f MB after warm-up, %.1f MB at "
                    "the end, RSS growth %.1f MB\n",
                    mpvAtWarmUp, mpvAtEnd, mpvAtEnd - mpvAtWarmUp);
    return notPlaying * 10 > samples ? 1 : 0;
}
