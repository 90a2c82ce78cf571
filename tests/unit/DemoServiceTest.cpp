// The demo service, started in-process on free 127.0.0.1 ports, serves what
// the player asks for at the player's own paths.
#include "demo/DemoService.h"
#include "HttpFetch.h"
#include "app/Endpoints.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelLists.h"
#include "demo/DemoPages.h"
#include "demo/DemoSources.h"
#include "guide/GuideBook.h"
#include "guide/GuideReader.h"

#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DemoServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        demo::DemoServiceOptions options;
        options.servicePort = 0;
        options.countPort = 0;
        options.catalogueVersion = 4;
        options.countLogPath = dir.filePath(QStringLiteral("counts.log"));
        QObject::connect(&service, &demo::DemoService::countRecorded,
                         [this](const QString& line) { countLines << line; });
        QString error;
        ASSERT_TRUE(service.Start(options, &error)) << error.toStdString();
    }
    QUrl ServiceUrl(const QString& target) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(service.ServicePort()).arg(target));
    }
    QUrl CountUrl(const QString& target) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(service.CountPort()).arg(target));
    }

    QTemporaryDir dir;
    demo::DemoService service;
    QStringList countLines;
};

TEST_F(DemoServiceTest, ServesTheCataloguesAndTheVersionListAtThePlayersPaths) {
    for (const QString& file : Endpoints::CatalogueFileNames()) {
        SCOPED_TRACE(file.toStdString());
        const FetchResult r = Fetch(ServiceUrl(Endpoints::CataloguePath(file)));
        ASSERT_EQ(r.status, 200);
        const CatalogueIni ini = CatalogueIni::Parse(r.body);
        EXPECT_EQ(CatalogueVersion(ini), 4);
        EXPECT_EQ(r.body, service.Document(Endpoints::CataloguePath(file)));
    }
    const FetchResult tv = Fetch(ServiceUrl(Endpoints::CataloguePath(QStringLiteral("tv.ini"))));
    const std::vector<ChannelRecord> seoul = LoadRegionalGroup(
        CatalogueIni::Parse(tv.body), QStringLiteral("MBC"), QStringLiteral("서울"));
    ASSERT_EQ(seoul.size(), 1u);
    EXPECT_EQ(seoul[0].name(), QStringLiteral("MBC 서울"));

    // The web-page channel points at this very server.
    const std::vector<ChannelRecord> etc =
        LoadRegionalGroup(CatalogueIni::Parse(tv.body), QStringLiteral("ETC"), QString());
    bool sawWebPage = false;
    for (const ChannelRecord& r : etc) {
        if (!r.IsWebPage())
            continue;
        sawWebPage = true;
        const FetchResult page = Fetch(QUrl(r.webUrl()));
        EXPECT_EQ(page.status, 200) << r.webUrl().toStdString();
    }
    EXPECT_TRUE(sawWebPage);

    const FetchResult list = Fetch(ServiceUrl(QString::fromLatin1(Endpoints::kVersionListPath)));
    ASSERT_EQ(list.status, 200);
    const CatalogueIni versions = CatalogueIni::Parse(list.body);
    for (const char* section : {"TV", "WORLD", "GAME", "RADIO", "MUSIC"})
        EXPECT_EQ(versions.Value(section, "VER"), QByteArray("4")) << section;
}

TEST_F(DemoServiceTest, ServesAPlaylistAndADirectoryAnswerInTheRealFormats) {
    const FetchResult list = Fetch(ServiceUrl(QStringLiteral("/sources/kr.m3u")));
    ASSERT_EQ(list.status, 200);
    const ChannelSource playlist{ChannelSource::Kind::Playlist,
                                 ServiceUrl(QStringLiteral("/sources/kr.m3u")).toString()};
    const auto tv =
        ChannelLists::ParseList(playlist, list.body, Category::Tv, QStringLiteral("대구"));
    ASSERT_TRUE(tv.readable);
    QStringList names;
    for (const ChannelRecord& r : tv.listing.rows)
        names << r.name();
    // The region picks Daegu's MBC and its SBS partner out of the list.
    EXPECT_TRUE(names.contains(QStringLiteral("Daegu MBC")));
    EXPECT_TRUE(names.contains(QStringLiteral("TBC 대구")));
    EXPECT_FALSE(names.contains(QStringLiteral("부산MBC")));
    // One row per channel: KBS 1TV with its SD feed, and EBS 1TV whose
    // first address is down and whose second plays.
    EXPECT_EQ(names.count(QStringLiteral("KBS 1TV")), 1);
    for (const ChannelRecord& r : tv.listing.rows) {
        if (r.name() == QStringLiteral("EBS 1TV")) {
            ASSERT_EQ(r.Addresses().size(), 2);
            EXPECT_TRUE(r.url().contains(QStringLiteral("/offline/")));
        }
    }

    const FetchResult answer =
        Fetch(ServiceUrl(QStringLiteral("/json/stations/search?countrycode=KR&limit=10")));
    ASSERT_EQ(answer.status, 200);
    const auto radio = ChannelLists::ParseList(
        ChannelSource{ChannelSource::Kind::Directory, QStringLiteral("countrycode=KR")},
        answer.body, Category::Radio, QString());
    ASSERT_TRUE(radio.readable);
    EXPECT_EQ(radio.channels, 7); // the broken station is hidden
    EXPECT_EQ(Fetch(ServiceUrl(QStringLiteral("/json/url/demo-1"))).status, 200);
}

// The playlist's header names the demo's guide (gzip-compressed XMLTV made
// around the time it is asked at), and the guide reads for every channel.
TEST_F(DemoServiceTest, ThePlaylistHeaderNamesAGuideThatReads) {
    ScopedXdgHome home; // no user guide addresses
    const QUrl listUrl = ServiceUrl(QString::fromLatin1(demo::kDemoPlaylistPath));
    const FetchResult list = Fetch(listUrl);
    ASSERT_EQ(list.status, 200);
    const PlaylistGuides guides = PlaylistGuidesOf(list.body, listUrl);
    const QString guideAddress = ServiceUrl(QString::fromLatin1(demo::kDemoGuidePath)).toString();
    EXPECT_EQ(guides.addresses, QStringList{guideAddress});
    const FetchResult packed = Fetch(QUrl(guideAddress));
    ASSERT_EQ(packed.status, 200);
    EXPECT_TRUE(packed.body.startsWith("\x1f\x8b")); // gzip

    GuideBook book(dir.path());
    book.SetTab(Category::Tv, guides.channels, guides.addresses);
    bool done = false;
    book.Refresh(Category::Tv, false, [&done] { done = true; });
    ASSERT_TRUE(WaitFor([&done] { return done; }));
    const std::vector<GuideBook::Source> sources = book.Sources(Category::Tv);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0].report.outcome, GuideReport::Outcome::Read);
    // Every entry of the list has its channel's programmes (the SD feed and
    // the spare EBS address included).
    EXPECT_EQ(sources[0].report.matchedChannels, static_cast<int>(guides.channels.size()));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (const GuideChannel& channel : guides.channels) {
        const GuideData* guide = book.Find(Category::Tv, channel.key);
        ASSERT_NE(guide, nullptr) << channel.name.toStdString();
        const GuideData::NowNext nowNext = guide->At(channel.key, now);
        ASSERT_TRUE(nowNext.now && nowNext.next) << channel.name.toStdString();
        EXPECT_FALSE(nowNext.now->title.isEmpty());
        EXPECT_EQ(nowNext.now->stop - nowNext.now->start, 1800);
        // Two days ahead are there too.
        EXPECT_TRUE(guide->At(channel.key, now + 47 * 3600).now.has_value());
    }

    // The guide tells its tag and date; asked again, the service answers that
    // the kept copy is current (within the half hour of one edition).
    QStringList log;
    QObject::connect(&service, &demo::DemoService::requestLogged,
                     [&log](const QString& line) { log << line; });
    const QByteArray kept = ReadBytes(book.KeptPath(guideAddress));
    done = false;
    book.Refresh(Category::Tv, true, [&done] { done = true; });
    ASSERT_TRUE(WaitFor([&done] { return done; }));
    ASSERT_FALSE(log.isEmpty());
    const bool newEdition = kept != ReadBytes(book.KeptPath(guideAddress));
    EXPECT_TRUE(log.last().endsWith(newEdition ? QStringLiteral(" 200") : QStringLiteral(" 304")))
        << log.last().toStdString();
    EXPECT_EQ(book.Sources(Category::Tv)[0].fetched,
              newEdition ? GuideBook::Source::Fetched::Replaced : GuideBook::Source::Fetched::Same);
}

TEST_F(DemoServiceTest, ServesEveryWebPageWithItsOwnHeading) {
    QStringList paths = Endpoints::MusicPagePaths() + Endpoints::MoviePagePaths();
    paths << QStringLiteral("/");
    QSet<QString> headings;
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const FetchResult r = Fetch(ServiceUrl(path));
        ASSERT_EQ(r.status, 200);
        EXPECT_TRUE(r.contentType.startsWith("text/html"));
        const QString html = QString::fromUtf8(r.body);
        const QString heading = demo::DemoPageHeading(path);
        EXPECT_FALSE(heading.isEmpty());
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>") + heading + QStringLiteral("</h1>")));
        EXPECT_FALSE(html.contains(QStringLiteral("https://"))) << "nothing from outside";
        EXPECT_FALSE(html.contains(QStringLiteral("src=\"http"))) << "nothing from outside";
        headings.insert(heading);
    }
    EXPECT_EQ(headings.size(), paths.size()) << "each page is told apart by its heading";
    EXPECT_TRUE(headings.contains(QStringLiteral("최신 음악")));
    EXPECT_TRUE(headings.contains(QStringLiteral("드라마")));

    EXPECT_EQ(Fetch(ServiceUrl(QStringLiteral("/zenith/tab/mp3/none.html"))).status, 404);
    FetchOptions post;
    post.method = "POST";
    EXPECT_EQ(Fetch(ServiceUrl(QStringLiteral("/")), post).status, 405);
}

TEST_F(DemoServiceTest, CountsEachInstallRequestOnceAndKeepsALog) {
    const QString countPath = QString::fromLatin1(Endpoints::kCountPath);
    const FetchResult first = Fetch(CountUrl(countPath));
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(first.body, QByteArray("OK\n")) << "one line";
    Fetch(CountUrl(countPath));
    // Neither another key nor the count path on the web server counts.
    EXPECT_EQ(Fetch(CountUrl(QStringLiteral("/log/count.php?mode=a&key=other"))).status, 400);
    EXPECT_EQ(Fetch(ServiceUrl(countPath)).status, 404);

    EXPECT_EQ(service.CountTotal(), 2);
    ASSERT_EQ(countLines.size(), 2);
    EXPECT_TRUE(countLines[1].endsWith(QStringLiteral("total=2")));
    QFile log(dir.filePath(QStringLiteral("counts.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("key=nimbuskit2"));
    EXPECT_EQ(service.CountServer().RequestCount(countPath), 2);
}

TEST(DemoServiceStart, FailsCleanlyWhenThePortIsTaken) {
    demo::LoopbackHttpServer occupant;
    ASSERT_TRUE(occupant.Listen(0));
    demo::DemoService service;
    demo::DemoServiceOptions options;
    options.servicePort = 0;
    options.countPort = occupant.Port();
    QString error;
    EXPECT_FALSE(service.Start(options, &error));
    EXPECT_TRUE(error.contains(QString::number(occupant.Port())));
    EXPECT_FALSE(service.ServiceServer().IsListening()) << "nothing is left half started";
}

} // namespace
