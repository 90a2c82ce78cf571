#include "catalogue/SourceMapping.h"
#include "RecordNames.h"
#include "app/LegacyText.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/RadioDirectory.h"
#include "catalogue/StreamOptions.h"

#include <gtest/gtest.h>

TEST(SourcePlaylist, AttributesOptionsAndRelativeEntries) {
    const QByteArray file =
        "\xEF\xBB\xBF#EXTM3U\r\n"
        "#EXTINF:-1 tvg-id=\"KBS1.kr\" tvg-chno=\"9\" tvg-logo=\"http://127.0.0.1/a,b.png\" "
        "group-title=\"General, News\" x-extra=\"y\",KBS 1TV, Seoul (1080p)\r\n"
        "#EXTVLCOPT:http-referrer=http://127.0.0.1/page?a=1,b=2\r\n"
        "#EXTVLCOPT:http-user-agent=Mozilla/5.0 (X11, Linux)\r\n"
        "live/kbs1.m3u8\r\n"
        "#EXTINF:-1,Kodi\r\n"
        "#KODIPROP:inputstream.adaptive.stream_headers=X-Token=a%26b&Referer=http%3A%2F%2F127.0.0."
        "1%2F\r\n"
        "/abs/kodi.m3u8\r\n"
        "#EXTINF:-1,Piped\r\n"
        "http://127.0.0.1:9/p.m3u8|User-Agent=Pipe%2F1&Origin=http://127.0.0.1\r\n"
        "#EXTINF:-1,Plain\r\n"
        "http://127.0.0.1:9/plain.m3u8\r\n";
    const auto entries =
        M3uPlaylist::Parse(file, QUrl(QStringLiteral("http://127.0.0.1:9/lists/kr.m3u")));
    ASSERT_EQ(entries.size(), 4u);
    const M3uPlaylist::Entry& kbs = entries[0];
    EXPECT_EQ(kbs.name, QStringLiteral("KBS 1TV, Seoul (1080p)"));
    EXPECT_EQ(kbs.group, QStringLiteral("General, News"));
    EXPECT_EQ(kbs.Attribute("tvg-chno"), QStringLiteral("9"));
    EXPECT_EQ(kbs.Attribute("tvg-logo"), QStringLiteral("http://127.0.0.1/a,b.png"));
    EXPECT_EQ(kbs.Attribute("x-extra"), QStringLiteral("y"));
    EXPECT_EQ(kbs.url, QStringLiteral("http://127.0.0.1:9/lists/live/kbs1.m3u8"));
    EXPECT_EQ(kbs.options.referrer, QStringLiteral("http://127.0.0.1/page?a=1,b=2"));
    EXPECT_EQ(kbs.options.userAgent, QStringLiteral("Mozilla/5.0 (X11, Linux)"));

    EXPECT_EQ(entries[1].url, QStringLiteral("http://127.0.0.1:9/abs/kodi.m3u8"));
    EXPECT_EQ(entries[1].options.headers, QStringList{QStringLiteral("X-Token: a&b")});
    EXPECT_EQ(entries[1].options.referrer, QStringLiteral("http://127.0.0.1/"));
    EXPECT_EQ(entries[2].url, QStringLiteral("http://127.0.0.1:9/p.m3u8"));
    EXPECT_EQ(entries[2].options.userAgent, QStringLiteral("Pipe/1"));
    // Options belong to their own channel only.
    EXPECT_TRUE(entries[3].options.IsEmpty());

    // mpv gets each value verbatim, commas and all.
    const QByteArray mpv = kbs.options.MpvFileOptions();
    EXPECT_EQ(mpv, QByteArray("referrer=%29%http://127.0.0.1/page?a=1,b=2,"
                              "user-agent=%24%Mozilla/5.0 (X11, Linux)"));

    // A local playlist resolves against its folder.
    const auto local = M3uPlaylist::Parse("#EXTINF:-1,A\nsub/a.mp3\n",
                                          QUrl::fromLocalFile(QStringLiteral("/srv/lists/x.m3u")));
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].url, QStringLiteral("/srv/lists/sub/a.mp3"));
}

TEST(SourcePlaylist, KoreanTextSurvivesInUtf8AndCp949WithCrLf) {
    const QString text = QStringLiteral(
        "#EXTM3U\n#EXTINF:-1 tvg-chno=\"11\" group-title=\"지역\",대구MBC 똠방\n"
        "http://127.0.0.1/dg.m3u8\n#EXTINF:-1,KNN 부산\nhttp://127.0.0.1/knn.m3u8\n");
    bool ok = false;
    QByteArray cp949 = LegacyText::EncodeCp949(text, &ok);
    ASSERT_TRUE(ok);
    cp949.replace("\n", "\r\n");
    for (const QByteArray& bytes :
         {text.toUtf8(), QByteArray("\xEF\xBB\xBF") + text.toUtf8(), cp949}) {
        const auto entries = M3uPlaylist::Parse(bytes);
        ASSERT_EQ(entries.size(), 2u);
        const ChannelRecord r = SourceMapping::FromPlaylistEntry(entries[0]);
        EXPECT_EQ(r.name(), QStringLiteral("대구MBC 똠방"));
        EXPECT_EQ(r.num(), QStringLiteral("11"));
        EXPECT_EQ(r.info(), QStringLiteral("대구 · 지역"));
        EXPECT_FALSE(r.name().contains(QLatin1Char('?')));
    }
    // The list's notes leave the name and become the row's resolution and marks.
    const auto entries = M3uPlaylist::Parse(
        "#EXTM3U\n#EXTINF:-1 group-title=\"General\",Arirang (720p) [Geo-blocked]\nhttp://a\n");
    ASSERT_EQ(entries.size(), 1u);
    const ChannelRecord r = SourceMapping::FromPlaylistEntry(entries[0]);
    EXPECT_EQ(r.name(), QStringLiteral("Arirang"));
    EXPECT_EQ(r.connect(), QStringLiteral("720p"));
    EXPECT_EQ(r.info(), QStringLiteral("General · 지역제한"));
}

TEST(SourceMapping, FamiliesAndRegionsFromKoreanAndRomanisedNames) {
    struct Case {
        const char* name;
        bool radio;
        const char* family;
        const char* region;
    };
    const Case cases[] = {
        {"MBC", false, "MBC", "서울"},
        {"대구MBC", false, "MBC", "대구"},
        {"Daegu MBC (720p)", false, "MBC", "대구"},
        {"MBC Jeju", false, "MBC", "제주"},
        {"Chuncheon MBC", false, "MBC", "춘천"},
        {"SBS", false, "SBS", "서울"},
        {"KNN 부산", false, "SBS", "부산"},
        {"TBC", false, "SBS", "대구"},
        {"G1 강원민방", false, "SBS", "강원"},
        {"JIBS", false, "SBS", "제주"},
        {"KBS 1TV", false, "KBS", ""},
        {"EBS 1TV", false, "ETC", ""},
        {"극동방송", true, "FEBC", ""},
        {"FEBC Seoul", true, "FEBC", "서울"},
        {"PBC 평화방송", true, "PBC", ""},
        {"PBC", false, "ETC", ""}, // FEBC and PBC are families of the radio tab only
        {"ATBC News", false, "ETC", ""},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(SourceMapping::FamilyOf(name, c.radio), QString::fromUtf8(c.family)) << c.name;
        EXPECT_EQ(SourceMapping::RegionFromName(name), QString::fromUtf8(c.region)) << c.name;
    }
    EXPECT_EQ(SourceMapping::RegionFromState(QStringLiteral("Gangwon-do")), QStringLiteral("강원"));
    EXPECT_EQ(SourceMapping::RegionFromState(QStringLiteral("Busan")), QStringLiteral("부산"));
    EXPECT_EQ(SourceMapping::ResolutionInTitle(QStringLiteral("A (1080p) [Geo-blocked]")),
              QStringLiteral("1080p"));
}

TEST(SourceMapping, RegionalTabsOrderFamiliesAndFilterByRegion) {
    std::vector<ChannelRecord> rows;
    for (const char* name :
         {"EBS", "MBC", "부산MBC", "Daegu MBC", "KBS 1TV", "SBS", "KNN 부산", "TBC", "KBS 2TV"}) {
        M3uPlaylist::Entry e;
        e.name = QString::fromUtf8(name);
        e.url = QStringLiteral("http://127.0.0.1/") + e.name;
        rows.push_back(SourceMapping::FromPlaylistEntry(e));
    }
    EXPECT_EQ(Names(SourceMapping::ArrangeForTab(rows, Category::Tv, QStringLiteral("자동"))),
              (QStringList{"MBC", "부산MBC", "Daegu MBC", "KBS 1TV", "KBS 2TV", "SBS", "KNN 부산",
                           "TBC", "EBS"}));
    EXPECT_EQ(Names(SourceMapping::ArrangeForTab(rows, Category::Tv, QStringLiteral("부산"))),
              (QStringList{"부산MBC", "KBS 1TV", "KBS 2TV", "KNN 부산", "EBS"}));
    EXPECT_EQ(Names(SourceMapping::ArrangeForTab(rows, Category::Tv, QStringLiteral("대구"))),
              (QStringList{"Daegu MBC", "KBS 1TV", "KBS 2TV", "TBC", "EBS"}));
    // No station of the region: the family is listed whole rather than lost.
    EXPECT_EQ(
        Names(SourceMapping::ArrangeForTab(rows, Category::Tv, QStringLiteral("목포"))).size(), 9);
    // The other tabs keep the list's order.
    EXPECT_EQ(
        Names(SourceMapping::ArrangeForTab(rows, Category::World, QStringLiteral("부산"))).first(),
        QStringLiteral("EBS"));
}

TEST(RadioDirectory, StationsBrokenOnesHiddenAndRecordsMapped) {
    const QByteArray json = R"([
      {"stationuuid":"u-1","name":"KBS 클래식FM","url":"http://127.0.0.1/raw","url_resolved":"http://127.0.0.1/kbs.mp3",
       "homepage":"http://127.0.0.1/","tags":"classical,korean","countrycode":"KR","state":"Seoul",
       "codec":"MP3","bitrate":128,"votes":50,"clickcount":"7","lastcheckok":1},
      {"stationuuid":"u-2","name":"Broken","url":"http://127.0.0.1/x","lastcheckok":0},
      {"stationuuid":"u-3","name":"Busan eFM","url":"http://127.0.0.1/b.aac","state":"Busan",
       "codec":"AAC","bitrate":0,"lastcheckok":1},
      {"stationuuid":"u-4","name":"","url":"http://127.0.0.1/noname"}
    ])";
    const auto stations = RadioDirectory::ParseStations(json);
    ASSERT_TRUE(stations.has_value());
    ASSERT_EQ(stations->size(), 2u);
    EXPECT_EQ(stations->at(0).clickCount, 7);
    const ChannelRecord kbs = SourceMapping::FromStation(stations->at(0));
    EXPECT_EQ(kbs.name(), QStringLiteral("KBS 클래식FM"));
    EXPECT_EQ(kbs.url(), QStringLiteral("http://127.0.0.1/kbs.mp3"));
    EXPECT_EQ(kbs.info(), QStringLiteral("서울 · classical, korean"));
    EXPECT_EQ(kbs.connect(), QStringLiteral("MP3 128k"));
    EXPECT_TRUE(kbs.website().isEmpty());
    const ChannelRecord busan = SourceMapping::FromStation(stations->at(1));
    EXPECT_EQ(busan.info(), QStringLiteral("부산"));
    EXPECT_EQ(busan.connect(), QStringLiteral("AAC"));

    for (const QByteArray& bad :
         {QByteArray("[{\"name\":"), QByteArray("<html>x</html>"), QByteArray("{\"a\":1}")})
        EXPECT_FALSE(RadioDirectory::ParseStations(bad).has_value()) << bad.constData();

    const QUrl search = RadioDirectory::SearchAddress(QStringLiteral("127.0.0.1:8730/"),
                                                      QStringLiteral("tag=kpop&limit=20"));
    EXPECT_EQ(search.toString(),
              QStringLiteral("https://127.0.0.1:8730/json/stations/search?tag=kpop&limit=20&"
                             "hidebroken=true&order=votes&reverse=true"));
    EXPECT_EQ(
        RadioDirectory::ClickAddress(QStringLiteral("http://127.0.0.1:1"), QStringLiteral("u-1"))
            .toString(),
        QStringLiteral("http://127.0.0.1:1/json/url/u-1"));
    EXPECT_TRUE(RadioDirectory::UserAgent().startsWith("WAVEORBIT/"));
}
