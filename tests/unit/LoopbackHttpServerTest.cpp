// The loopback server's faults must really happen as configured, or the tests
// that rely on them would pass against a server that never misbehaves.
#include "demo/LoopbackHttpServer.h"
#include "HttpFetch.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using demo::HttpResponse;
using demo::LoopbackHttpServer;

namespace {

// Waits (running the event loop) until the condition holds or a generous
// safety deadline passes; returns whether it holds.
template <typename Condition> bool WaitUntil(Condition condition, int deadlineMs = 5000) {
    QEventLoop loop;
    QTimer poll;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    deadline.start(deadlineMs);
    if (!condition())
        loop.exec();
    return condition();
}

// Sends raw bytes over a socket and returns everything the server answers
// until it closes the connection.
QByteArray RawExchange(quint16 port, const QByteArray& request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(3000))
        return {};
    socket.write(request);
    QByteArray answer;
    WaitUntil([&] {
        answer += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    });
    return answer + socket.readAll();
}

class LoopbackHttpServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Listen(0)); }
    QUrl Url(const QString& target) const { return QUrl(server.Url(target)); }

    LoopbackHttpServer server;
};

TEST_F(LoopbackHttpServerTest, ListensOnLoopbackOnlyAtAnEphemeralPort) {
    EXPECT_NE(server.Port(), 0);
    EXPECT_EQ(server.BaseUrl(), QStringLiteral("http://127.0.0.1:%1").arg(server.Port()));
    LoopbackHttpServer second;
    EXPECT_FALSE(second.Listen(server.Port())) << "the port is already taken";
}

TEST_F(LoopbackHttpServerTest, AnswersRoutesStatusesAndHtml) {
    server.SetRoute(QStringLiteral("/file.ini"), HttpResponse::Ok("[DB]\r\nVER=3\r\n"));
    server.SetRoute(QStringLiteral("/broken"), HttpResponse::Status(500));
    server.SetRoute(QStringLiteral("/page.html"),
                    HttpResponse::Html(QStringLiteral("<h1>음악</h1>").toUtf8()));

    const FetchResult ok = Fetch(Url(QStringLiteral("/file.ini")));
    EXPECT_EQ(ok.error, QNetworkReply::NoError);
    EXPECT_EQ(ok.status, 200);
    EXPECT_EQ(ok.body, QByteArray("[DB]\r\nVER=3\r\n"));
    EXPECT_EQ(ok.announced, ok.body.size());

    const FetchResult missing = Fetch(Url(QStringLiteral("/nothing-here")));
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.error, QNetworkReply::ContentNotFoundError);

    const FetchResult failing = Fetch(Url(QStringLiteral("/broken")));
    EXPECT_EQ(failing.status, 500);
    EXPECT_NE(failing.error, QNetworkReply::NoError);

    const FetchResult page = Fetch(Url(QStringLiteral("/page.html")));
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.contentType.startsWith("text/html"));
    EXPECT_EQ(QString::fromUtf8(page.body), QStringLiteral("<h1>음악</h1>"));
}

TEST_F(LoopbackHttpServerTest, RoutesMatchTheFullTargetBeforeThePath) {
    server.SetRoute(QStringLiteral("/count.php"), HttpResponse::Ok("path"));
    server.SetRoute(QStringLiteral("/count.php?key=a"), HttpResponse::Ok("exact"));
    EXPECT_EQ(Fetch(Url(QStringLiteral("/count.php?key=a"))).body, QByteArray("exact"));
    EXPECT_EQ(Fetch(Url(QStringLiteral("/count.php?key=b"))).body, QByteArray("path"));
    server.RemoveRoute(QStringLiteral("/count.php"));
    EXPECT_EQ(Fetch(Url(QStringLiteral("/count.php?key=b"))).status, 404);
}

TEST_F(LoopbackHttpServerTest, RecordsRequestsInArrivalOrderWithQueryMethodAndBody) {
    server.SetRoute(QStringLiteral("/a"), HttpResponse::Ok("a"));
    Fetch(Url(QStringLiteral("/a")));
    Fetch(Url(QStringLiteral("/log/count.php?mode=a&key=nimbuskit2")));
    FetchOptions post;
    post.method = "POST";
    post.body = "form=1";
    Fetch(Url(QStringLiteral("/a")), post);
    FetchOptions head;
    head.method = "HEAD";
    const FetchResult headResult = Fetch(Url(QStringLiteral("/a")), head);

    EXPECT_EQ(
        server.RequestedTargets(),
        QStringList({QStringLiteral("/a"), QStringLiteral("/log/count.php?mode=a&key=nimbuskit2"),
                     QStringLiteral("/a"), QStringLiteral("/a")}));
    const QList<demo::HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 4);
    EXPECT_EQ(requests[1].path(), QStringLiteral("/log/count.php"));
    EXPECT_EQ(requests[1].query(), QStringLiteral("mode=a&key=nimbuskit2"));
    EXPECT_EQ(requests[2].method, QByteArray("POST"));
    EXPECT_EQ(requests[2].body, QByteArray("form=1"));
    EXPECT_EQ(requests[3].method, QByteArray("HEAD"));
    EXPECT_EQ(headResult.status, 200);
    EXPECT_TRUE(headResult.body.isEmpty()) << "HEAD gets the headers only";
    EXPECT_EQ(server.RequestCount(QStringLiteral("/a")), 3);

    server.ClearRequests();
    EXPECT_TRUE(server.RequestedTargets().isEmpty());
}

TEST_F(LoopbackHttpServerTest, RefusedRequestGetsNoAnswerAtAll) {
    server.SetRoute(QStringLiteral("/refuse"), HttpResponse::Refuse());
    const FetchResult r = Fetch(Url(QStringLiteral("/refuse")));
    EXPECT_EQ(r.error, QNetworkReply::RemoteHostClosedError);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.body.isEmpty());
    // The request is read before the connection is dropped. Qt sends a GET
    // once more when a connection closes before any answer, so it may be two.
    EXPECT_GE(server.RequestCount(QStringLiteral("/refuse")), 1);
}

TEST_F(LoopbackHttpServerTest, TruncatedBodyEndsInAnErrorWithThePartSent) {
    server.SetRoute(QStringLiteral("/tv.ini"), HttpResponse::Truncated("[DB]\r\nVER=", 500));
    const FetchResult r = Fetch(Url(QStringLiteral("/tv.ini")));
    EXPECT_NE(r.error, QNetworkReply::NoError);
    EXPECT_EQ(r.announced, 500);
    EXPECT_EQ(r.body, QByteArray("[DB]\r\nVER="));
}

TEST_F(LoopbackHttpServerTest, StallsAreSeenOnlyThroughTheClientsTimeout) {
    server.SetRoute(QStringLiteral("/silent"), HttpResponse::Stall());
    server.SetRoute(QStringLiteral("/headers-only"), HttpResponse::StallAfterHeaders(1000));
    FetchOptions options;
    options.transferTimeoutMs = 200;

    const FetchResult silent = Fetch(Url(QStringLiteral("/silent")), options);
    EXPECT_FALSE(silent.gaveUp) << "the client's own time-out must end it";
    EXPECT_EQ(silent.error, QNetworkReply::OperationCanceledError);
    EXPECT_EQ(silent.status, 0);

    const FetchResult headersOnly = Fetch(Url(QStringLiteral("/headers-only")), options);
    EXPECT_FALSE(headersOnly.gaveUp);
    EXPECT_EQ(headersOnly.error, QNetworkReply::OperationCanceledError);
    EXPECT_EQ(headersOnly.status, 200);
    EXPECT_EQ(headersOnly.announced, 1000);
    EXPECT_TRUE(headersOnly.body.isEmpty());
}

TEST_F(LoopbackHttpServerTest, ClosingTheServerDropsStalledConnections) {
    server.SetRoute(QStringLiteral("/silent"), HttpResponse::Stall());
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(Url(QStringLiteral("/silent"))));
    ASSERT_TRUE(
        WaitUntil([&] { return server.OpenConnections() == 1 && !server.Requests().isEmpty(); }));
    server.Close();
    EXPECT_EQ(server.OpenConnections(), 0);
    ASSERT_TRUE(WaitUntil([&] { return reply->isFinished(); }));
    EXPECT_NE(reply->error(), QNetworkReply::NoError);
    EXPECT_FALSE(server.IsListening());
    delete reply;
}

TEST_F(LoopbackHttpServerTest, OversizedBodyStreamsInFullAndSurvivesAClientThatHangsUp) {
    const qint64 size = 3 * 1024 * 1024 + 7;
    server.SetRoute(QStringLiteral("/huge.ini"), HttpResponse::Oversized(size));

    const FetchResult full = Fetch(Url(QStringLiteral("/huge.ini")));
    EXPECT_EQ(full.error, QNetworkReply::NoError);
    EXPECT_EQ(full.announced, size);
    ASSERT_EQ(full.body.size(), size);
    EXPECT_TRUE(full.body.startsWith(";xxxx"));
    EXPECT_EQ(full.body.count('\n'), size / 64) << "filler is whole 64-byte lines";

    // Far more than the client takes; the server produces it only as the socket drains.
    const qint64 endless = qint64(1) << 32;
    server.SetRoute(QStringLiteral("/endless"), HttpResponse::Oversized(endless));
    FetchOptions stopEarly;
    stopEarly.abortAfterBytes = 256 * 1024;
    const FetchResult partial = Fetch(Url(QStringLiteral("/endless")), stopEarly);
    EXPECT_EQ(partial.error, QNetworkReply::OperationCanceledError);
    EXPECT_EQ(partial.announced, endless);
    EXPECT_LT(partial.body.size(), endless);
    EXPECT_TRUE(WaitUntil([&] { return server.OpenConnections() == 0; }))
        << "the server lets go of a connection the client dropped";

    // And it still answers afterwards.
    server.SetRoute(QStringLiteral("/small"), HttpResponse::Ok("ok"));
    EXPECT_EQ(Fetch(Url(QStringLiteral("/small"))).body, QByteArray("ok"));
}

TEST_F(LoopbackHttpServerTest, SlowBodyArrivesInPiecesWhileOtherRequestsAreServed) {
    QByteArray body;
    for (int i = 0; i < 100; ++i)
        body += QByteArray::number(i).rightJustified(8, '0') + '\n'; // 900 bytes
    server.SetRoute(QStringLiteral("/slow.mp3"), HttpResponse::Slow(body, 1500));
    server.SetRoute(QStringLiteral("/fast"), HttpResponse::Ok("fast"));

    QNetworkAccessManager manager;
    QStringList finished;
    QByteArray slowBody;
    int slowPieces = 0;
    QNetworkReply* slow = manager.get(QNetworkRequest(Url(QStringLiteral("/slow.mp3"))));
    QObject::connect(slow, &QNetworkReply::readyRead, [&] {
        slowBody += slow->readAll();
        ++slowPieces;
    });
    QObject::connect(slow, &QNetworkReply::finished, [&] { finished << QStringLiteral("slow"); });
    QNetworkReply* fast = nullptr;
    // Ask for the fast page once the slow body has started to arrive.
    QObject::connect(slow, &QNetworkReply::readyRead, [&] {
        if (fast)
            return;
        fast = manager.get(QNetworkRequest(Url(QStringLiteral("/fast"))));
        QObject::connect(fast, &QNetworkReply::finished,
                         [&] { finished << QStringLiteral("fast"); });
    });

    ASSERT_TRUE(WaitUntil([&] { return finished.size() == 2; }, 15000));
    EXPECT_EQ(finished, QStringList({QStringLiteral("fast"), QStringLiteral("slow")}));
    slowBody += slow->readAll();
    EXPECT_EQ(slow->error(), QNetworkReply::NoError);
    EXPECT_EQ(slowBody, body) << "every byte, in order";
    EXPECT_GT(slowPieces, 2) << "a slow body trickles in, it is not sent at once";
    EXPECT_EQ(fast->readAll(), QByteArray("fast"));
    delete slow;
    delete fast;
}

TEST_F(LoopbackHttpServerTest, RejectsMalformedAndOversizedRequestsWithoutRecordingThem) {
    EXPECT_TRUE(RawExchange(server.Port(), "NONSENSE\r\n\r\n").startsWith("HTTP/1.1 400 "));
    const QByteArray hugeHeader =
        "GET / HTTP/1.1\r\nX-Fill: " + QByteArray(LoopbackHttpServer::kMaxHeaderBytes + 10, 'a');
    EXPECT_TRUE(RawExchange(server.Port(), hugeHeader).startsWith("HTTP/1.1 431 "));
    EXPECT_TRUE(RawExchange(server.Port(), "POST / HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n")
                    .startsWith("HTTP/1.1 413 "));
    EXPECT_TRUE(server.Requests().isEmpty());

    // A request split across several writes is still one request.
    server.SetRoute(QStringLiteral("/x"), HttpResponse::Ok("x"));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), server.Port());
    ASSERT_TRUE(socket.waitForConnected(3000));
    socket.write("GET /x HT");
    socket.flush();
    ASSERT_TRUE(WaitUntil([&] { return server.OpenConnections() == 1; }));
    socket.write("TP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    ASSERT_TRUE(WaitUntil([&] {
        answer += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(answer.endsWith("\r\n\r\nx"));
    EXPECT_EQ(server.RequestedTargets(), QStringList({QStringLiteral("/x")}));
}

TEST_F(LoopbackHttpServerTest, ServesFilesOfAFolderAndNothingOutsideIt) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("hls/tv1")));
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(QStringLiteral("hls/tv1/index.m3u8"), "#EXTM3U\n");
    write(QStringLiteral("secret.txt"), "not for clients");
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("secret.txt")),
                            dir.filePath(QStringLiteral("hls/tv1/link.txt"))));
    server.ServeFolder(QStringLiteral("/live"), dir.filePath(QStringLiteral("hls")));

    const FetchResult playlist = Fetch(Url(QStringLiteral("/live/tv1/index.m3u8")));
    EXPECT_EQ(playlist.status, 200);
    EXPECT_EQ(playlist.body, QByteArray("#EXTM3U\n"));
    EXPECT_EQ(playlist.contentType, QByteArray("application/vnd.apple.mpegurl"));

    EXPECT_EQ(Fetch(Url(QStringLiteral("/live/tv1/missing.ts"))).status, 404);
    EXPECT_EQ(Fetch(Url(QStringLiteral("/live/tv1"))).status, 404) << "a folder is no file";
    EXPECT_EQ(Fetch(Url(QStringLiteral("/live/tv1/link.txt"))).status, 404);
    // Sent raw: a client library would fold the dots away before sending.
    for (const QByteArray& target :
         {QByteArray("/live/../secret.txt"), QByteArray("/live/%2e%2e/secret.txt"),
          QByteArray("/live/tv1/../../secret.txt")}) {
        const QByteArray answer =
            RawExchange(server.Port(), "GET " + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
        EXPECT_TRUE(answer.startsWith("HTTP/1.1 404 ")) << target.constData();
        EXPECT_FALSE(answer.contains("not for clients")) << target.constData();
    }
}

} // namespace
