#include "catalogue/StreamOptions.h"
#include "playback/CWMPPlayer4.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using demo::HttpRequest;
using demo::HttpResponse;

// A playlist's Referer, User-Agent and headers reach the stream server through
// mpv for that channel, and the next channel is opened without them.
TEST(StreamOptionsPlayer, AChannelsHeadersReachTheServerAndEndWithIt) {
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    QTemporaryDir dir;
    const QString media = dir.filePath(QStringLiteral("tone.ts"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                  QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=44100"), QStringLiteral("-t"),
                  QStringLiteral("4"), QStringLiteral("-c:a"), QStringLiteral("mp2"), media});
    ASSERT_TRUE(ffmpeg.waitForFinished(30000));
    QFile file(media);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray body = file.readAll();

    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    // The stream is served only to a client that says where it came from.
    const auto guarded = [body](const HttpRequest& r) {
        if (r.header("Referer") != "http://127.0.0.1/page?a=1,b=2" ||
            r.header("X-Token") != "abc" || r.header("User-Agent") != "Player, 1.0")
            return HttpResponse::Status(403);
        return HttpResponse::Ok(body, "video/mp2t");
    };
    server.SetHandler(QStringLiteral("/guarded.ts"), guarded);
    server.SetHandler(QStringLiteral("/open.ts"),
                      [body](const HttpRequest&) { return HttpResponse::Ok(body, "video/mp2t"); });
    const QString guardedUrl = server.Url(QStringLiteral("/guarded.ts"));
    StreamOptions options;
    options.referrer = QStringLiteral("http://127.0.0.1/page?a=1,b=2");
    options.userAgent = QStringLiteral("Player, 1.0");
    options.AddHeader(QStringLiteral("X-Token"), QStringLiteral("abc"));
    StreamOptionsBook::Shared().Replace(99, {{guardedUrl, options}});

    CWMPPlayer4::Options quiet;
    quiet.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(quiet);
    ASSERT_TRUE(player.IsBound());
    player.setURL(guardedUrl);
    EXPECT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 15000));
    ASSERT_FALSE(server.Requests().isEmpty());
    EXPECT_EQ(server.Requests().first().header("Referer"), "http://127.0.0.1/page?a=1,b=2");

    player.setURL(server.Url(QStringLiteral("/open.ts")));
    ASSERT_TRUE(
        WaitFor([&] { return server.RequestCount(QStringLiteral("/open.ts")) > 0; }, 15000));
    for (const HttpRequest& r : server.Requests()) {
        if (r.path() == QStringLiteral("/open.ts")) {
            EXPECT_TRUE(r.header("Referer").isEmpty());
            EXPECT_TRUE(r.header("X-Token").isEmpty());
        }
    }
    player.close();
    StreamOptionsBook::Shared().Replace(99, {});
}
