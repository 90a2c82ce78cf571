#include "PlaybackFakes.h"
#include "TestFolders.h"

#include "app/Launcher.h"
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "playback/ConnectionWatch.h"
#include "playback/StatusDisplay.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kFailed = QStringLiteral("방송연결이 실패 하였습니다.");
const QString kConnecting = QStringLiteral("방송을 연결중입니다. 잠시만 기다려주세요.");
const QString kConnected = QStringLiteral("방송연결이 성공하였습니다.");
const QString kStopped = QStringLiteral("현재 방송연결이 정지되었습니다.");
constexpr int kStallSecondsShort = 3;

class ConnectionWatchTest : public ::testing::Test {
protected:
    ConnectionWatchTest()
        : launcher(Launcher::Backend{[this](const QUrl& url) {
                                         opened.push_back(url.toString());
                                         return true;
                                     },
                                     [](const QString&, const QStringList&) { return true; }}),
          watch(player, view, timers, launcher, session) {
        view.Follow(session);
        timers.onTick = [this](PlaybackTimer id) { watch.OnTimer(id); };
        view.AddRow(QStringLiteral("KBS1"), QStringLiteral("http://127.0.0.1:1/kbs1"));
        view.AddRow(QStringLiteral("MBC"), QStringLiteral("http://127.0.0.1:1/mbc"));
        view.AddRow(QStringLiteral("Radio"), QStringLiteral("http://127.0.0.1:1/radio"));
    }

    void Seconds(int n) { timers.Advance(1000LL * n); }

    // Plays a row and lets it connect on the first tick.
    void ConnectRow(int row) {
        view.currentRow = row;
        watch.PlaySelected();
        player.current = PlayerStatus::Playing();
        Seconds(1);
    }

    QString SavedIndex() const { return Settings::ReadText(Settings::IndexWritten); }

    ScopedXdgHome home;
    FakePlayer player;
    FakeView view;
    FakeTimers timers;
    QStringList opened;
    Launcher launcher;
    PlayerSession session;
    ConnectionWatch watch;
};

TEST_F(ConnectionWatchTest, IdleAtFirstTickFailsWithoutMessage) {
    watch.PlayRow(0);
    EXPECT_EQ(player.calls, QStringList({QStringLiteral("close"),
                                         QStringLiteral("URL http://127.0.0.1:1/kbs1")}));
    // Nothing shows until the first tick.
    EXPECT_EQ(view.statusText, QStringLiteral("현재 방송을 시청중이지 않습니다."));
    Seconds(1);
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("연결실패"));
    EXPECT_FALSE(view.lampLit);
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    EXPECT_EQ(player.closes, 1); // the failed attempt is not closed again
}

TEST_F(ConnectionWatchTest, FifteenConnectingTicksTimeOutBufferingDoesNotCount) {
    view.answerYes = true;
    player.current = PlayerStatus::Opening();
    watch.PlayRow(1);
    Seconds(14);
    EXPECT_EQ(watch.ConnectingTicks(), 14);
    EXPECT_EQ(view.statusText, kConnecting);
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("연결중"));
    EXPECT_FALSE(view.lampLit);

    player.current = PlayerStatus::Buffering(45);
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결 : 45% "));
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("45% "));
    EXPECT_EQ(watch.ConnectingTicks(), 14);
    EXPECT_TRUE(view.questions.isEmpty());

    player.current = PlayerStatus::Opening();
    Seconds(1);
    ASSERT_EQ(view.questions.size(), 1);
    EXPECT_EQ(view.questions[0],
              QStringLiteral("WAVEORBIT|현재 방송연결에 실패했습니다.\n\r\n\r일시적인 문제일 수도 "
                             "있으니 잠시 후 다시 시도 해보시기 바랍니다.\n그래도 방송 연결이 안 "
                             "되면 홈페이지에 문의해 주시기 바랍니다."));
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_FALSE(view.lampLit);
    EXPECT_EQ(player.closes, 2); // connect, then the stop of the time-out
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));
    // The cell keeps what the earlier ticks wrote.
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("45% "));
    // Yes opens the service's home page, as the home-page button does.
    EXPECT_EQ(view.homePagesOpened, 1);
    EXPECT_EQ(player.calls.filter(QStringLiteral("URL ")).size(), 1);
}

TEST_F(ConnectionWatchTest, WithoutAHomePageTheTimeOutOffersAnotherTry) {
    view.hasHomePage = false;
    view.answerYes = true;
    player.current = PlayerStatus::Opening();
    watch.PlayRow(1);
    Seconds(15);
    ASSERT_EQ(view.questions.size(), 1);
    EXPECT_EQ(view.questions[0], StatusDisplay::MessageCaption() + QStringLiteral("|") +
                                     StatusDisplay::TimeoutRetryQuestion());
    EXPECT_FALSE(view.questions[0].contains(QStringLiteral("홈페이지")));
    EXPECT_EQ(view.homePagesOpened, 0);
    // Yes connects the same channel again, counting from the start.
    EXPECT_EQ(player.calls.filter(QStringLiteral("URL ")),
              QStringList(2, QStringLiteral("URL http://127.0.0.1:1/mbc")));
    EXPECT_EQ(watch.ChannelName(), QStringLiteral("MBC"));
    EXPECT_EQ(watch.ConnectingTicks(), 0);
    EXPECT_TRUE(timers.IsTimerRunning(PlaybackTimer::Watch));

    // No leaves it stopped.
    view.answerYes = false;
    Seconds(15);
    EXPECT_EQ(view.questions.size(), 2);
    EXPECT_EQ(player.calls.filter(QStringLiteral("URL ")).size(), 2);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    EXPECT_EQ(view.statusText, kFailed);
}

TEST_F(ConnectionWatchTest, NewPlayUrlCountsFromZeroAndNoOpensNothing) {
    player.current = PlayerStatus::Opening();
    watch.PlayRow(0);
    Seconds(10);
    watch.PlayUrl(QStringLiteral("http://127.0.0.1:1/other"));
    Seconds(14);
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_EQ(watch.ConnectingTicks(), 14);
    Seconds(1);
    EXPECT_EQ(view.questions.size(), 1);
    EXPECT_EQ(view.homePagesOpened, 0);
    Seconds(30);
    EXPECT_EQ(view.questions.size(), 1); // nothing ticks after the time-out
}

TEST_F(ConnectionWatchTest, SuccessOnVideoChannelShowsPictureAndSavesPosition) {
    ConnectRow(1);
    EXPECT_TRUE(watch.Playing());
    EXPECT_EQ(view.statusText, kConnected);
    EXPECT_TRUE(view.lampLit);
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("연결성공"));
    EXPECT_EQ(SavedIndex(), QStringLiteral("1"));
    EXPECT_EQ(view.videoShows, 1);
    EXPECT_EQ(view.windowHides, 0);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("MBC : 00:00:01"));
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("MBC : 00:00:02"));
}

TEST_F(ConnectionWatchTest, SuccessOnRadioHidesWindowOnlyWithAutomaticHide) {
    view.category = Category::Radio;
    view.autoHide = true;
    ConnectRow(2);
    EXPECT_EQ(view.windowHides, 1);
    EXPECT_EQ(view.videoShows, 0);

    view.category = Category::Music;
    view.autoHide = false;
    ConnectRow(2);
    EXPECT_EQ(view.windowHides, 1);
    EXPECT_EQ(view.videoShows, 0);
    EXPECT_TRUE(view.lampLit);

    // The TV tab opened while a radio connects: still no picture.
    view.category = Category::Radio;
    view.currentRow = 2;
    watch.PlaySelected();
    view.category = Category::Tv;
    player.current = PlayerStatus::Playing();
    Seconds(1);
    EXPECT_TRUE(session.IsPlaying());
    EXPECT_EQ(view.videoShows, 0);
}

TEST_F(ConnectionWatchTest, AutomaticCloseTogglesListOnlyForExactlyOneAndIsRefusedWhenMaximised) {
    Settings::WriteText(Settings::AutoClose, QStringLiteral("2"));
    ConnectRow(0);
    EXPECT_EQ(view.listToggles, 0);

    Settings::WriteText(Settings::AutoClose, QStringLiteral("1"));
    ConnectRow(0);
    EXPECT_EQ(view.listToggles, 1);

    view.maximised = true;
    ConnectRow(0);
    EXPECT_EQ(view.listToggles, 1);
    EXPECT_EQ(view.messages,
              QStringList{QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다.")});
    EXPECT_TRUE(timers.IsTimerRunning(PlaybackTimer::Clock));
}

TEST_F(ConnectionWatchTest, StopDuringRefusalBoxWinsOverTheSuccess) {
    Settings::WriteText(Settings::AutoClose, QStringLiteral("1"));
    view.maximised = true;
    view.duringMessage = [this] { watch.StopPlayback(); };
    ConnectRow(0);
    EXPECT_FALSE(watch.Playing());
    EXPECT_EQ(view.statusText, kStopped);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));
    EXPECT_EQ(view.videoShows, 0);
}

TEST_F(ConnectionWatchTest, ClockRollsOverHoursAndPassesOneHundred) {
    ConnectRow(0);
    Seconds(3599);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 00:59:59"));
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 01:00:00"));
    Seconds(99 * 3600 + 5);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 100:00:05"));
}

TEST_F(ConnectionWatchTest, BroadcastByAddressIsTheUsersOwnAndTouchesNoRow) {
    player.current = PlayerStatus::Playing();
    watch.PlayAddress(QStringLiteral("http://127.0.0.1:1/mine"));
    Seconds(2);
    EXPECT_EQ(view.statusText, QStringLiteral("사용자방송 : 00:00:01"));
    EXPECT_EQ(view.cellWrites, 0);
    EXPECT_EQ(SavedIndex(), QStringLiteral("0")); // the default: nothing written

    // A second one, failing, still belongs to no row.
    player.current = PlayerStatus::Idle();
    watch.PlayAddress(QStringLiteral("http://127.0.0.1:1/gone"));
    Seconds(1);
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_EQ(view.cellWrites, 0);

    // After a row played, an address is still the user's own: the row's name
    // does not label it and the row's cell keeps its "연결성공".
    ConnectRow(1);
    const int writesAfterRow = view.cellWrites;
    player.current = PlayerStatus::Opening();
    watch.PlayAddress(QStringLiteral("http://127.0.0.1:1/mine"));
    Seconds(1);
    player.current = PlayerStatus::Idle();
    Seconds(1);
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_EQ(view.cellWrites, writesAfterRow);
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("연결성공"));
    EXPECT_EQ(SavedIndex(), QStringLiteral("1"));
    player.current = PlayerStatus::Playing();
    watch.PlayAddress(QStringLiteral("http://127.0.0.1:1/mine"));
    Seconds(3);
    EXPECT_EQ(view.statusText, QStringLiteral("사용자방송 : 00:00:02"));
    EXPECT_EQ(view.cellWrites, writesAfterRow);
}

TEST_F(ConnectionWatchTest, PlayWithoutCurrentRowPlaysSavedPosition) {
    Settings::WriteNumber(Settings::IndexWritten, 2);
    watch.PlaySelected();
    EXPECT_EQ(view.currentRow, 2);
    EXPECT_EQ(player.urls, QStringList{QStringLiteral("http://127.0.0.1:1/radio")});
}

TEST_F(ConnectionWatchTest, PlayLeavesFullScreenFirstAndWebRowOpensPage) {
    view.fullScreen = true;
    view.AddRow(QStringLiteral("Page"), QString(), QStringLiteral("Y"),
                QStringLiteral("http://127.0.0.1:1/page"));
    ConnectRow(0);
    EXPECT_EQ(view.fullScreenLeft, 1);

    view.currentRow = 3;
    watch.PlaySelected();
    EXPECT_EQ(opened, QStringList{QStringLiteral("http://127.0.0.1:1/page")});
    EXPECT_EQ(player.urls.size(), 1);
    // The broadcast that plays keeps its label.
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 00:00:01"));
}

TEST_F(ConnectionWatchTest, StopAndNextRowLeaveThePreviousCell) {
    ConnectRow(0);
    watch.StopPlayback();
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("연결성공"));
    EXPECT_EQ(view.statusText, kStopped);
    EXPECT_FALSE(view.lampLit);
    EXPECT_FALSE(watch.Playing());
    EXPECT_EQ(view.videoHides, 1);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));

    ConnectRow(0);
    player.current = PlayerStatus::Opening();
    view.currentRow = 1;
    watch.PlaySelected();
    Seconds(1);
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("연결성공"));
    EXPECT_EQ(view.ConnectCell(1), QStringLiteral("연결중"));
}

TEST_F(ConnectionWatchTest, EmptyUserTabMenuRefusesButtonGoesOnToIdleFailure) {
    view.rows.clear();
    view.category = Category::User;
    watch.MenuPlay();
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("채널을 추가 해주세요.")});
    EXPECT_TRUE(player.urls.isEmpty());

    watch.PlaySelected();
    EXPECT_EQ(player.urls, QStringList{QString()});
    Seconds(1);
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_EQ(view.cellWrites, 0);
    EXPECT_EQ(view.messages.size(), 1);
}

TEST_F(ConnectionWatchTest, BrokenBroadcastReconnectsToSameAddress) {
    Settings::WriteText(Settings::AutoClose, QStringLiteral("1"));
    view.category = Category::Radio;
    view.autoHide = true;
    ConnectRow(2);
    Seconds(5);
    ASSERT_EQ(view.listToggles, 1);
    ASSERT_EQ(view.windowHides, 1);

    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Broken;
    Seconds(1);
    EXPECT_FALSE(watch.Playing());
    EXPECT_TRUE(watch.Reconnecting());
    EXPECT_FALSE(view.lampLit);
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결이 끊어져 다시 연결중입니다. (1/3)"));
    EXPECT_EQ(view.ConnectCell(2), QStringLiteral("재연결중"));
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));

    player.current = PlayerStatus::Opening();
    Seconds(1); // the pause before the first try
    EXPECT_EQ(player.urls.size(), 2);
    EXPECT_EQ(player.urls.last(), QStringLiteral("http://127.0.0.1:1/radio"));
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결이 끊어져 다시 연결중입니다. (1/3)"));

    player.current = PlayerStatus::Playing();
    Seconds(1);
    EXPECT_TRUE(watch.Playing());
    EXPECT_FALSE(watch.Reconnecting());
    EXPECT_EQ(view.ConnectCell(2), QStringLiteral("연결성공"));
    // The recovery neither toggles the list again nor hides the window again.
    EXPECT_EQ(view.listToggles, 1);
    EXPECT_EQ(view.windowHides, 1);
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("Radio : 00:00:01"));
}

TEST_F(ConnectionWatchTest, ReconnectTriesThreeTimesWithGrowingPausesThenFails) {
    view.answerYes = true;
    ConnectRow(0);
    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Broken;
    watch.OnPlayerEnded(); // reported at once, not at the next clock tick
    EXPECT_TRUE(watch.Reconnecting());

    std::vector<long long> tries;
    const long long brokeAt = timers.Now();
    for (int i = 0; i < 20; ++i) {
        const int before = player.urls.size();
        timers.Advance(500);
        if (player.urls.size() != before)
            tries.push_back(timers.Now() - brokeAt);
    }
    // Each try fails at its first tick (1 s), then the pause grows: 1 s, 2 s, 4 s.
    EXPECT_EQ(tries, (std::vector<long long>{1000, 1000 + 1000 + 2000, 4000 + 1000 + 4000}));
    EXPECT_FALSE(watch.Reconnecting());
    EXPECT_FALSE(watch.Playing());
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_FALSE(view.lampLit);
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("연결실패"));
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Reconnect));
}

TEST_F(ConnectionWatchTest, ReconnectTryThatHangsCountsAsFailedWithoutQuestion) {
    ConnectRow(0);
    player.current = PlayerStatus::Opening();
    player.end = PlayerEnd::Broken;
    // Opening while playing is no break; an idle player is.
    Seconds(3);
    EXPECT_TRUE(watch.Playing());
    player.current = PlayerStatus::Idle();
    Seconds(1);
    ASSERT_TRUE(watch.Reconnecting());
    player.current = PlayerStatus::Opening();
    Seconds(1 + 15);
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_TRUE(watch.Reconnecting());
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결이 끊어져 다시 연결중입니다. (2/3)"));
}

TEST_F(ConnectionWatchTest, StopWinsOverPendingReconnect) {
    ConnectRow(0);
    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Broken;
    Seconds(1);
    ASSERT_TRUE(watch.Reconnecting());
    watch.StopPlayback();
    Seconds(30);
    EXPECT_EQ(player.urls.size(), 1);
    EXPECT_EQ(view.statusText, kStopped);
    EXPECT_FALSE(watch.Reconnecting());

    // A new play during a pending reconnect also cancels it.
    ConnectRow(0);
    player.current = PlayerStatus::Idle();
    Seconds(1);
    ASSERT_TRUE(watch.Reconnecting());
    player.current = PlayerStatus::Opening();
    watch.PlayUrl(QStringLiteral("http://127.0.0.1:1/new"));
    Seconds(5);
    EXPECT_EQ(player.urls.last(), QStringLiteral("http://127.0.0.1:1/new"));
    EXPECT_EQ(view.statusText, kConnecting);
}

TEST_F(ConnectionWatchTest, RecordingThatEndsStopsWithoutReconnecting) {
    ConnectRow(0);
    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Finished;
    watch.OnPlayerEnded();
    EXPECT_FALSE(watch.Reconnecting());
    EXPECT_FALSE(watch.Playing());
    EXPECT_EQ(view.statusText, kStopped);
    Seconds(10);
    EXPECT_EQ(player.urls.size(), 1);
}

// A stream that stops delivering while it plays: shown as buffering with the
// lamp out and the clock held; when data flows again it plays on by itself.
TEST_F(ConnectionWatchTest, StallShowsBufferingAndPlaysOnWhenDataFlowsAgain) {
    ConnectRow(0);
    Seconds(3);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 00:00:03"));

    player.current = PlayerStatus::Buffering(40);
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결 : 40% "));
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("40% "));
    EXPECT_FALSE(view.lampLit);
    EXPECT_TRUE(watch.Stalled());
    EXPECT_TRUE(watch.Playing());
    // A position that stopped moving reads as buffering with nothing yet.
    player.current = PlayerStatus::Opening();
    Seconds(kStallSecondsShort);
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결 : 0% "));
    EXPECT_EQ(player.urls.size(), 1);

    player.current = PlayerStatus::Playing();
    Seconds(1);
    // The clock goes on from where it stood: the stalled seconds are not counted.
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 00:00:04"));
    EXPECT_TRUE(view.lampLit);
    EXPECT_EQ(view.ConnectCell(0), QStringLiteral("연결성공"));
    EXPECT_FALSE(watch.Stalled());
    EXPECT_EQ(player.urls.size(), 1);
    EXPECT_EQ(player.closes, 1);

    // A new stall counts its own ticks from zero.
    player.current = PlayerStatus::Buffering(0);
    Seconds(ConnectionWatch::kStallLimitTicks - 1);
    EXPECT_FALSE(watch.Reconnecting());
}

// A stall that outlasts the limit goes the way of a broken broadcast: the
// stalled connection is closed and the same address tried again after 1 s.
TEST_F(ConnectionWatchTest, StallBeyondTheLimitReconnects) {
    view.category = Category::Radio;
    ConnectRow(2);
    player.current = PlayerStatus::Buffering(0);
    Seconds(ConnectionWatch::kStallLimitTicks - 1);
    EXPECT_TRUE(watch.Playing());
    EXPECT_EQ(player.closes, 1);
    Seconds(1);
    EXPECT_FALSE(watch.Playing());
    EXPECT_TRUE(watch.Reconnecting());
    EXPECT_FALSE(watch.Stalled());
    EXPECT_EQ(player.closes, 2); // the stalled connection is let go
    EXPECT_EQ(view.statusText, QStringLiteral("방송연결이 끊어져 다시 연결중입니다. (1/3)"));
    EXPECT_EQ(view.ConnectCell(2), QStringLiteral("재연결중"));
    EXPECT_FALSE(view.lampLit);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));

    player.current = PlayerStatus::Opening();
    Seconds(1);
    EXPECT_EQ(player.urls, QStringList({QStringLiteral("http://127.0.0.1:1/radio"),
                                        QStringLiteral("http://127.0.0.1:1/radio")}));
    player.current = PlayerStatus::Playing();
    Seconds(2);
    EXPECT_TRUE(watch.Playing());
    EXPECT_TRUE(view.lampLit);
    EXPECT_EQ(view.statusText, QStringLiteral("Radio : 00:00:01"));
    EXPECT_TRUE(view.questions.isEmpty());
}

// No sound device: said once, on the success line, and held for a few ticks;
// the broadcast plays on. A later success says nothing more.
TEST_F(ConnectionWatchTest, MissingSoundDeviceIsSaidOnceOnSuccess) {
    player.noSound = true;
    ConnectRow(0);
    EXPECT_EQ(view.statusText, StatusDisplay::ConnectedWithoutSound());
    EXPECT_TRUE(view.lampLit);
    EXPECT_TRUE(watch.Playing());
    Seconds(ConnectionWatch::kNoticeTicks - 1);
    EXPECT_EQ(view.statusText, StatusDisplay::ConnectedWithoutSound());
    Seconds(1);
    EXPECT_EQ(view.statusText, QStringLiteral("KBS1 : 00:00:%1")
                                   .arg(ConnectionWatch::kNoticeTicks, 2, 10, QLatin1Char('0')));
    ConnectRow(1);
    EXPECT_EQ(view.statusText, kConnected);

    // Sound that works says nothing either.
    PlayerSession freshSession;
    ConnectionWatch fresh(player, view, timers, launcher, freshSession);
    player.noSound = false;
    view.currentRow = 0;
    fresh.PlaySelected();
    fresh.OnTimer(PlaybackTimer::Watch);
    EXPECT_EQ(view.statusText, kConnected);
}

TEST_F(ConnectionWatchTest, ShutdownClosesAndSilencesTimers) {
    ConnectRow(0);
    watch.Shutdown();
    EXPECT_FALSE(watch.Playing());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Clock));
    const QString before = view.statusText;
    Seconds(5);
    EXPECT_EQ(view.statusText, before);
}

} // namespace
