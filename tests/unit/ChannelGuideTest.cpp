// The programme guide as the window uses it (ChannelGuide): the caption's
// programme line moving on at a boundary on a simulated clock, the volume
// line's three seconds over it, and the list row's tooltip.

#include "PlaybackFakes.h"

#include "EventLoopWait.h"
#include "TestFolders.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "app/PlayerSession.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/UpdateOutcome.h"
#include "guide/GuideBook.h"
#include "mainwindow/ChannelGuide.h"
#include "playback/StatusDisplay.h"
#include "playback/VolumeControl.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// 2026-12-09 12:00:00 UTC, where the simulated clock starts.
constexpr qint64 kStart = 1796817600;
const QString kKey = QStringLiteral("http://127.0.0.1:8733/tv5/index.m3u8");

QString Utc(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc())
               .toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(" +0000");
}

// The desktop's local clock, as the caption shows it.
QString Local(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime().toString(QStringLiteral("HH:mm"));
}

QString Range(qint64 from, qint64 to) {
    return Local(from) + QChar(0x2013) + Local(to);
}

class ChannelGuideTest : public ::testing::Test {
protected:
    ChannelGuideTest()
        : guide(session, nullptr, dir.path(), &timers), volume(player, timers, session) {
        view.Follow(session);
        timers.onTick = [this](PlaybackTimer id) {
            if (!volume.OnTimer(id))
                guide.OnTimer(id);
        };
        guide.SetClock([this] { return kStart + timers.Now() / 1000; });
    }

    // The news until 12:30, a drama until 13:30, then a film.
    static QByteArray GuideXml(const char* newsTitle = "뉴스9") {
        auto programme = [](qint64 from, qint64 to, const char* title, const char* desc) {
            return QStringLiteral("<programme start=\"%1\" stop=\"%2\" channel=\"KBS1.kr\">"
                                  "<title>%3</title>%4</programme>")
                .arg(Utc(from), Utc(to), QString::fromUtf8(title),
                     *desc ? QStringLiteral("<desc>%1</desc>").arg(QString::fromUtf8(desc))
                           : QString());
        };
        return (QStringLiteral("<tv><channel id=\"KBS1.kr\"><display-name>KBS 1TV"
                               "</display-name></channel>") +
                programme(kStart - 1800, kStart + 1800, newsTitle, "오늘의 주요 뉴스") +
                programme(kStart + 1800, kStart + 5400, "드라마 &lt;b&gt;첫사랑&lt;/b&gt;", "") +
                programme(kStart + 5400, kStart + 9000, "명작 극장", "") + QStringLiteral("</tv>"))
            .toUtf8();
    }

    // A local guide file, or the guide at an address.
    void GiveTheTvTabAGuide(QString address = QString()) {
        if (address.isEmpty()) {
            address = dir.filePath(QStringLiteral("guide.xml"));
            WriteBytes(address, GuideXml());
        }
        PlaylistGuides playlist;
        playlist.channels.push_back(
            GuideChannel{kKey, QStringLiteral("KBS1.kr"), QStringLiteral("KBS 1TV"), QString(), 0});
        playlist.addresses << address;
        guide.SetPlaylist(Category::Tv, playlist, "digest");
        ASSERT_TRUE(WaitFor([this] { return guide.Book().Find(Category::Tv, kKey) != nullptr; }));
    }

    ScopedXdgHome home;
    QTemporaryDir dir;
    PlayerSession session;
    FakeTimers timers;
    ChannelGuide guide;
    FakePlayer player;
    VolumeShown view;
    VolumeControl volume;
};

} // namespace

TEST_F(ChannelGuideTest, TheCaptionMovesOnAtTheBoundaryAndTheVolumeLineKeepsItsThreeSeconds) {
    GiveTheTvTabAGuide();
    EXPECT_EQ(session.ShownCaption(), QString()); // nothing plays
    session.SetPlayingChannel(Category::Tv, {QStringLiteral("http://down.example/"), kKey});
    session.SetPlayerActivity(PlayerSession::Activity::Playing);
    session.SetChannelName(QStringLiteral("KBS 1TV"));
    session.SetPlaying(true);
    const QString news = QStringLiteral("뉴스9  ") + Range(kStart - 1800, kStart + 1800);
    EXPECT_EQ(session.ShownCaption(), news);
    EXPECT_EQ(session.CurrentNowPlaying().programme, QStringLiteral("뉴스9"));
    // One single-shot timer, set to the programme's end; no polling.
    EXPECT_EQ(guide.PendingBoundary(), kStart + 1800);
    EXPECT_EQ(timers.Period(PlaybackTimer::Programme), 1800 * 1000);

    // A volume key a second before the boundary: the volume line for three seconds.
    timers.Advance(1799 * 1000);
    EXPECT_EQ(session.ShownCaption(), news);
    volume.Up();
    const QString volumeLine = StatusDisplay::VolumeCaption(session.Volume());
    EXPECT_EQ(session.ShownCaption(), volumeLine);
    timers.Advance(1000); // the boundary passes under the volume line
    EXPECT_EQ(session.ProgrammeTitle(), QStringLiteral("드라마 <b>첫사랑</b>"));
    EXPECT_EQ(session.ShownCaption(), volumeLine);
    timers.Advance(1999);
    EXPECT_EQ(session.ShownCaption(), volumeLine);
    timers.Advance(1); // three seconds after the key: the programme is back
    const QString drama =
        QStringLiteral("드라마 <b>첫사랑</b>  ") + Range(kStart + 1800, kStart + 5400);
    EXPECT_EQ(session.ShownCaption(), drama);
    EXPECT_EQ(guide.PendingBoundary(), kStart + 5400);
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Caption));

    // The next boundary, an hour on.
    timers.Advance(5400 * 1000 - timers.Now());
    EXPECT_EQ(session.ShownCaption(),
              QStringLiteral("명작 극장  ") + Range(kStart + 5400, kStart + 9000));
    // After the last programme nothing is shown and no timer waits.
    timers.Advance(3599 * 1000);
    EXPECT_NE(session.ShownCaption(), QString());
    timers.Advance(1000);
    EXPECT_EQ(session.ShownCaption(), QString());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Programme));

    // Stopped: cleared.
    timers.Advance(-(timers.Now()) + 60 * 1000); // back to 12:01 (the clock may go back)
    session.SetPlaying(false);
    session.SetPlaying(true);
    EXPECT_EQ(session.ShownCaption(), news);
    session.SetPlaying(false);
    EXPECT_EQ(session.ShownCaption(), QString());
    EXPECT_EQ(session.ProgrammeTitle(), QString());
    EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Programme));
    // A channel without a guide shows nothing.
    session.SetPlayingChannel(Category::Tv, {QStringLiteral("http://other.example/")});
    session.SetPlaying(true);
    EXPECT_EQ(session.ShownCaption(), QString());
}

TEST_F(ChannelGuideTest, TheListRowTooltipShowsNowAndNextAsPlainText) {
    GiveTheTvTabAGuide();
    timers.Advance(1000);
    const QString tip = guide.ToolTip(Category::Tv, {kKey});
    EXPECT_EQ(tip, QStringLiteral("지금 ") + Range(kStart - 1800, kStart + 1800) +
                       QStringLiteral(" 뉴스9\n오늘의 주요 뉴스\n다음 ") +
                       Range(kStart + 1800, kStart + 5400) +
                       QStringLiteral(" 드라마 <b>첫사랑</b>"));
    EXPECT_EQ(guide.ToolTip(Category::Radio, {kKey}), QString());
    EXPECT_EQ(guide.ToolTip(Category::Tv, {QStringLiteral("http://other.example/")}), QString());

    // The model asks the provider. Once the drama is on, the tooltip's first
    // line reads as markup to Qt: it is shown escaped, never as markup.
    timers.Advance(1800 * 1000);
    ChannelListModel model;
    ChannelRecord row;
    row.fields[ChannelRecord::Name] = QStringLiteral("KBS 1TV");
    row.fields[ChannelRecord::Url] = kKey;
    ChannelRecord other;
    other.fields[ChannelRecord::Name] = QStringLiteral("OTHER");
    other.fields[ChannelRecord::Url] = QStringLiteral("http://other.example/");
    model.AppendRows({row, other});
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::ToolTipRole).isValid()); // no provider
    model.SetToolTipProvider(
        [this](const ChannelRecord& r) { return guide.ToolTip(Category::Tv, r.Addresses()); });
    const QString shown = model.data(model.index(0, 1), Qt::ToolTipRole).toString();
    EXPECT_TRUE(shown.contains(QStringLiteral("&lt;b&gt;첫사랑&lt;/b&gt;"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("<b>")));
    EXPECT_TRUE(shown.contains(QStringLiteral("첫사랑&lt;/b&gt;<br>다음 ")));
    EXPECT_FALSE(model.data(model.index(1, 1), Qt::ToolTipRole).isValid());
}

// The update command's account of the guides: the same guide again is
// current, a changed one replaced, one that does not arrive failed (and the
// guide in use stays).
TEST_F(ChannelGuideTest, RefreshingEveryGuideTellsWhatCameOfIt) {
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/guide.xml"), demo::HttpResponse::Ok(GuideXml()));
    GiveTheTvTabAGuide(server.Url(QStringLiteral("/guide.xml")));
    auto refreshAll = [this] {
        std::optional<UpdateOutcome> outcome;
        guide.RefreshAll([&outcome](const UpdateOutcome& o) { outcome = o; });
        EXPECT_TRUE(WaitFor([&outcome] { return outcome.has_value(); }));
        return outcome.value_or(UpdateOutcome());
    };
    auto newsTitle = [this] {
        const auto nowNext = guide.NowNext(Category::Tv, {kKey});
        return nowNext.now ? nowNext.now->title : QString();
    };

    UpdateOutcome same = refreshAll();
    EXPECT_EQ(same.Current(), QStringList{QStringLiteral("TV")});
    EXPECT_TRUE(same.Replaced().isEmpty() && same.Failed().isEmpty());
    EXPECT_EQ(ChannelGuide::UpdateLines(same), QStringLiteral("편성표는 바뀐 것이 없습니다: TV"));

    server.SetRoute(QStringLiteral("/guide.xml"), demo::HttpResponse::Ok(GuideXml("저녁 뉴스")));
    UpdateOutcome changed = refreshAll();
    EXPECT_EQ(changed.Replaced(), QStringList{QStringLiteral("TV")});
    EXPECT_EQ(newsTitle(), QStringLiteral("저녁 뉴스"));

    server.SetRoute(QStringLiteral("/guide.xml"), demo::HttpResponse::Status(404));
    UpdateOutcome failed = refreshAll();
    EXPECT_EQ(failed.Failed(), QStringList{QStringLiteral("TV")});
    EXPECT_EQ(newsTitle(), QStringLiteral("저녁 뉴스"));
    EXPECT_EQ(ChannelGuide::UpdateLines(failed),
              QStringLiteral("편성표를 받지 못했습니다: TV (이전 편성표를 그대로 둡니다)"));
    EXPECT_EQ(ChannelGuide::UpdateLines(UpdateOutcome()), QString());
}

// A guide download takes a low share of the bandwidth while a stream opens
// or plays, and runs at full speed when nothing plays.
TEST_F(ChannelGuideTest, GuideDownloadsAreHeldBackWhileAStreamIsOn) {
    const DownloadQueue& queue = *guide.Book().Queue();
    EXPECT_EQ(queue.RateCap(), 0);
    session.SetPlayerActivity(PlayerSession::Activity::Opening);
    EXPECT_EQ(queue.RateCap(), ChannelGuide::kRateWhilePlaying);
    session.SetPlaying(true);
    EXPECT_EQ(queue.RateCap(), ChannelGuide::kRateWhilePlaying);
    session.SetPlaying(false);
    session.SetPlayerActivity(PlayerSession::Activity::Idle);
    EXPECT_EQ(queue.RateCap(), 0);
}
