#include "app/Launcher.h"
#include "app/PlayerSession.h"
#include "playback/CWMPPlayer4.h"
#include "playback/ChannelHistory.h"
#include "playback/ConnectionWatch.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "../unit/PlaybackFakes.h"
#include "EventLoopWait.h"
#include "TestFolders.h"
#include "ToneStream.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using demo::HttpRequest;
using demo::HttpResponse;

namespace {

// The window's timers ten times faster: the watch counts its ticks as
// always, so a silent server costs its fifteen ticks in a second and a half.
class FastTimers : public TimerHost {
public:
    explicit FastTimers(std::function<void(PlaybackTimer)> onTick) : timers_(std::move(onTick)) {}
    void StartTimer(PlaybackTimer id, int milliseconds) override {
        timers_.StartTimer(id, std::max(1, milliseconds / 10));
    }
    void StopTimer(PlaybackTimer id) override { timers_.StopTimer(id); }
    bool IsTimerRunning(PlaybackTimer id) const override { return timers_.IsTimerRunning(id); }

private:
    QtTimerHost timers_;
};

// The status lines in the order they were shown, each once.
// The status lines in the order the session showed them.
class StatusLog : public FakeView {
public:
    void Follow(PlayerSession& session) {
        QObject::connect(&session, &PlayerSession::statusChanged, [this, &session] {
            if (shown.isEmpty() || shown.last() != session.StatusText())
                shown << session.StatusText();
        });
    }
    QStringList shown;
};

} // namespace

// A channel whose first address is refused, whose second answers 404 and
// whose third accepts and sends nothing plays from its fourth, through the
// real player and the real watch; the next start begins with the fourth.
TEST(SpareAddressPlayer, FailedAddressesGiveWayToTheOneThatPlaysWhichIsTriedFirstNextTime) {
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        GTEST_SKIP() << "ffmpeg is not installed";
    const QByteArray body = ToneStream(8);
    ASSERT_FALSE(body.isEmpty());
    ScopedXdgHome home;
    QDir().mkpath(home.dataHome());

    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/missing.ts"), HttpResponse::Status(404));
    server.SetRoute(QStringLiteral("/silent.ts"), HttpResponse::Stall());
    server.SetHandler(QStringLiteral("/tone.ts"),
                      [body](const HttpRequest&) { return HttpResponse::Ok(body, "video/mp2t"); });
    const QStringList addresses{QStringLiteral("http://127.0.0.1:%1/refused.ts").arg(closedPort),
                                server.Url(QStringLiteral("/missing.ts")),
                                server.Url(QStringLiteral("/silent.ts")),
                                server.Url(QStringLiteral("/tone.ts"))};

    CWMPPlayer4::Options quiet;
    quiet.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(quiet);
    ASSERT_TRUE(player.IsBound());
    StatusLog view;
    view.AddRow(QStringLiteral("Arirang"), addresses.first());
    view.listed[0] = {addresses, true, {}};
    const Launcher launcher(Launcher::Backend{
        [](const QUrl&) { return true; }, [](const QString&, const QStringList&) { return true; }});
    PlayerSession session;
    view.Follow(session);
    const QString keptFile = QDir(home.dataHome()).filePath(QStringLiteral("played.json"));
    ChannelHistory played(keptFile);
    ConnectionWatch* current = nullptr;
    FastTimers timers([&current](PlaybackTimer id) { current->OnTimer(id); });
    ConnectionWatch watch(player, view, timers, launcher, session);
    watch.SetHistory(&played);
    current = &watch;

    watch.PlayRow(0);
    ASSERT_TRUE(WaitFor([&] { return session.IsPlaying(); }, 30000))
        << view.shown.join('|').toStdString();
    EXPECT_EQ(watch.AddressIndex(), 3);
    const QStringList expected{
        QStringLiteral("다른 주소로 연결중 (2/4)"), QStringLiteral("다른 주소로 연결중 (3/4)"),
        QStringLiteral("다른 주소로 연결중 (4/4)"), QStringLiteral("방송연결이 성공하였습니다.")};
    QStringList seen;
    for (const QString& text : std::as_const(view.shown)) {
        if (expected.contains(text))
            seen << text;
    }
    EXPECT_EQ(seen, expected) << view.shown.join('|').toStdString();
    EXPECT_FALSE(view.shown.contains(QStringLiteral("방송연결이 실패 하였습니다.")));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/missing.ts")), 1);

    // Played long enough to count: kept for the next start.
    ASSERT_TRUE(WaitFor([&] { return QFile::exists(keptFile); }, 5000));
    watch.Shutdown();

    ChannelHistory reread(keptFile);
    ConnectionWatch next(player, view, timers, launcher, session);
    next.SetHistory(&reread);
    current = &next;
    view.shown.clear();
    const int missingBefore = server.RequestCount(QStringLiteral("/missing.ts"));
    next.PlayRow(0);
    ASSERT_TRUE(WaitFor([&] { return session.IsPlaying(); }, 15000));
    EXPECT_EQ(next.AddressIndex(), 0);
    EXPECT_EQ(next.Addresses().first(), addresses.last());
    EXPECT_EQ(server.RequestCount(QStringLiteral("/missing.ts")), missingBefore);
    next.Shutdown();
}
