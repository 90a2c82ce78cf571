#include "PlaybackFakes.h"
#include "TestFolders.h"

#include "app/Launcher.h"
#include "app/PlayerSession.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/ChannelMerge.h"
#include "playback/ChannelHistory.h"
#include "playback/ConnectionWatch.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QString kTryingSecond = QStringLiteral("다른 주소로 연결중 (2/3)");
const QString kTryingThird = QStringLiteral("다른 주소로 연결중 (3/3)");
const QString kFailed = QStringLiteral("방송연결이 실패 하였습니다.");

ChannelLists::Parsed ParsePlaylist(const QByteArray& list) {
    return ChannelLists::ParseList(
        ChannelSource{ChannelSource::Kind::Playlist, QStringLiteral("http://127.0.0.1:1/kr.m3u")},
        list, Category::World, QString());
}

const ChannelRecord* RowNamed(const ChannelLists::Parsed& parsed, const QString& name) {
    for (const ChannelRecord& r : parsed.listing.rows) {
        if (r.name() == name)
            return &r;
    }
    return nullptr;
}

} // namespace

// The shapes public lists use for one channel's spare addresses: the same id
// with other notes, feeds of one id, and entries with no id but one name.
TEST(SpareAddresses, EntriesOfOneChannelBecomeOneRowWithEveryAddressInOrder) {
    const QByteArray list = R"(#EXTM3U
#EXTINF:-1 tvg-id="Arirang.kr" group-title="General",Arirang (720p)
#EXTVLCOPT:http-referrer=http://127.0.0.1/arirang
http://127.0.0.1:1/arirang/720.m3u8
#EXTINF:-1 tvg-id="KBS1.kr@SD" group-title="General",KBS 1TV (480p)
http://127.0.0.1:1/kbs1/sd.m3u8
#EXTINF:-1 tvg-id="Arirang.kr" group-title="General",Arirang (1080p) [Geo-blocked]
http://127.0.0.1:1/arirang/1080.m3u8
#EXTINF:-1 tvg-id="KBS1.kr@HD" group-title="General",KBS1 HD (1080p)
http://127.0.0.1:1/kbs1/hd.m3u8
#EXTINF:-1 tvg-id="" group-title="Education",EBS 1 (400p) [Not 24/7]
http://127.0.0.1:1/ebs/a.m3u8
#EXTINF:-1 tvg-id="Arirang.kr" group-title="General",Arirang [Not 24/7]
http://127.0.0.1:1/arirang/plain.m3u8
#EXTINF:-1 tvg-id="" group-title="Education",EBS 1 (400p)
http://127.0.0.1:1/ebs/b.m3u8
#EXTINF:-1 tvg-id="" group-title="Education",ebs  1
http://127.0.0.1:1/ebs/c.m3u8
#EXTINF:-1 tvg-id="" group-title="News",YTN
http://127.0.0.1:1/ytn.m3u8
)";
    const ChannelLists::Parsed parsed = ParsePlaylist(list);
    ASSERT_TRUE(parsed.readable);
    QStringList names;
    for (const ChannelRecord& r : parsed.listing.rows)
        names << r.name();
    EXPECT_EQ(names, QStringList({QStringLiteral("Arirang"), QStringLiteral("KBS 1TV"),
                                  QStringLiteral("EBS 1"), QStringLiteral("YTN")}));

    // The higher resolution first, then the list's order.
    const ChannelRecord* arirang = RowNamed(parsed, QStringLiteral("Arirang"));
    ASSERT_NE(arirang, nullptr);
    EXPECT_EQ(arirang->Addresses(),
              QStringList({QStringLiteral("http://127.0.0.1:1/arirang/1080.m3u8"),
                           QStringLiteral("http://127.0.0.1:1/arirang/720.m3u8"),
                           QStringLiteral("http://127.0.0.1:1/arirang/plain.m3u8")}));
    EXPECT_EQ(arirang->connect(), QStringLiteral("1080p"));
    EXPECT_TRUE(arirang->fromList);
    const ChannelRecord* kbs = RowNamed(parsed, QStringLiteral("KBS 1TV"));
    ASSERT_NE(kbs, nullptr);
    EXPECT_EQ(kbs->Addresses(), QStringList({QStringLiteral("http://127.0.0.1:1/kbs1/hd.m3u8"),
                                             QStringLiteral("http://127.0.0.1:1/kbs1/sd.m3u8")}));
    const ChannelRecord* ebs = RowNamed(parsed, QStringLiteral("EBS 1"));
    ASSERT_NE(ebs, nullptr);
    EXPECT_EQ(ebs->Addresses(), QStringList({QStringLiteral("http://127.0.0.1:1/ebs/a.m3u8"),
                                             QStringLiteral("http://127.0.0.1:1/ebs/b.m3u8"),
                                             QStringLiteral("http://127.0.0.1:1/ebs/c.m3u8")}));
    EXPECT_TRUE(RowNamed(parsed, QStringLiteral("YTN"))->spareAddresses.isEmpty());

    // Each address keeps the options its own entry gave.
    EXPECT_EQ(
        arirang->options.value(QStringLiteral("http://127.0.0.1:1/arirang/720.m3u8")).referrer,
        QStringLiteral("http://127.0.0.1/arirang"));
    EXPECT_FALSE(arirang->options.contains(QStringLiteral("http://127.0.0.1:1/arirang/1080.m3u8")));

    // The list hands a row back whole, spares included.
    ChannelListModel model;
    model.ReplaceRows(parsed.listing.rows);
    EXPECT_EQ(model.Row(0).Addresses(), arirang->Addresses());
    EXPECT_TRUE(model.Row(0).fromList);
}

// A list that is one channel throughout gives one row with every address;
// ten thousand of them are merged in one pass and copied as one shared list.
TEST(SpareAddresses, AListOfOneChannelGivesOneRowWithEveryAddress) {
    QByteArray list = "#EXTM3U\n";
    constexpr int kEntries = 10000;
    for (int i = 0; i < kEntries; ++i)
        list += "#EXTINF:-1 tvg-id=\"One.kr\",One (720p)\nhttp://127.0.0.1:1/one/" +
                QByteArray::number(i) + ".ts\n";
    const ChannelLists::Parsed parsed = ParsePlaylist(list);
    ASSERT_EQ(parsed.listing.rows.size(), 1u);
    const ChannelRecord& row = parsed.listing.rows.front();
    ASSERT_EQ(row.spareAddresses.size(), kEntries - 1);
    EXPECT_EQ(row.url(), QStringLiteral("http://127.0.0.1:1/one/0.ts"));
    EXPECT_EQ(row.spareAddresses.last(), QStringLiteral("http://127.0.0.1:1/one/9999.ts"));
    ChannelListModel model;
    model.ReplaceRows(parsed.listing.rows);
    EXPECT_TRUE(model.Row(0).spareAddresses.isSharedWith(row.spareAddresses));
}

// An entry whose address would open a local file, a device or a filter stays
// a row, marked, and its address is never a spare of a row that plays.
TEST(SpareAddresses, AddressesWithoutAStreamSchemeAreMarkedNotOffered) {
    const QByteArray list = R"(#EXTM3U
#EXTINF:-1 tvg-id="Local.kr",Local File
file:///etc/passwd
#EXTINF:-1 tvg-id="Camera.kr",Camera
av://v4l2:/dev/video0
#EXTINF:-1 tvg-id="Mixed.kr",Mixed
lavfi://sine
#EXTINF:-1 tvg-id="Mixed.kr",Mixed
rtsp://127.0.0.1:1/mixed
#EXTINF:-1 tvg-id="Edl.kr",Edl
edl://%10%/etc/group
)";
    const ChannelLists::Parsed parsed = ParsePlaylist(list);
    ASSERT_EQ(parsed.listing.rows.size(), 4u);
    for (const char* name : {"Local File", "Camera", "Edl"}) {
        const ChannelRecord* row = RowNamed(parsed, QString::fromLatin1(name));
        ASSERT_NE(row, nullptr) << name;
        EXPECT_EQ(row->connect(), QStringLiteral("재생불가")) << name;
    }
    EXPECT_EQ(RowNamed(parsed, QStringLiteral("Mixed"))->Addresses(),
              QStringList({QStringLiteral("rtsp://127.0.0.1:1/mixed")}));
}

// Ids and names beyond ASCII are keyed by their folded, composed forms;
// ASCII ones by a shorter road that must come to the same keys (the Kelvin
// sign folds to "k").
TEST(SpareAddresses, IdsAndNamesBeyondAsciiJoinAsTheirFoldedForms) {
    const QString nfd = QStringLiteral("국악 방송").normalized(QString::NormalizationForm_D);
    const QByteArray list = R"(#EXTM3U
#EXTINF:-1 tvg-id="Ärzte.de",Ärzte TV
http://127.0.0.1:1/a
#EXTINF:-1 tvg-id="",국악방송 (720p)
http://127.0.0.1:1/c
#EXTINF:-1 tvg-id=" äRZTE.DE @HD",Aerzte
http://127.0.0.1:1/b
#EXTINF:-1 tvg-id="",Café
http://127.0.0.1:1/e
#EXTINF:-1 tvg-id="KBS1.kr",KBS 1TV
http://127.0.0.1:1/k
#EXTINF:-1 tvg-id="KBS1.kr@HD",KBS 1TV
http://127.0.0.1:1/kelvin
#EXTINF:-1 tvg-id="",Cafe
http://127.0.0.1:1/f
#EXTINF:-1 tvg-id="",CAFÉ HD
HTTPS://127.0.0.1:1/g
#EXTINF:-1 tvg-id="",)" + nfd.toUtf8() +
                            R"(
http://127.0.0.1:1/d
)";
    const ChannelLists::Parsed parsed = ParsePlaylist(list);
    QStringList rows;
    for (const ChannelRecord& r : parsed.listing.rows)
        rows << r.name() + QLatin1Char(' ') + r.Addresses().join(QLatin1Char(' '));
    EXPECT_EQ(rows,
              QStringList({QStringLiteral("Ärzte TV http://127.0.0.1:1/a http://127.0.0.1:1/b"),
                           QStringLiteral("국악방송 http://127.0.0.1:1/c http://127.0.0.1:1/d"),
                           QStringLiteral("Café http://127.0.0.1:1/e HTTPS://127.0.0.1:1/g"),
                           QStringLiteral("KBS 1TV http://127.0.0.1:1/k http://127.0.0.1:1/kelvin"),
                           QStringLiteral("Cafe http://127.0.0.1:1/f")}));
}

// A joiner told to expect fewer entries than come keeps every channel apart.
TEST(SpareAddresses, AJoinerGivenMoreEntriesThanExpectedKeepsEveryChannel) {
    ChannelMerge::Joiner joiner(1);
    for (int i = 0; i < 300; ++i) {
        const QString id = QStringLiteral("c%1.kr").arg(i % 100);
        const QString url = QStringLiteral("http://127.0.0.1:1/%1").arg(i);
        const int channel = joiner.ChannelOf(id, QString());
        if (channel < joiner.Channels()) {
            joiner.AddAddress(channel, url, QString(), {});
            continue;
        }
        ChannelRecord row;
        row.fields[ChannelRecord::Name] = id;
        row.fields[ChannelRecord::Url] = url;
        joiner.AddChannel(std::move(row));
    }
    const std::vector<ChannelRecord> rows = joiner.TakeRows();
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows[42].Addresses(), QStringList({QStringLiteral("http://127.0.0.1:1/42"),
                                                 QStringLiteral("http://127.0.0.1:1/142"),
                                                 QStringLiteral("http://127.0.0.1:1/242")}));
}

class SpareAddressWatchTest : public ::testing::Test {
protected:
    SpareAddressWatchTest()
        : launcher(Launcher::Backend{[](const QUrl&) { return true; },
                                     [](const QString&, const QStringList&) { return true; }}),
          played(QDir(home.dataHome()).filePath(QStringLiteral("played.json"))),
          watch(player, view, timers, launcher, session) {
        view.Follow(session);
        QDir().mkpath(home.dataHome());
        timers.onTick = [this](PlaybackTimer id) { watch.OnTimer(id); };
        watch.SetHistory(&played);
        view.AddRow(QStringLiteral("Arirang"), kFirst);
        StreamOptions second;
        second.referrer = QStringLiteral("http://127.0.0.1/second");
        view.listed[0] = {{kFirst, kSecond, kThird}, true, {{kSecond, second}}};
        view.AddRow(QStringLiteral("Camera"), QStringLiteral("av://v4l2:/dev/video0"));
        view.listed[1] = {{QStringLiteral("av://v4l2:/dev/video0")}, true, {}};
        view.AddRow(QStringLiteral("Local"), QStringLiteral("file:///etc/passwd"));
        view.listed[2] = {{QStringLiteral("file:///etc/passwd")}, true, {}};
        view.AddRow(QStringLiteral("Mine"), QStringLiteral("file:///home/me/tv.ts"));
    }

    void Seconds(int n) { timers.Advance(1000LL * n); }

    const QString kFirst = QStringLiteral("http://127.0.0.1:1/a");
    const QString kSecond = QStringLiteral("http://127.0.0.1:1/b");
    const QString kThird = QStringLiteral("http://127.0.0.1:1/c");
    ScopedXdgHome home;
    FakePlayer player;
    FakeView view;
    FakeTimers timers;
    Launcher launcher;
    PlayerSession session;
    ChannelHistory played;
    ConnectionWatch watch;
};

// Every address of the channel fails in turn: refused, timed out, ended at
// once. Only the last failure is reported, with the time-out question.
TEST_F(SpareAddressWatchTest, EachFailedAddressGivesWayToTheNextAndOnlyTheLastIsReported) {
    watch.PlayRow(0);
    Seconds(1); // idle: refused
    EXPECT_EQ(view.statusText, kTryingSecond);
    EXPECT_EQ(player.urls, QStringList({kFirst, kSecond}));
    EXPECT_EQ(player.calls.last(), QStringLiteral("LIST ") + kSecond);
    // Each address is opened with what the list asked for it alone.
    EXPECT_TRUE(player.listOptions.first().IsEmpty());
    EXPECT_EQ(player.listOptions.last().referrer, QStringLiteral("http://127.0.0.1/second"));

    player.current = PlayerStatus::Opening();
    Seconds(3);
    EXPECT_EQ(view.statusText, kTryingSecond); // still the second, while it connects
    Seconds(ConnectionWatch::kTimeoutTicks - 3);
    EXPECT_EQ(view.statusText, kTryingThird);
    EXPECT_TRUE(view.questions.isEmpty());

    // The third plays a moment and ends: the channel never played.
    player.current = PlayerStatus::Playing();
    Seconds(2);
    player.end = PlayerEnd::Broken;
    player.current = PlayerStatus::Idle();
    watch.OnPlayerEnded();
    // No address is left: the reconnection of today takes over.
    EXPECT_TRUE(watch.Reconnecting());
    EXPECT_EQ(player.urls.size(), 3);
}

TEST_F(SpareAddressWatchTest, TheLastAddressTimingOutAsksAsTodayAndABreakAfterPlayReconnects) {
    view.answerYes = false;
    player.current = PlayerStatus::Opening();
    watch.PlayRow(0);
    played.SetClock([] { return qint64(1765000000); });
    const QString key =
        ChannelHistory::ChannelKey(StoredNumberOf(session.Category()), QStringLiteral("Arirang"));
    Seconds(3 * ConnectionWatch::kTimeoutTicks);
    EXPECT_EQ(player.urls, QStringList({kFirst, kSecond, kThird}));
    EXPECT_EQ(view.statusText, kFailed);
    EXPECT_EQ(view.questions.size(), 1);
    // Every address failed: the channel is dimmed from then on, also after a restart.
    EXPECT_EQ(played.FailedAt(key), 1765000000);
    EXPECT_EQ(
        ChannelHistory(QDir(home.dataHome()).filePath(QStringLiteral("played.json"))).FailedAt(key),
        1765000000);

    // An address that ends within its first seconds gives way to the next.
    watch.PlayRow(0);
    player.current = PlayerStatus::Playing();
    Seconds(2);
    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Broken;
    watch.OnPlayerEnded();
    EXPECT_FALSE(watch.Reconnecting());
    EXPECT_EQ(watch.AddressIndex(), 1);
    EXPECT_EQ(view.statusText, kTryingSecond);

    // Played long enough: a break is the reconnection's, not a spare's.
    watch.PlayRow(0);
    player.current = PlayerStatus::Playing();
    Seconds(ConnectionWatch::kSettleTicks + 2);
    EXPECT_EQ(played.FailedAt(key), 0); // it played again
    player.current = PlayerStatus::Idle();
    player.end = PlayerEnd::Broken;
    watch.OnPlayerEnded();
    EXPECT_TRUE(watch.Reconnecting());
    EXPECT_EQ(watch.AddressIndex(), 0);
}

// The address that played is tried first the next time, even by a new watch
// reading the kept file; a damaged file is ignored and written anew.
TEST_F(SpareAddressWatchTest, TheAddressThatPlayedIsTriedFirstNextTime) {
    const QString path = QDir(home.dataHome()).filePath(QStringLiteral("played.json"));
    {
        QFile damaged(path);
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"3/arirang\": [\x01\xff garbage");
    }
    watch.PlayRow(0);
    Seconds(1); // the first is refused
    player.current = PlayerStatus::Playing();
    Seconds(ConnectionWatch::kSettleTicks + 1);
    watch.StopPlayback();

    QFile rewritten(path);
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rewritten.readAll().startsWith("{\""));

    // A file kept before failures were, with the played addresses alone, still reads.
    const QString key =
        ChannelHistory::ChannelKey(StoredNumberOf(session.Category()), QStringLiteral("Arirang"));
    {
        QFile older(path);
        ASSERT_TRUE(older.open(QIODevice::WriteOnly | QIODevice::Truncate));
        older.write(QJsonDocument(QJsonObject{{key, kSecond}}).toJson());
    }
    ChannelHistory reread(path);
    ConnectionWatch next(player, view, timers, launcher, session);
    next.SetHistory(&reread);
    player.urls.clear();
    next.PlayRow(0);
    EXPECT_EQ(player.urls, QStringList({kSecond}));
    EXPECT_EQ(next.Addresses(), QStringList({kSecond, kFirst, kThird}));
    next.Shutdown();
}

// A listed av:// or file:// address opens nothing and says so at once; the
// user's own channel keeps what it allowed.
TEST_F(SpareAddressWatchTest, AListedDeviceOrFileAddressIsRefusedAndNothingOpens) {
    for (int row : {1, 2}) {
        player.calls.clear();
        watch.PlayRow(row);
        EXPECT_EQ(view.statusText,
                  QStringLiteral("이 채널의 주소는 재생할 수 없는 형식이라 열지 않았습니다."));
        EXPECT_EQ(view.ConnectCell(row), QStringLiteral("재생불가"));
        EXPECT_TRUE(player.urls.isEmpty());
        EXPECT_FALSE(timers.IsTimerRunning(PlaybackTimer::Watch));
    }
    watch.PlayRow(3);
    EXPECT_EQ(player.urls, QStringList({QStringLiteral("file:///home/me/tv.ts")}));
}
