// The longest stall of the event loop while a 5 MB catalogue arrives at
// 200 KB/s through the download queue, against a blocking download of the
// same body (which stalls for the whole transfer).
// Usage: waveorbit-bench-download-stall [bytes] [bytes-per-second]
#include "catalogue/DownloadQueue.h"

#include "../tools/demo/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

QByteArray CatalogueBody(qint64 bytes) {
    QByteArray body = "[WORLD]\r\nCOUNT=0\r\n";
    while (body.size() < bytes)
        body += "[PAD" + QByteArray::number(body.size()) + "]\r\nK=QUJDREVGR0g=\r\n";
    body.truncate(bytes);
    body += "\r\n[DB]\r\nVER=1\r\n";
    return body;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 bytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 5 * 1000 * 1000;
    const int rate = argc > 2 ? QByteArray(argv[2]).toInt() : 200 * 1000;
    QTextStream out(stdout);

    demo::LoopbackHttpServer server;
    if (!server.Listen())
        return 1;
    server.SetRoute(QStringLiteral("/world.ini"),
                    demo::HttpResponse::Slow(CatalogueBody(bytes), rate));

    QTemporaryDir dir;
    DownloadQueue queue;
    bool done = false;
    bool saved = false;
    queue.Enqueue(QUrl(server.Url(QStringLiteral("/world.ini"))),
                  dir.filePath(QStringLiteral("world.ini")), DownloadQueue::Check::IniFile,
                  [&](const DownloadQueue::Result& r) {
                      saved = r.saved();
                      done = true;
                  });

    // A 5 ms heartbeat: the largest gap between two beats is the longest stall.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    beat.start(5);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 total = clock.elapsed();
    out << "download queue: " << bytes << " bytes at " << rate << " B/s in " << total
        << " ms, saved " << (saved ? "yes" : "no") << ", longest stall " << (longest - 5)
        << " ms (target <= 50 ms)\n";

    // The blocking way: the window would not answer until the body is in.
    QNetworkAccessManager network;
    QElapsedTimer blocking;
    blocking.start();
    QNetworkReply* reply =
        network.get(QNetworkRequest(QUrl(server.Url(QStringLiteral("/world.ini")))));
    QEventLoop wait;
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    beat.stop(); // a blocking fetch gives the heartbeat no turn at all
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    out << "blocking download (reference): the window stalls for the whole transfer, "
        << blocking.elapsed() << " ms\n";
    reply->deleteLater();
    return 0;
}
