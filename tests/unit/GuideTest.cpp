#include "app/LegacyText.h"
#include "app/SettingsTable.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/M3uPlaylist.h"
#include "guide/GuideBook.h"
#include "guide/GuideCache.h"
#include "guide/GuideReader.h"
#include "guide/GuideStream.h"
#include "guide/GuideTime.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <lzma.h>
#include <zlib.h>

using demo::HttpResponse;
using demo::LoopbackHttpServer;

namespace {

// 2026-12-09 12:00:00 UTC, the reader's "now" in every case.
constexpr qint64 kNow = 1796817600;

qint64 Utc(const char* text) {
    return GuideTime::Parse(text)->utcSeconds;
}

QByteArray Gzip(const QByteArray& plain) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(plain.size()))), 0);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.constData()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return out;
}

QByteArray Xz(const QByteArray& plain) {
    QByteArray out(plain.size() + 1024, 0);
    size_t written = 0;
    lzma_easy_buffer_encode(
        6, LZMA_CHECK_CRC64, nullptr, reinterpret_cast<const uint8_t*>(plain.constData()),
        static_cast<size_t>(plain.size()), reinterpret_cast<uint8_t*>(out.data()), &written,
        static_cast<size_t>(out.size()));
    out.resize(static_cast<qsizetype>(written));
    return out;
}

GuideReadResult Read(QByteArray bytes, const std::vector<GuideChannel>& channels,
                     qint64 maxTextBytes = 1 << 30) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    GuideReadOptions options;
    options.now = kNow;
    options.maxTextBytes = maxTextBytes;
    return ReadGuide(&buffer, channels, options);
}

std::vector<GuideChannel> List() {
    return {
        {QStringLiteral("kbs"), QStringLiteral("KBS1TV.kr"), QStringLiteral("KBS1"), {}, 0},
        {QStringLiteral("arirang"),
         QStringLiteral("ArirangTV.kr@SD"),
         QStringLiteral("Arirang"),
         {},
         0},
        {QStringLiteral("mbc"), {}, QStringLiteral("MBC (720p) [Not 24/7]"), {}, 0},
        {QStringLiteral("sbs"), QStringLiteral("SBS.kr"), QStringLiteral("SBS"), {}, 1},
        {QStringLiteral("absent"), QStringLiteral("Absent.kr"), QStringLiteral("Absent"), {}, 0},
    };
}

// A guide in the shapes real ones come in: ids with and without feeds,
// a channel known only by name, +0900 and +0000 times, missing stops,
// exact repeats, overlaps, titles in several languages, a name escaped twice.
QByteArray Guide() {
    return QStringLiteral(
               R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE tv SYSTEM "xmltv.dtd">
<tv generator-info-name="test">
<channel id="KBS1TV.kr"><display-name lang="ko">KBS 1TV</display-name></channel>
<channel id="ArirangTV.kr"><display-name>Arirang TV</display-name></channel>
<channel id="MBC.kr"><display-name>MBC HD</display-name><icon src="http://127.0.0.1/m.png"/></channel>
<channel id="SBS.kr"><display-name>SBS</display-name></channel>
<channel id="Other.kr"><display-name>Other</display-name></channel>
<programme start="20261209200000 +0900" stop="20261209210000 +0900" channel="KBS1TV.kr"><title lang="en">News</title><title lang="ko">뉴스</title><desc lang="ko">오늘의 소식</desc></programme>
<programme start="20261209210000 +0900" channel="KBS1TV.kr"><title lang="fr">Météo</title><title lang="en">Weather</title></programme>
<programme start="20261209210000 +0900" channel="KBS1TV.kr"><title lang="fr">Météo</title><title lang="en">Weather</title></programme>
<programme start="20261209213000 +0900" channel="KBS1TV.kr"><title lang="fr">Film</title><title lang="de">Spielfilm</title></programme>
<programme start="20261201000000 +0900" stop="20261201010000 +0900" channel="KBS1TV.kr"><title>Old</title></programme>
<programme start="20261230000000 +0900" stop="20261230010000 +0900" channel="KBS1TV.kr"><title>Far</title></programme>
<programme start="20261209100000 +0000" stop="20261209113000 +0000" channel="ArirangTV.kr"><title>Long</title></programme>
<programme start="20261209110000 +0000" stop="20261209120000 +0000" channel="ArirangTV.kr"><title>Next</title></programme>
<programme start="20261209130000 +0000" stop="20261209133000 +0000" channel="ArirangTV.kr"><title>Short</title></programme>
<programme start="20261209130000 +0000" stop="20261209140000 +0000" channel="ArirangTV.kr"><title>Wide</title></programme>
<programme start="20261209113000" stop="20261209130000" channel="MBC.kr"><title>Tom &amp;amp; Jerry</title><sub-title>1</sub-title><category>Kids</category><episode-num system="onscreen">E1</episode-num></programme>
<programme start="20261209130000" stop="20261209140000" channel="MBC.kr"><title>AT&amp;T Talk</title></programme>
<programme start="20261209120000 KST" stop="20261209130000 XYZ" channel="SBS.kr"><title>Odd zone</title></programme>
<programme start="20261209110000 +0000" stop="20261209130000 +0000" channel="Other.kr"><title>Other</title></programme>
</tv>
)")
        .toUtf8();
}

QStringList Titles(const std::vector<GuideData::Programme>& programmes) {
    QStringList titles;
    for (const GuideData::Programme& p : programmes)
        titles << p.title;
    return titles;
}

} // namespace

TEST(GuideTime, ReadsEveryFormAndZone) {
    EXPECT_EQ(Utc("20261209120000 +0000"), kNow);
    EXPECT_EQ(Utc("20261209210000 +0900"), kNow);
    EXPECT_EQ(Utc("20261209210000+09:00"), kNow);
    EXPECT_EQ(Utc("20261209103000 -0130"), kNow);
    EXPECT_EQ(Utc("20261209120000"), kNow); // no zone: UTC
    EXPECT_EQ(Utc("202612091200"), kNow);
    EXPECT_EQ(Utc("2026120912"), kNow);
    EXPECT_EQ(Utc("20261209"), kNow - 12 * 3600);
    EXPECT_EQ(Utc("202612"), Utc("20261201000000"));
    EXPECT_EQ(Utc("2026"), Utc("20260101000000"));
    EXPECT_EQ(Utc("20261209210000 KST"), kNow);
    EXPECT_EQ(Utc("20261209120000 GMT"), kNow);
    EXPECT_EQ(Utc("20261209210000 Asia/Seoul"), kNow);
    EXPECT_FALSE(GuideTime::Parse("20261209120000 +0000")->unknownZone);
    const auto unknown = GuideTime::Parse("20261209120000 XYZ");
    ASSERT_TRUE(unknown);
    EXPECT_TRUE(unknown->unknownZone);
    EXPECT_EQ(unknown->utcSeconds, kNow);
    for (const char* bad : {"", "2026120", "19691231000000", "20260230000000", "20261301000000",
                            "20261209240000", "abcd", "20261209120000 +2500", "99999999999999"})
        EXPECT_FALSE(GuideTime::Parse(bad)) << bad;
}

class GuidePacking : public testing::TestWithParam<int> {};

TEST_P(GuidePacking, MatchesListChannelsAndSettlesTheirProgrammes) {
    const QByteArray plain = Guide();
    const QByteArray bytes = GetParam() == 0 ? plain : GetParam() == 1 ? Gzip(plain) : Xz(plain);
    const GuideReadResult result = Read(bytes, List());
    ASSERT_TRUE(result.data);
    const GuideData& guide = *result.data;
    EXPECT_EQ(result.report.outcome, GuideReport::Outcome::Read);
    EXPECT_EQ(result.report.StatusText(),
              QStringLiteral("4 / 5 채널 · 알 수 없는 시간대 1건은 UTC로 읽음"));
    EXPECT_FALSE(guide.Has(QStringLiteral("absent")));

    // Exact id; Korean title first, then English, then the first; a missing
    // stop ends at the next start, the last one two hours on; the repeat,
    // the old and the far programme are gone.
    const auto kbs = guide.Between(QStringLiteral("kbs"), 0, kNow * 2);
    EXPECT_EQ(Titles(kbs), (QStringList{QStringLiteral("뉴스"), QStringLiteral("Weather"),
                                        QStringLiteral("Film")}));
    ASSERT_EQ(kbs.size(), 3u);
    EXPECT_EQ(kbs[0].description, QStringLiteral("오늘의 소식"));
    EXPECT_EQ(kbs[1].start, kNow);
    EXPECT_EQ(kbs[1].stop, kNow + 1800);
    EXPECT_EQ(kbs[2].stop, kNow + 1800 + 7200);
    EXPECT_EQ(result.report.duplicates, 1);

    // Id without its feed; an overlap trimmed, two programmes from one start
    // one after the other.
    const auto arirang = guide.Between(QStringLiteral("arirang"), 0, kNow * 2);
    ASSERT_EQ(Titles(arirang), (QStringList{QStringLiteral("Long"), QStringLiteral("Next"),
                                            QStringLiteral("Short"), QStringLiteral("Wide")}));
    EXPECT_EQ(arirang[0].stop, arirang[1].start);
    EXPECT_EQ(arirang[3].start, arirang[2].stop);
    EXPECT_EQ(arirang[3].stop, kNow + 7200);

    // By name only; a double escape decoded once more, a single one left.
    const GuideData::NowNext mbc = guide.At(QStringLiteral("mbc"), kNow);
    ASSERT_TRUE(mbc.now && mbc.next);
    EXPECT_EQ(mbc.now->title, QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(mbc.next->title, QStringLiteral("AT&T Talk"));
    EXPECT_EQ(guide.NextChange(QStringLiteral("mbc"), kNow), kNow + 3600);

    // tvg-shift moves the channel's times by its hours.
    const GuideData::NowNext sbs = guide.At(QStringLiteral("sbs"), kNow + 3600);
    ASSERT_TRUE(sbs.now);
    EXPECT_EQ(sbs.now->start, kNow - 9 * 3600 + 3600);
    EXPECT_EQ(guide.Day(QStringLiteral("kbs"), QDate(2026, 12, 9), QTimeZone(9 * 3600)).size(), 3u);
    EXPECT_TRUE(guide.Day(QStringLiteral("kbs"), QDate(2026, 12, 10), QTimeZone(9 * 3600)).empty());
}

INSTANTIATE_TEST_SUITE_P(PlainGzipXz, GuidePacking, testing::Values(0, 1, 2));

TEST(GuideReader, ReadsCp949DeclaredOrNot) {
    bool ok = false;
    const QByteArray title = LegacyText::EncodeCp949(QStringLiteral("똠방각하 뉴스"), &ok);
    ASSERT_TRUE(ok);
    const QByteArray body = "<tv><channel id=\"KBS1TV.kr\"><display-name>K</display-name></channel>"
                            "<programme start=\"20261209110000\" stop=\"20261209130000\" "
                            "channel=\"KBS1TV.kr\"><title>" +
                            title + "</title></programme></tv>";
    for (const QByteArray& file :
         {body, QByteArray("<?xml version=\"1.0\" encoding=\"EUC-KR\"?>\n") + body}) {
        const GuideReadResult result = Read(Gzip(file), List());
        ASSERT_TRUE(result.data) << result.report.StatusText().toStdString();
        EXPECT_TRUE(result.report.cp949);
        EXPECT_EQ(result.data->At(QStringLiteral("kbs"), kNow).now->title,
                  QStringLiteral("똠방각하 뉴스"));
    }
}

TEST(GuideReader, RefusesBrokenGuidesWithAStatus) {
    const QByteArray guide = Guide();
    const QByteArray gz = Gzip(guide);
    const QByteArray xz = Xz(guide);
    QByteArray corrupt = gz;
    for (qsizetype i = 40; i < 80; ++i)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    const QByteArray bomb =
        "<?xml version=\"1.0\"?><!DOCTYPE tv [<!ENTITY a "
        "\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
        "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]><tv><channel id=\"KBS1TV.kr\">"
        "<display-name>&d;</display-name></channel></tv>";
    const struct {
        const char* what;
        QByteArray bytes;
        GuideReport::Fault fault;
        qint64 cap;
    } cases[] = {
        {"html", "<!DOCTYPE html><html><body>404</body></html>", GuideReport::Fault::NotXmltv,
         1 << 30},
        {"json", "{\"tv\": []}", GuideReport::Fault::NotXmltv, 1 << 30},
        {"gz cut", gz.left(gz.size() * 2 / 3), GuideReport::Fault::Truncated, 1 << 30},
        {"xz cut", xz.left(xz.size() * 2 / 3), GuideReport::Fault::Truncated, 1 << 30},
        {"gz damaged", corrupt, GuideReport::Fault::Corrupt, 1 << 30},
        {"plain cut", guide.left(guide.indexOf("Short")), GuideReport::Fault::Truncated, 1 << 30},
        {"bomb", bomb, GuideReport::Fault::EntityExpansion, 1 << 30},
        {"too large", gz, GuideReport::Fault::TooLarge, 2048},
        {"bad xml",
         guide.left(guide.indexOf("<programme")) + "<programme <<>>" +
             guide.mid(guide.indexOf("<programme")),
         GuideReport::Fault::Malformed, 1 << 30},
    };
    for (const auto& c : cases) {
        const GuideReadResult result = Read(c.bytes, List(), c.cap);
        EXPECT_FALSE(result.data) << c.what;
        EXPECT_EQ(result.report.fault, c.fault) << c.what;
        EXPECT_TRUE(
            result.report.StatusText().endsWith(QStringLiteral("이전 편성표를 그대로 둡니다")))
            << c.what << ": " << result.report.StatusText().toStdString();
    }
}

TEST(GuideReader, KeepsABrokenOffGuideOnlyWhenWhatWasReadIsWhole) {
    // Channel by channel: the break comes after every wanted channel's run.
    const QByteArray guide = Guide();
    const QByteArray whole = Gzip(guide.left(guide.indexOf("<title>Other")));
    const GuideReadResult kept = Read(whole, List());
    ASSERT_TRUE(kept.data);
    EXPECT_EQ(kept.report.outcome, GuideReport::Outcome::PartKept);
    EXPECT_EQ(kept.data->ChannelCount(), 4);
    EXPECT_TRUE(kept.report.StatusText().contains(QStringLiteral("4 / 5 채널")));
    // The break inside a wanted channel's run: nothing is used.
    const GuideReadResult refused = Read(Gzip(guide.left(guide.indexOf("Tom"))), List());
    EXPECT_FALSE(refused.data);
}

TEST(GuideAddresses, ComeFromThePlaylistHeaderAndTheTabsSetting) {
    EXPECT_EQ(M3uPlaylist::GuideAddresses(
                  "\xEF\xBB\xBF#EXTM3U x-tvg-url=\"http://127.0.0.1/a.xml.gz, "
                  "http://127.0.0.1/b.xml\" url-tvg=\"http://127.0.0.1/a.xml.gz\"\n"
                  "#EXTINF:-1 x-tvg-url=\"http://127.0.0.1/no\",A\nhttp://127.0.0.1/a\n"),
              (QStringList{QStringLiteral("http://127.0.0.1/a.xml.gz"),
                           QStringLiteral("http://127.0.0.1/b.xml")}));
    EXPECT_TRUE(M3uPlaylist::GuideAddresses("#EXTINF:-1,A\nhttp://127.0.0.1/a\n").isEmpty());
    const PlaylistGuides playlist =
        PlaylistGuidesOf("#EXTM3U url-tvg=\"http://127.0.0.1/g.xml\"\n"
                         "#EXTINF:-1 tvg-id=\"ArirangTV.kr@SD\" tvg-name=\"Arirang\" "
                         "tvg-shift=\"-1.5\",Arirang (720p)\n"
                         "http://127.0.0.1/arirang.m3u8|User-Agent=x\n");
    ASSERT_EQ(playlist.channels.size(), 1u);
    EXPECT_EQ(playlist.channels[0].key, QStringLiteral("http://127.0.0.1/arirang.m3u8"));
    EXPECT_EQ(playlist.channels[0].id, QStringLiteral("ArirangTV.kr@SD"));
    EXPECT_EQ(playlist.channels[0].tvgName, QStringLiteral("Arirang"));
    EXPECT_EQ(playlist.channels[0].shiftHours, -1.5);
    EXPECT_EQ(playlist.addresses, QStringList{QStringLiteral("http://127.0.0.1/g.xml")});

    ScopedXdgHome home;
    Settings::WriteText(Settings::GuideTv, QStringLiteral(" /tmp/g.xml ,http://127.0.0.1/t.xml,"));
    EXPECT_EQ(
        GuideBook::UserAddresses(Category::Tv),
        (QStringList{QStringLiteral("/tmp/g.xml"), QStringLiteral("http://127.0.0.1/t.xml")}));
    EXPECT_TRUE(GuideBook::UserAddresses(Category::Radio).isEmpty());
}

namespace {

struct BookFixture {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    std::unique_ptr<GuideBook> book;

    BookFixture() {
        EXPECT_TRUE(server.Listen());
        Open();
    }
    void Open() {
        book = std::make_unique<GuideBook>(home.dataHome());
        book->SetClock([] { return kNow; });
        book->Queue()->SetStallTimeoutMs(1500);
    }
    bool Refresh() {
        bool finished = false;
        book->Refresh(Category::Tv, true, [&] { finished = true; });
        return WaitFor([&] { return finished; });
    }
    QString Title(const QString& key) const {
        const GuideData* guide = book->Find(Category::Tv, key);
        if (!guide)
            return QString();
        const auto now = guide->At(key, kNow).now;
        return now ? now->title : QString();
    }
};

} // namespace

TEST(GuideBook, KeepsTheLastGoodGuideThroughEveryFault) {
    BookFixture f;
    f.server.SetRoute(QStringLiteral("/epg.xml.gz"),
                      HttpResponse::Ok(Gzip(Guide()), "application/gzip"));
    const QString address = f.server.Url(QStringLiteral("/epg.xml.gz"));
    // The tab's own guide is a local file.
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("sbs.xml"));
    WriteBytes(local, Xz(Guide()));
    int changes = 0;
    QObject::connect(f.book.get(), &GuideBook::guideChanged, [&](Category) { ++changes; });
    f.book->SetTab(Category::Tv, List(), {address, local});
    ASSERT_TRUE(f.Refresh());
    EXPECT_GE(changes, 2);
    EXPECT_EQ(f.Title(QStringLiteral("kbs")), QStringLiteral("Weather"));
    const std::vector<GuideBook::Source> sources = f.book->Sources(Category::Tv);
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_TRUE(sources[0].StatusText().endsWith(
        QStringLiteral("읽음 · 4 / 5 채널 · 알 수 없는 시간대 1건은 UTC로 읽음")))
        << sources[0].StatusText().toStdString();
    const QByteArray kept = ReadBytes(f.book->KeptPath(address));
    ASSERT_EQ(kept, Gzip(Guide()));

    const QByteArray gz = Gzip(Guide());
    const struct {
        const char* what;
        HttpResponse response;
        const char* status;
    } faults[] = {
        {"not a guide", HttpResponse::Ok("<html><body>moved</body></html>"),
         "XMLTV 편성표가 아닙니다"},
        {"cut gzip", HttpResponse::Ok(gz.left(gz.size() / 2)), "편성표 파일이 중간에 끊겼습니다"},
        {"bomb",
         HttpResponse::Ok("<!DOCTYPE tv [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
                          "<!ENTITY b "
                          "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&"
                          "a;&a;&a;&a;&a;&a;&a;\">]>"
                          "<tv><channel id=\"x\"><display-name>&b;</display-name></channel></tv>"),
         "엔티티 확장"},
        {"404", HttpResponse::Status(404), "서버 응답 404"},
        {"cut transfer", HttpResponse::Truncated(gz.left(100), gz.size()), "받지 못했습니다"},
    };
    for (const auto& fault : faults) {
        f.server.SetRoute(QStringLiteral("/epg.xml.gz"), fault.response);
        ASSERT_TRUE(f.Refresh()) << fault.what;
        EXPECT_EQ(ReadBytes(f.book->KeptPath(address)), kept) << fault.what;
        EXPECT_FALSE(QFileInfo::exists(f.book->KeptPath(address) + QStringLiteral(".download")));
        EXPECT_EQ(f.Title(QStringLiteral("kbs")), QStringLiteral("Weather")) << fault.what;
        const QString status = f.book->Sources(Category::Tv)[0].StatusText();
        EXPECT_TRUE(status.contains(QString::fromUtf8(fault.status)) &&
                    status.contains(QStringLiteral("이전 편성표를 그대로 둡니다")))
            << fault.what << ": " << status.toStdString();
    }

    // A new start shows the kept guide before any network use, from the
    // reading kept beside it.
    EXPECT_TRUE(
        WaitFor([&] { return QFileInfo::exists(GuideCache::PathFor(f.book->KeptPath(address))); }));
    f.server.Close();
    f.Open();
    f.book->SetTab(Category::Tv, List(), {address});
    ASSERT_TRUE(WaitFor([&] { return !f.Title(QStringLiteral("kbs")).isEmpty(); }));
}

// A server that gives validators is asked whether the kept guide changed:
// "not modified" keeps it byte for byte and reads nothing anew.
TEST(GuideBook, AsksTheServerWhetherTheKeptGuideChanged) {
    BookFixture f;
    const QByteArray gz = Gzip(Guide());
    const QByteArray etag = "\"g1\"";
    HttpResponse notModified;
    notModified.status = 304;
    f.server.SetHandler(QStringLiteral("/epg.xml.gz"), [&](const demo::HttpRequest& request) {
        HttpResponse answer = request.header("If-None-Match") == etag
                                  ? notModified
                                  : HttpResponse::Ok(gz, "application/gzip");
        answer.extraHeaders = {{"ETag", etag}};
        return answer;
    });
    const QString address = f.server.Url(QStringLiteral("/epg.xml.gz"));
    f.book->SetTab(Category::Tv, List(), {address});
    ASSERT_TRUE(f.Refresh());
    const QString kept = f.book->KeptPath(address);
    ASSERT_EQ(ReadBytes(kept), gz);
    const quint64 usedRead = f.book->Sources(Category::Tv)[0].usedRead;
    int changes = 0;
    QObject::connect(f.book.get(), &GuideBook::guideChanged, [&](Category) { ++changes; });

    ASSERT_TRUE(f.Refresh());
    EXPECT_EQ(f.server.Requests().last().header("If-None-Match"), etag);
    EXPECT_EQ(ReadBytes(kept), gz);
    GuideBook::Source source = f.book->Sources(Category::Tv)[0];
    EXPECT_EQ(source.fetched, GuideBook::Source::Fetched::Same);
    EXPECT_EQ(source.usedRead, usedRead);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(source.StatusText().contains(QStringLiteral("바뀐 것 없음")))
        << source.StatusText().toStdString();
    EXPECT_EQ(f.Title(QStringLiteral("kbs")), QStringLiteral("Weather"));

    // Without its kept copy no validators go out, and a 304 all the same fails.
    QFile::remove(kept);
    f.server.SetRoute(QStringLiteral("/epg.xml.gz"), notModified);
    ASSERT_TRUE(f.Refresh());
    EXPECT_TRUE(f.server.Requests().last().header("If-None-Match").isEmpty());
    source = f.book->Sources(Category::Tv)[0];
    EXPECT_EQ(source.fetched, GuideBook::Source::Fetched::Failed);
    EXPECT_TRUE(source.StatusText().contains(QStringLiteral("서버 응답 304")));
    EXPECT_FALSE(QFileInfo::exists(kept));
}

// What a read made is kept beside the guide and read back for the same
// bytes, channels and options within its days; anything else reads as none.
TEST(GuideCache, KeepsAReadForTheSameGuideChannelsAndDays) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.xml.gz"));
    const QString cache = GuideCache::PathFor(path);
    WriteBytes(path, Gzip(Guide()));
    GuideReadOptions options;
    options.now = kNow;
    const GuideReadResult read = ReadGuideFile(path, List(), options);
    ASSERT_TRUE(read.data);
    const QByteArray stamp = GuideCache::StampOf(path, List(), options);
    ASSERT_TRUE(GuideCache::Write(cache, stamp, kNow, read));

    const GuideReadResult kept = GuideCache::Read(cache, stamp, kNow + 3600);
    ASSERT_TRUE(kept.data);
    EXPECT_EQ(kept.report.StatusText(), read.report.StatusText());
    EXPECT_EQ(kept.data->ProgrammeCount(), read.data->ProgrammeCount());
    for (const char* key : {"kbs", "arirang", "mbc", "sbs"}) {
        const QString k = QString::fromLatin1(key);
        EXPECT_EQ(Titles(kept.data->Between(k, kNow - 86400, kNow + 86400)),
                  Titles(read.data->Between(k, kNow - 86400, kNow + 86400)))
            << key;
    }

    EXPECT_FALSE(GuideCache::Read(cache, stamp, kNow + GuideCache::kHoldsSeconds).data);
    std::vector<GuideChannel> fewer = List();
    fewer.pop_back();
    EXPECT_NE(GuideCache::StampOf(path, fewer, options), stamp);
    WriteBytes(path, Gzip(Guide() + "\n"));
    EXPECT_NE(GuideCache::StampOf(path, List(), options), stamp);
    QByteArray damaged = ReadBytes(cache);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 1);
    WriteBytes(cache, damaged);
    EXPECT_FALSE(GuideCache::Read(cache, stamp, kNow).data);
}

TEST(GuideReader, LeavesOutUnwantedChannelsBeforeParsing) {
    // Far more than one slice of channels the list does not have, so their
    // programmes are known unwanted by the time the text reaches them.
    QByteArray head = "<?xml version=\"1.0\"?>\n<tv>\n";
    QByteArray pad;
    QByteArray after;
    for (int i = 0; i < 2000; ++i) {
        const QByteArray n = QByteArray::number(i);
        head += "<channel id=\"Pad" + n +
                "\"><display-name>P</display-name></channel>\n"
                "<channel id=\"Qad" +
                n + "\"><display-name>Q</display-name></channel>\n";
        for (const char* prefix : {"Pad", "Qad"})
            (prefix[0] == 'P' ? pad : after) +=
                "<programme start=\"20261209110000\" stop=\"20261209130000\" channel=\"" +
                QByteArray(prefix) + n + "\"><title>P</title><!-- </programme> --></programme>\n";
    }
    head += "<channel id=\"KBS1TV.kr\"><display-name>KBS</display-name></channel>\n";
    const QByteArray kbs =
        "<!-- <programme start=\"20261209110000\" channel=\"KBS1TV.kr\"> -->\n"
        "<programme start=\"20261209110000\" stop=\"20261209130000\" channel=\"KBS1TV.kr\">"
        "<title><![CDATA[</programme> <programme channel=\"Pad1\"> A]]></title></programme>\n"
        "<programme start=\"20261209130000\" channel=\"KBS1TV.kr\"/>\n";
    const QByteArray guide = head + pad + kbs + after + "</tv>\n";
    const GuideReadResult result = Read(Gzip(guide), List());
    ASSERT_TRUE(result.data);
    EXPECT_EQ(result.report.outcome, GuideReport::Outcome::Read);
    EXPECT_EQ(result.data->At(QStringLiteral("kbs"), kNow).now->title,
              QStringLiteral("</programme> <programme channel=\"Pad1\"> A"));
    EXPECT_EQ(result.data->ProgrammeCount(), 2);

    // Broken off among the channels after it: the wanted run is whole.
    const GuideReadResult kept = Read(Gzip(guide.left(guide.size() - 5000)), List());
    ASSERT_TRUE(kept.data);
    EXPECT_EQ(kept.report.outcome, GuideReport::Outcome::PartKept);
    // Broken off before the wanted channel's run: nothing is used.
    EXPECT_FALSE(Read(Gzip((head + pad).left(head.size() + pad.size() / 2)), List()).data);
}

TEST(GuideStream, FillsEveryReadUntilTheEnd) {
    // QXmlStreamReader takes a read that decodes to no character (the tail
    // of a character cut at a slice's end) for the end of the document: a
    // guide was cut short that way when leaving out programmes made the
    // slices uneven.
    QByteArray text = "<tv>";
    for (int i = 0; text.size() < 300000; ++i)
        text += "<programme channel=\"c" + QByteArray::number(i % 7) + "\"><title>한국어 제목 " +
                QByteArray::number(i) + "</title></programme>\n";
    text += "</tv>";
    QByteArray packed = Gzip(text);
    QBuffer buffer(&packed);
    buffer.open(QIODevice::ReadOnly);
    GuideStream stream(&buffer, 1 << 30);
    stream.SetProgrammeSkip([](QByteArrayView) { return false; });
    QByteArray seen;
    QByteArray chunk(8192, Qt::Uninitialized);
    qint64 n = 0;
    while ((n = stream.read(chunk.data(), chunk.size())) > 0) {
        seen.append(chunk.constData(), n);
        if (seen.size() < text.size()) {
            ASSERT_EQ(n, chunk.size()) << "a short read at " << seen.size();
        }
    }
    EXPECT_EQ(seen, text);
}
