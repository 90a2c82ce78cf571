#include "playback/CWMPPlayer4.h"
#include "playback/MpvLibrary.h"

#include "EventLoopWait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class CWMPPlayer4Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
            GTEST_SKIP() << "ffmpeg is not installed";
        ASSERT_TRUE(dir.isValid());
    }

    // A short recording with a moving test picture and a tone.
    QString MakeMedia(const QString& name, int seconds) {
        const QString path = dir.filePath(name);
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                      QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("testsrc=size=160x120:rate=25"), QStringLiteral("-f"),
                      QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("sine=frequency=440:sample_rate=44100"), QStringLiteral("-t"),
                      QString::number(seconds), QStringLiteral("-c:v"), QStringLiteral("mpeg4"),
                      QStringLiteral("-c:a"), QStringLiteral("mp2"), path});
        EXPECT_TRUE(ffmpeg.waitForFinished(30000));
        EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
        return path;
    }

    static CWMPPlayer4::Options Quiet() {
        CWMPPlayer4::Options options;
        options.audioOutput = QStringLiteral("null");
        options.volume = 50;
        return options;
    }

    QTemporaryDir dir;
};

TEST_F(CWMPPlayer4Test, OpensThenPlaysAndRendersMovingFrames) {
    const QString media = MakeMedia(QStringLiteral("clip.mkv"), 6);
    CWMPPlayer4 player(Quiet());
    ASSERT_TRUE(player.IsBound());
    player.resize(160, 120);
    player.show();
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
    // Drawing in software, mpv is not loaded until there is something to play.
    player.setVolume(30);
    player.close();
    player.setURL(QString());
    EXPECT_FALSE(player.IsStarted());
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);

    std::vector<PlayerStatus::Kind> seen;
    QObject::connect(&player, &CWMPPlayer4::statusChanged,
                     [&] { seen.push_back(player.status().kind); });
    player.setURL(media);
    EXPECT_TRUE(player.IsStarted());
    EXPECT_TRUE(MpvLibrary::IsLoaded()) << MpvLibrary::LoadError().toStdString();
    // The address is being opened at once, before mpv has said anything.
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Opening);

    ASSERT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 10000));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), PlayerStatus::Kind::Opening);
    EXPECT_EQ(seen.back(), PlayerStatus::Kind::Playing);
    for (PlayerStatus::Kind kind : seen)
        EXPECT_NE(kind, PlayerStatus::Kind::Idle);

    ASSERT_TRUE(WaitFor([&] { return player.FramesRendered() >= 2; }, 5000));
    const QImage first = player.CurrentFrame().copy();
    EXPECT_EQ(first.size(), QSize(160, 120) * player.devicePixelRatioF());
    // The test picture is not a blank screen, and it moves.
    EXPECT_NE(first.pixel(10, 10), first.pixel(80, 100));
    EXPECT_TRUE(WaitFor([&] { return player.CurrentFrame() != first; }, 5000));

    bool ended = false;
    QObject::connect(&player, &CWMPPlayer4::mediaEnded, [&] { ended = true; });
    player.closeMedia();
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
    EXPECT_FALSE(ended); // closing is not an end of the media
    EXPECT_EQ(player.lastEnd(), PlayerEnd::None);
}

TEST_F(CWMPPlayer4Test, RecordingThatPlaysToItsEndIsFinished) {
    // Long enough for mpv to report its length and size before the end,
    // even on a busy machine.
    const QString media = MakeMedia(QStringLiteral("short.mkv"), 3);
    CWMPPlayer4 player(Quiet());
    bool ended = false;
    QObject::connect(&player, &CWMPPlayer4::mediaEnded, [&] { ended = true; });
    player.setURL(media);
    ASSERT_TRUE(WaitFor([&] { return ended; }, 20000));
    EXPECT_EQ(player.lastEnd(), PlayerEnd::Finished);
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
}

// A live stream over HTTP that the server cuts off: mpv plays out what it
// has and then reports an end, which for a stream without a length is a break.
TEST_F(CWMPPlayer4Test, LiveStreamCutOffByServerIsBroken) {
    const QString media = MakeMedia(QStringLiteral("live.ts"), 2);
    QFile file(media);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray body = file.readAll();

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, body] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;
            // No length: a live broadcast, then the connection drops.
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: video/mp2t\r\n\r\n");
            socket->write(body);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    });

    CWMPPlayer4 player(Quiet());
    bool ended = false;
    QObject::connect(&player, &CWMPPlayer4::mediaEnded, [&] { ended = true; });
    player.setURL(QStringLiteral("http://127.0.0.1:%1/live").arg(server.serverPort()));
    ASSERT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 10000));
    ASSERT_TRUE(WaitFor([&] { return ended; }, 15000));
    EXPECT_EQ(player.lastEnd(), PlayerEnd::Broken);
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
    server.close();
}

// A live stream whose server stops sending but keeps the connection open:
// once what arrived has played, the player says it waits (buffering), long
// before mpv's network time-out would end it; nothing has ended.
TEST_F(CWMPPlayer4Test, StreamThatStopsArrivingReadsAsBuffering) {
    const QString media = MakeMedia(QStringLiteral("stall.ts"), 2);
    QFile file(media);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray body = file.readAll();

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    std::vector<QTcpSocket*> open; // held open, silent, until the test ends
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        open.push_back(socket);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, body] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: video/mp2t\r\n\r\n");
            socket->write(body);
        });
    });

    CWMPPlayer4 player(Quiet());
    bool ended = false;
    QObject::connect(&player, &CWMPPlayer4::mediaEnded, [&] { ended = true; });
    player.setURL(QStringLiteral("http://127.0.0.1:%1/live").arg(server.serverPort()));
    ASSERT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 10000));
    QElapsedTimer clock;
    clock.start();
    // Two seconds of media, then a stall noticed within a few seconds more.
    ASSERT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Buffering; }, 8000));
    EXPECT_LT(clock.elapsed(), 7000);
    EXPECT_FALSE(ended);
    EXPECT_EQ(player.lastEnd(), PlayerEnd::None);
    player.closeMedia();
    server.close();
}

// No sound device: the media's sound has nowhere to go, so the player says
// so (and still plays); a player silenced on purpose does not.
TEST_F(CWMPPlayer4Test, SoundWithNoDeviceIsReported) {
    const QString media = MakeMedia(QStringLiteral("tone.mkv"), 4);
    {
        CWMPPlayer4 quiet(Quiet());
        quiet.setURL(media);
        ASSERT_TRUE(
            WaitFor([&] { return quiet.status().kind == PlayerStatus::Kind::Playing; }, 10000));
        WaitFor([] { return false; }, 500);
        EXPECT_FALSE(quiet.soundMissing());
    }
    // A sound server that is not there stands in for a machine without sound.
    qputenv("PULSE_SERVER", "unix:/nonexistent/waveorbit-test");
    CWMPPlayer4::Options options = Quiet();
    options.audioOutput = QStringLiteral("pulse");
    CWMPPlayer4 player(options);
    qunsetenv("PULSE_SERVER");
    player.setURL(media);
    ASSERT_TRUE(
        WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Playing; }, 10000));
    EXPECT_TRUE(WaitFor([&] { return player.soundMissing(); }, 3000));
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Playing);
    player.closeMedia();
    EXPECT_FALSE(player.soundMissing());
}

TEST_F(CWMPPlayer4Test, ClosedPortAndEmptyAddressEndIdle) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close(); // nothing listens there any more

    CWMPPlayer4 player(Quiet());
    bool ended = false;
    QObject::connect(&player, &CWMPPlayer4::mediaEnded, [&] { ended = true; });
    player.setURL(QStringLiteral("http://127.0.0.1:%1/live").arg(port));
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Opening);
    EXPECT_TRUE(WaitFor([&] { return player.status().kind == PlayerStatus::Kind::Idle; }, 5000));
    EXPECT_FALSE(ended); // it never played, so nothing broke
    EXPECT_EQ(player.lastEnd(), PlayerEnd::None);

    player.closeMedia();
    player.setURL(QString());
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
    // A second close on an idle player is harmless.
    player.closeMedia();
    player.setVolume(250);
    EXPECT_EQ(player.status().kind, PlayerStatus::Kind::Idle);
}

// GL widgets cannot show on the offscreen platform: even when asked for GL
// the player draws in software there.
TEST_F(CWMPPlayer4Test, DrawsInSoftwareOnTheOffscreenPlatform) {
    CWMPPlayer4::Options options = Quiet();
    options.renderer = VideoRendererRequest::OpenGL;
    CWMPPlayer4 player(options);
    ASSERT_TRUE(player.IsBound());
    EXPECT_EQ(player.Renderer(), VideoRenderer::Software);
}

TEST_F(CWMPPlayer4Test, ReportsMouseOverThePicture) {
    CWMPPlayer4 player(Quiet());
    player.resize(100, 80);
    int doubleClicks = 0;
    std::vector<Qt::MouseButton> presses;
    QPoint moved;
    QObject::connect(&player, &CWMPPlayer4::doubleClicked, [&] { ++doubleClicks; });
    QObject::connect(
        &player, &CWMPPlayer4::mouseDown,
        [&](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) { presses.push_back(button); });
    QObject::connect(&player, &CWMPPlayer4::mouseMoved, [&](QPoint at) { moved = at; });

    const QPointF at(30, 40);
    QMouseEvent press(QEvent::MouseButtonPress, at, player.mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&player, &press);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, player.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&player, &twice);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), player.mapToGlobal(QPointF(5, 6)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&player, &move);

    EXPECT_EQ(presses, std::vector<Qt::MouseButton>{Qt::RightButton});
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(moved, QPoint(5, 6));
}

} // namespace
