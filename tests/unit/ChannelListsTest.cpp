#include "catalogue/ChannelLists.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/StreamOptions.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "RecordNames.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using demo::HttpResponse;
using demo::LoopbackHttpServer;
using Kind = ChannelSource::Kind;

namespace {

const QByteArray kKoreanList = "#EXTM3U\r\n"
                               "#EXTINF:-1 tvg-chno=\"11\" group-title=\"지역\",부산MBC\r\n"
                               "http://127.0.0.1:9/busan.m3u8\r\n"
                               "#EXTINF:-1 group-title=\"지역\",Daegu MBC (720p)\r\n"
                               "http://127.0.0.1:9/daegu.m3u8\r\n"
                               "#EXTINF:-1,KBS 1TV\r\nhttp://127.0.0.1:9/kbs1.m3u8\r\n"
                               "#EXTINF:-1,KNN 부산\r\nhttp://127.0.0.1:9/knn.m3u8\r\n"
                               "#EXTINF:-1,TBC 대구\r\nhttp://127.0.0.1:9/tbc.m3u8\r\n";
const QByteArray kNewList = "#EXTM3U\n#EXTINF:-1,새 채널\nhttp://127.0.0.1:9/new.m3u8\n";

const QByteArray kStations =
    R"([{"stationuuid":"st-1","name":"부산 교통방송","url_resolved":"http://127.0.0.1:9/a.mp3",
         "state":"Busan","codec":"MP3","bitrate":128,"lastcheckok":1},
        {"stationuuid":"st-2","name":"Broken FM","url_resolved":"http://127.0.0.1:9/b.mp3","lastcheckok":0}])";

// One source object on a fresh data folder, with quick time-outs.
struct Fixture {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    std::unique_ptr<ChannelLists> sources;

    explicit Fixture(SourceDefaults defaults) {
        EXPECT_TRUE(server.Listen());
        sources = std::make_unique<ChannelLists>(home.dataHome(), SourceSettings(defaults));
        sources->Queue()->SetStallTimeoutMs(1500);
        sources->Finder()->SetResolver([this](const QString&, auto done) {
            done(QStringList{QStringLiteral("127.0.0.1:%1").arg(server.Port())});
        });
    }

    static SourceDefaults Playlists(const QString& address) {
        SourceDefaults d;
        for (ChannelSource& tab : d.tabs)
            tab = ChannelSource{Kind::Service, QStringLiteral("http://127.0.0.1:1")};
        d.tabs[0] = ChannelSource{Kind::Playlist, address};
        return d;
    }

    ChannelLists::Refresh Refresh(Category tab) {
        std::optional<ChannelLists::Refresh> result;
        sources->RefreshTab(tab, [&](const ChannelLists::Refresh& r) { result = r; });
        EXPECT_TRUE(WaitFor([&] { return result.has_value(); }));
        return result.value_or(ChannelLists::Refresh{});
    }

    std::vector<std::vector<ChannelRecord>> Open(Category tab, const QString& region, int lists) {
        std::vector<std::vector<ChannelRecord>> shown;
        sources->Open(tab, region,
                      [&](ChannelLists::Listing l) { shown.push_back(std::move(l.rows)); });
        WaitFor([&] { return static_cast<int>(shown.size()) >= lists; }, 5000);
        return shown;
    }
};

} // namespace

TEST(ChannelLists, APlaylistIsKeptShownAtOnceAndFilteredByRegion) {
    LoopbackHttpServer probe;
    ASSERT_TRUE(probe.Listen());
    const QString address = probe.Url(QStringLiteral("/kr.m3u"));
    Fixture f(Fixture::Playlists(address));
    f.server.Close();
    probe.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kKoreanList, "audio/x-mpegurl"));

    // Nothing kept yet: the first opening fetches, keeps and shows it.
    auto shown = f.Open(Category::Tv, QStringLiteral("부산"), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Names(shown[0]), (QStringList{"부산MBC", "KBS 1TV", "KNN 부산"}));
    EXPECT_EQ(ReadBytes(f.sources->KeptPath(Category::Tv)), kKoreanList);
    EXPECT_TRUE(probe.Requests().first().header("User-Agent").startsWith("WAVEORBIT/"));

    // A later opening shows the kept list without asking again.
    probe.ClearRequests();
    shown = f.Open(Category::Tv, QStringLiteral("대구"), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Names(shown[0]), (QStringList{"Daegu MBC", "KBS 1TV", "TBC 대구"}));
    EXPECT_EQ(shown[0][0].connect(), QStringLiteral("720p"));
    EXPECT_EQ(probe.Requests().size(), 0);
}

TEST(ChannelLists, EveryFaultKeepsTheOldListByteForByte) {
    Fixture f(Fixture::Playlists(QString()));
    LoopbackHttpServer& server = f.server;
    f.sources->Settings().Set(
        Category::Tv, ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/list.m3u"))});
    f.sources->Queue()->SetSizeCap(64 * 1024);
    server.SetRoute(QStringLiteral("/list.m3u"), HttpResponse::Ok(kKoreanList));
    const ChannelLists::Refresh first = f.Refresh(Category::Tv);
    ASSERT_TRUE(first.refreshed);
    EXPECT_FALSE(first.unchanged);
    // The same list again arrives whole but brings nothing new.
    const ChannelLists::Refresh again = f.Refresh(Category::Tv);
    EXPECT_TRUE(again.refreshed);
    EXPECT_TRUE(again.unchanged);
    const QString kept = f.sources->KeptPath(Category::Tv);

    const std::pair<const char*, HttpResponse> faults[] = {
        {"refused", HttpResponse::Refuse()},
        {"404", HttpResponse::Status(404, kNewList)},
        {"500", HttpResponse::Status(500, kNewList)},
        {"stall", HttpResponse::Stall()},
        {"truncated", HttpResponse::Truncated(kNewList.left(20), kNewList.size())},
        {"html 200", HttpResponse::Html("<html><body>maintenance</body></html>")},
        {"oversized", HttpResponse::Oversized(200 * 1024)},
        {"no channel", HttpResponse::Ok("#EXTM3U\n# nothing here\n")},
    };
    for (const auto& [what, response] : faults) {
        server.SetRoute(QStringLiteral("/list.m3u"), response);
        const ChannelLists::Refresh r = f.Refresh(Category::Tv);
        EXPECT_FALSE(r.refreshed) << what;
        EXPECT_FALSE(r.why.isEmpty()) << what;
        EXPECT_EQ(ReadBytes(kept), kKoreanList) << what;
        EXPECT_FALSE(QFile::exists(kept + QStringLiteral(".new"))) << what;
    }
    // A refused connection to a closed port as well.
    server.Close();
    EXPECT_FALSE(f.Refresh(Category::Tv).refreshed);
    EXPECT_EQ(ReadBytes(kept), kKoreanList);

    // And the kept list still shows.
    const auto shown = f.Open(Category::Tv, QString(), 1);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].size(), 5u);
}

TEST(ChannelLists, TheDirectoryIsFoundBySrvSkipsDeadServersAndCountsPlays) {
    SourceDefaults d = Fixture::Playlists(QStringLiteral("http://127.0.0.1:1/x.m3u"));
    d.tabs[3] = ChannelSource{Kind::Directory, QStringLiteral("countrycode=KR")};
    Fixture f(d);
    LoopbackHttpServer dead;
    ASSERT_TRUE(dead.Listen());
    dead.SetFallback([](const demo::HttpRequest&) { return HttpResponse::Status(503); });
    const quint16 deadPort = dead.Port();
    QString askedFor;
    f.sources->Finder()->SetResolver([&](const QString& name, auto done) {
        askedFor = name;
        // The dead server first: the client must go on to the next one.
        done(QStringList{QStringLiteral("127.0.0.1:%1").arg(deadPort),
                         QStringLiteral("127.0.0.1.:%1").arg(f.server.Port())});
    });
    // The order is shuffled, as the directory wishes; either way the list
    // must come from the server that answers.
    f.server.SetRoute(QStringLiteral("/json/stations/search"), HttpResponse::Ok(kStations));
    f.server.SetRoute(QStringLiteral("/json/url/st-1"), HttpResponse::Ok("{}"));

    const auto shown = f.Open(Category::Radio, QString(), 1);
    EXPECT_EQ(askedFor, QStringLiteral("_api._tcp.radio-browser.info"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Names(shown[0]), QStringList{"부산 교통방송"}); // the broken one is hidden
    EXPECT_EQ(shown[0][0].info(), QStringLiteral("부산"));
    const demo::HttpRequest search = f.server.Requests().first();
    EXPECT_EQ(search.query(),
              QStringLiteral("countrycode=KR&hidebroken=true&order=votes&reverse=true&limit=1000"));
    EXPECT_TRUE(search.header("User-Agent").startsWith("WAVEORBIT/"));

    // Starting the station tells the directory, on the server that answered.
    f.sources->NotePlayed(QStringLiteral("http://127.0.0.1:9/a.mp3"));
    EXPECT_TRUE(
        WaitFor([&] { return f.server.RequestCount(QStringLiteral("/json/url/st-1")) == 1; }));

    // A truncated answer keeps the old list.
    const QByteArray before = ReadBytes(f.sources->KeptPath(Category::Radio));
    f.server.SetRoute(QStringLiteral("/json/stations/search"),
                      HttpResponse::Truncated(kStations.left(60), kStations.size()));
    EXPECT_FALSE(f.Refresh(Category::Radio).refreshed);
    f.server.SetRoute(QStringLiteral("/json/stations/search"),
                      HttpResponse::Ok(kStations.left(60)));
    EXPECT_FALSE(f.Refresh(Category::Radio).refreshed);
    EXPECT_EQ(ReadBytes(f.sources->KeptPath(Category::Radio)), before);

    // A configured server skips the lookup.
    f.sources->Settings().SetDirectoryServer(f.server.BaseUrl());
    askedFor.clear();
    f.server.SetRoute(QStringLiteral("/json/stations/search"), HttpResponse::Ok(kStations));
    EXPECT_TRUE(f.Refresh(Category::Radio).refreshed);
    EXPECT_TRUE(askedFor.isEmpty());
}

TEST(ChannelLists, InstalledDefaultsWorkAgainstAStandIn) {
    // The public defaults with their host pointed at the fixture: the same
    // paths and queries, never the real hosts.
    LoopbackHttpServer standIn;
    ASSERT_TRUE(standIn.Listen());
    SourceDefaults d = SourceDefaults::Public();
    for (ChannelSource& tab : d.tabs)
        tab.address.replace(QStringLiteral("https://iptv-org.github.io"), standIn.BaseUrl());
    Fixture f(d);
    f.sources->Finder()->SetResolver([&](const QString&, auto done) {
        done(QStringList{QStringLiteral("127.0.0.1:%1").arg(standIn.Port())});
    });
    standIn.SetRoute(QStringLiteral("/iptv/countries/kr.m3u"), HttpResponse::Ok(kKoreanList));
    standIn.SetRoute(QStringLiteral("/iptv/languages/kor.m3u"), HttpResponse::Ok(kNewList));
    standIn.SetRoute(QStringLiteral("/iptv/categories/sports.m3u"), HttpResponse::Ok(kNewList));
    standIn.SetRoute(QStringLiteral("/json/stations/search"), HttpResponse::Ok(kStations));

    EXPECT_FALSE(f.sources->Settings().AnyTabUsesService());
    std::optional<std::vector<ChannelLists::Refresh>> results;
    f.sources->RefreshAll([&](std::vector<ChannelLists::Refresh> r) { results = r; });
    ASSERT_TRUE(WaitFor([&] { return results.has_value(); }));
    ASSERT_EQ(results->size(), 5u);
    for (const ChannelLists::Refresh& r : *results)
        EXPECT_TRUE(r.refreshed) << ChannelLists::TabName(r.category).toStdString() << " "
                                 << r.why.toStdString();
    const auto shown = f.Open(Category::Tv, QStringLiteral("자동"), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].size(), 5u);

    // One failing source is reported as failed, the others as refreshed.
    standIn.SetRoute(QStringLiteral("/iptv/languages/kor.m3u"), HttpResponse::Status(500));
    results.reset();
    f.sources->RefreshAll([&](std::vector<ChannelLists::Refresh> r) { results = r; });
    ASSERT_TRUE(WaitFor([&] { return results.has_value(); }));
    ASSERT_EQ(results->size(), 5u);
    EXPECT_FALSE(results->at(1).refreshed);
    EXPECT_TRUE(results->at(0).refreshed);
}

// A channel's options travel with its row: two channels at one address keep
// their own.
TEST(ChannelLists, PerChannelOptionsTravelWithTheirRowOnly) {
    ScopedXdgHome home;
    const QString file = QDir(home.root()).filePath(QStringLiteral("list.m3u"));
    WriteBytes(file, "#EXTM3U\n#EXTINF:-1,A\n#EXTVLCOPT:http-referrer=http://127.0.0.1/ref\n"
                     "a.m3u8\n#EXTINF:-1,B\nhttp://127.0.0.1/b.m3u8\n"
                     "#EXTINF:-1 http-user-agent=\"C/1\",C\nhttp://127.0.0.1/b.m3u8\n");
    Fixture f(Fixture::Playlists(file));
    const auto shown = f.Open(Category::Tv, QString(), 1);
    ASSERT_EQ(shown.size(), 1u);
    ASSERT_EQ(shown[0].size(), 3u);
    const QString a = shown[0][0].url();
    EXPECT_EQ(a, QDir(home.root()).filePath(QStringLiteral("a.m3u8")));
    EXPECT_EQ(shown[0][0].options.value(a).referrer, QStringLiteral("http://127.0.0.1/ref"));
    const QString b = QStringLiteral("http://127.0.0.1/b.m3u8");
    EXPECT_TRUE(shown[0][1].options.value(b).IsEmpty());
    EXPECT_EQ(shown[0][2].options.value(b).userAgent, QStringLiteral("C/1"));
}

TEST(ChannelLists, ASecondRefreshOfTheSameTabJoinsTheFirst) {
    Fixture f(Fixture::Playlists(QString()));
    f.sources->Settings().Set(
        Category::Tv, ChannelSource{Kind::Playlist, f.server.Url(QStringLiteral("/list.m3u"))});
    f.server.SetRoute(QStringLiteral("/list.m3u"), HttpResponse::Ok(kKoreanList));
    std::vector<ChannelLists::Refresh> results;
    for (int i = 0; i < 2; ++i)
        f.sources->RefreshTab(Category::Tv,
                              [&](const ChannelLists::Refresh& r) { results.push_back(r); });
    ASSERT_TRUE(WaitFor([&] { return results.size() == 2; }));
    EXPECT_TRUE(results[0].refreshed);
    EXPECT_TRUE(results[1].refreshed);
    EXPECT_EQ(f.server.RequestCount(QStringLiteral("/list.m3u")), 1);
    EXPECT_EQ(ReadBytes(f.sources->KeptPath(Category::Tv)), kKoreanList);
}

// A service tab keeps its catalogue under the catalogue's own name, reads it
// on a worker with its broadcaster families and the region, and fetches it
// only when the file holds no channel.
TEST(ChannelLists, AServiceTabReadsItsCatalogueAndFetchesOnlyOneWithoutAChannel) {
    SourceDefaults service;
    for (ChannelSource& tab : service.tabs)
        tab = ChannelSource{Kind::Service, QStringLiteral("http://127.0.0.1:1")};
    Fixture f(service);
    f.sources->SetServiceBaseAddress(f.server.BaseUrl());
    const auto entry = [](const QByteArray& section, const QString& name, const QString& info) {
        return "[" + section + "]\r\nNAME=" + name.toUtf8().toBase64() +
               "\r\nINFO=" + info.toUtf8().toBase64() + "\r\n";
    };
    const QByteArray tv = "[MBC]\r\nCOUNT=2\r\n" +
                          entry("MBC1", QStringLiteral("부산MBC"), "부산") +
                          entry("MBC2", QStringLiteral("대구MBC"), "대구") +
                          "[KBS]\r\nCOUNT=1\r\n" + entry("KBS1", QStringLiteral("KBS 1TV"), "") +
                          entry("SBS", QStringLiteral("SBS 없음"), "") +
                          entry("ETC", QStringLiteral("기타"), "") + "[DB]\r\nVER=4\r\n";
    f.server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"), HttpResponse::Ok(tv));
    const QString kept = QDir(f.home.dataHome()).filePath(QStringLiteral("tv.ini"));
    ASSERT_EQ(f.sources->KeptPath(Category::Tv), kept);
    const auto open = [&f] {
        auto shown = std::make_shared<std::vector<ChannelLists::Listing>>();
        f.sources->Open(Category::Tv, QStringLiteral("부산"),
                        [shown](ChannelLists::Listing l) { shown->push_back(std::move(l)); });
        EXPECT_TRUE(shown->empty()); // never read while the window waits
        EXPECT_TRUE(WaitFor([&] { return !shown->empty(); }));
        return shown->empty() ? ChannelLists::Listing{} : shown->front();
    };

    // Entries counted but not there: no channel, so the catalogue is fetched.
    WriteBytes(kept, "[MBC]\r\nCOUNT=3\r\n[DB]\r\nVER=9\r\n");
    ChannelLists::Listing listing = open();
    EXPECT_EQ(f.server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 1);
    EXPECT_EQ(ReadBytes(kept), tv);
    EXPECT_EQ(Names(listing.rows), (QStringList{"부산MBC", "KBS 1TV", "SBS 없음", "기타"}));
    QStringList blocks;
    for (const CatalogueFamilyBlock& b : listing.blocks)
        blocks << QStringLiteral("%1 %2+%3").arg(b.family).arg(b.first).arg(b.count);
    EXPECT_EQ(blocks, (QStringList{"MBC 0+1", "KBS 1+1", "SBS 2+1", "ETC 3+1"}));

    // A catalogue with a channel is read as it is, however old.
    listing = open();
    EXPECT_EQ(Names(listing.rows).value(0), QStringLiteral("부산MBC"));
    EXPECT_EQ(f.server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 1);
}
