#include "catalogue/M3uPlaylist.h"
#include "catalogue/StreamOptions.h"
#include "playback/CWMPPlayer4.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "ToneStream.h"

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
    const QByteArray body = ToneStream(4);
    ASSERT_FALSE(body.isEmpty());

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

    CWMPPlayer4::Options quiet;
    quiet.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(quiet);
    ASSERT_TRUE(player.IsBound());
    player.setListURL(guardedUrl, options);
    EXPECT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 15000));
    ASSERT_FALSE(server.Requests().isEmpty());
    EXPECT_EQ(server.Requests().first().header("Referer"), "http://127.0.0.1/page?a=1,b=2");

    player.setListURL(server.Url(QStringLiteral("/open.ts")), StreamOptions());
    ASSERT_TRUE(
        WaitFor([&] { return server.RequestCount(QStringLiteral("/open.ts")) > 0; }, 15000));
    for (const HttpRequest& r : server.Requests()) {
        if (r.path() == QStringLiteral("/open.ts")) {
            EXPECT_TRUE(r.header("Referer").isEmpty());
            EXPECT_TRUE(r.header("X-Token").isEmpty());
        }
    }
    player.close();
}

// Every way public lists write a channel's headers reaches the server that
// serves the stream only with them.
TEST(StreamOptionsPlayer, EachFormOfAListsHeadersOpensTheGuardedStream) {
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const QByteArray body = ToneStream(4);
    ASSERT_FALSE(body.isEmpty());
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetFallback([body](const HttpRequest& r) {
        const bool origin =
            r.path() != QStringLiteral("/origin.ts") || r.header("Origin") == "http://127.0.0.1:5";
        if (r.header("Referer") != "http://127.0.0.1:5/p" || r.header("User-Agent") != "TV/2" ||
            !origin)
            return HttpResponse::Status(403);
        return HttpResponse::Ok(body, "video/mp2t");
    });
    const QString base = server.BaseUrl();
    const QString lists[] = {
        QStringLiteral("#EXTM3U\n#EXTINF:-1 http-referrer=\"http://127.0.0.1:5/p\" "
                       "http-user-agent=\"TV/2\",A\n%1/attributes.ts\n"),
        QStringLiteral(
            "#EXTM3U\n#EXTINF:-1,B\n#EXTVLCOPT:http-referrer=http://127.0.0.1:5/p\n"
            "#EXTVLCOPT:http-user-agent=TV/2\n#EXTVLCOPT:http-origin=http://127.0.0.1:5\n"
            "%1/origin.ts\n"),
        QStringLiteral("#EXTM3U\n#EXTINF:-1,C\n"
                       "%1/bar.ts|Referer=http%3A%2F%2F127.0.0.1%3A5%2Fp&User-Agent=TV%2F2\n"),
        QStringLiteral("#EXTM3U\n#EXTINF:-1,D\n#KODIPROP:inputstream.adaptive.stream_headers="
                       "Referer=http%3A%2F%2F127.0.0.1%3A5%2Fp&User-Agent=TV%2F2\n%1/kodi.ts\n"),
    };
    CWMPPlayer4::Options quiet;
    quiet.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(quiet);
    ASSERT_TRUE(player.IsBound());
    for (const QString& list : lists) {
        const auto entries = M3uPlaylist::Parse(list.arg(base).toUtf8());
        ASSERT_EQ(entries.size(), 1u) << list.toStdString();
        const M3uPlaylist::Entry& entry = entries[0];
        player.setListURL(entry.url, entry.options);
        EXPECT_TRUE(
            WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 15000))
            << list.toStdString();
        player.close();
    }
}
