// The installed-style program, started as its own process on a private
// session bus, driven by playerctl as a desktop's media controls would: the
// state, the channel and the radio's changing title, the volume (kept at
// exit) and stop. The radio is a live Icecast stream on 127.0.0.1.

#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/M3uPlaylist.h"
#include "demo/LiveStreams.h"

#include "TestFolders.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kChannel = QStringLiteral("웨이브 라디오 #1");

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// One playerctl call for the program; its trimmed output.
QString Playerctl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("playerctl"), QStringList{"-p", "waveorbit"} + arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return QStringLiteral("<timed out>");
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// Polls while the event loop runs (the streams' helpers live on it).
bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(100);
    }
    return done();
}

// The program in its own process on the test's display and bus; killed at
// the end of the test if it still runs.
struct RunningProgram {
    QProcess process;

    bool Start() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(WAVEORBIT_PROGRAM), {});
        return process.waitForStarted(10000);
    }
    ~RunningProgram() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

} // namespace

TEST(MprisE2E, PlayerctlSeesAndControlsTheRunningProgram) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        << "run under dbus-run-session";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty());
    const QStringList missing = demo::LiveStreams::MissingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();

    ScopedXdgHome home; // the program inherits this throwaway home
    demo::LiveStreams streams;
    demo::LiveStreamOptions options;
    options.audioPort = FreePort();
    options.video = false;
    options.titleIntervalMs = 3000;
    QString error;
    ASSERT_TRUE(streams.Start(options, &error)) << error.toStdString();

    // One channel of the user's own, the user tab open at start.
    ASSERT_TRUE(CUserChannelFile(Paths::DataFolder())
                    .Append(M3uPlaylist::ToUserRecord(
                        M3uPlaylist::Entry{kChannel, QString(), streams.AudioUrl(1)},
                        QStringLiteral("http://127.0.0.1:1"))));
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));

    RunningProgram running;
    ASSERT_TRUE(running.Start());
    QProcess& program = running.process;

    ASSERT_TRUE(WaitUntil([] { return Playerctl({"status"}) == "Stopped"; }, 20000))
        << Playerctl({"status"}).toStdString();

    // A follower hears of changes only through PropertiesChanged signals.
    QProcess follower;
    follower.start(QStringLiteral("playerctl"),
                   {"-p", "waveorbit", "metadata", "--follow", "--format", "{{status}}|{{title}}"});
    ASSERT_TRUE(follower.waitForStarted(5000));
    struct FollowerStop {
        QProcess& p;
        ~FollowerStop() {
            p.kill();
            p.waitForFinished(5000);
        }
    } followerStop{follower};
    QThread::msleep(500); // let it subscribe

    Playerctl({"play"});
    ASSERT_TRUE(WaitUntil([] { return Playerctl({"status"}) == "Playing"; }, 20000))
        << Playerctl({"status"}).toStdString();
    // The name as stored ("#" kept as the full-width sign).
    EXPECT_EQ(Playerctl({"metadata", "title"}), QStringLiteral("웨이브 라디오 ＃1"));
    QByteArray followed;
    EXPECT_TRUE(WaitUntil(
        [&] {
            followed += follower.readAllStandardOutput();
            return QString::fromUtf8(followed).contains(
                QStringLiteral("Playing|웨이브 라디오 ＃1"));
        },
        10000))
        << followed.toStdString();

    // The radio's own title arrives, then changes.
    QString first;
    ASSERT_TRUE(WaitUntil(
        [&] {
            first = Playerctl({"metadata", "artist"});
            return !first.isEmpty();
        },
        20000));
    EXPECT_TRUE(WaitUntil(
        [&] {
            const QString now = Playerctl({"metadata", "artist"});
            return !now.isEmpty() && now != first;
        },
        20000))
        << first.toStdString();

    Playerctl({"volume", "0.5"});
    EXPECT_TRUE(WaitUntil([] { return Playerctl({"volume"}).toDouble() == 0.5; }, 5000))
        << Playerctl({"volume"}).toStdString();

    Playerctl({"stop"});
    EXPECT_TRUE(WaitUntil([] { return Playerctl({"status"}) == "Stopped"; }, 10000));

    // Quit through the bus as a sound menu would; the volume is kept.
    QProcess::execute(QStringLiteral("dbus-send"),
                      {"--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.waveorbit",
                       "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
    ASSERT_TRUE(WaitUntil([&] { return program.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 50);
    streams.Stop();
}

// Ended by the session or by `kill` (SIGTERM), the program closes as when
// the user closes it: it exits normally and keeps the volume.
TEST(MprisE2E, TerminateSignalClosesTheProgramLikeTheUser) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        << "run under dbus-run-session";
    ScopedXdgHome home;
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::Sound, QStringLiteral("80"));

    RunningProgram running;
    ASSERT_TRUE(running.Start());
    QProcess& program = running.process;
    ASSERT_TRUE(WaitUntil([] { return Playerctl({"status"}) == "Stopped"; }, 20000));

    Playerctl({"volume", "0.3"});
    ASSERT_TRUE(WaitUntil([] { return Playerctl({"volume"}).toDouble() == 0.3; }, 5000));
    program.terminate(); // SIGTERM
    ASSERT_TRUE(WaitUntil([&] { return program.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 30);
}
