// The demo catalogues are only useful if the player's own readers take them
// back exactly as they were generated, region filter included.
#include "RecordNames.h"
#include "app/AtoiText.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"
#include "demo/DemoCatalogues.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using demo::BuildDemoCatalogues;
using demo::CatalogueFamily;
using demo::DemoCatalogue;

namespace {

const DemoCatalogue& Find(const std::vector<DemoCatalogue>& all, const QString& fileName) {
    for (const DemoCatalogue& c : all) {
        if (c.fileName == fileName)
            return c;
    }
    static const DemoCatalogue none;
    ADD_FAILURE() << "no catalogue " << fileName.toStdString();
    return none;
}

const CatalogueFamily& Family(const DemoCatalogue& c, const QString& name) {
    for (const CatalogueFamily& f : c.families) {
        if (f.name == name)
            return f;
    }
    static const CatalogueFamily none;
    ADD_FAILURE() << "no family " << name.toStdString() << " in " << c.fileName.toStdString();
    return none;
}

class DemoCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        options.serviceBase = QStringLiteral("http://127.0.0.1:18730");
        options.defaultVersion = 7;
        options.versions.insert(QStringLiteral("radio.ini"), 9);
        QString error;
        ASSERT_TRUE(demo::WriteDemoCatalogues(dir.path(), options, &error)) << error.toStdString();
        catalogues = BuildDemoCatalogues(options);
    }
    QString PathOf(const QString& fileName) const { return QDir(dir.path()).filePath(fileName); }

    QTemporaryDir dir;
    demo::CatalogueOptions options;
    std::vector<DemoCatalogue> catalogues;
};

TEST_F(DemoCatalogueTest, EveryFamilyReadsBackAsGenerated) {
    ASSERT_EQ(catalogues.size(), 5u);
    for (const DemoCatalogue& c : catalogues) {
        SCOPED_TRACE(c.fileName.toStdString());
        const CatalogueLayout layout = LayoutOf(c.fileName);
        QStringList families;
        for (const CatalogueFamily& f : c.families)
            families << f.name;
        EXPECT_EQ(families, layout.families) << "the families the player loads, in its order";

        const CatalogueIni ini = CatalogueIni::Load(PathOf(c.fileName));
        for (const CatalogueFamily& f : c.families) {
            SCOPED_TRACE(f.name.toStdString());
            EXPECT_FALSE(f.entries.empty());
            // The empty region takes every station, so the loader must give back all of them.
            const std::vector<ChannelRecord> loaded =
                layout.regional ? LoadRegionalGroup(ini, f.name, QString())
                                : LoadCatalogueSection(ini, f.name);
            EXPECT_EQ(loaded, f.entries);
            EXPECT_EQ(f.hasFallback, layout.regional) << "each regional group has its fallback";
        }
    }
}

TEST_F(DemoCatalogueTest, RegionFilterTakesTheCitysStationOrTheFallback) {
    const QString tv = PathOf(QStringLiteral("tv.ini"));
    const DemoCatalogue& tvCatalogue = Find(catalogues, QStringLiteral("tv.ini"));
    const CatalogueFamily& mbc = Family(tvCatalogue, QStringLiteral("MBC"));

    const std::vector<ChannelRecord> seoul =
        LoadRegionalGroup(tv, QStringLiteral("MBC"), QStringLiteral("서울"));
    ASSERT_EQ(seoul.size(), 1u);
    EXPECT_EQ(seoul[0], mbc.entries[0]);
    EXPECT_EQ(seoul[0].name(), QStringLiteral("MBC 서울"));

    // The player's default region before one is chosen matches no station.
    const std::vector<ChannelRecord> automatic =
        LoadRegionalGroup(tv, QStringLiteral("MBC"), QStringLiteral("자동"));
    ASSERT_EQ(automatic.size(), 1u);
    EXPECT_EQ(automatic[0], mbc.fallback);

    // KBS and ETC are never filtered.
    EXPECT_EQ(LoadRegionalGroup(tv, QStringLiteral("KBS"), QStringLiteral("서울")),
              Family(tvCatalogue, QStringLiteral("KBS")).entries);
    EXPECT_EQ(LoadRegionalGroup(tv, QStringLiteral("ETC"), QStringLiteral("자동")),
              Family(tvCatalogue, QStringLiteral("ETC")).entries);

    // The whole TV tab for Busan: Busan MBC, every KBS channel, Busan SBS, every ETC channel.
    const std::vector<ChannelRecord> busan =
        LoadCatalogueFile(tv, QStringLiteral("tv.ini"), QStringLiteral("부산"));
    const QStringList names = Names(busan);
    EXPECT_EQ(names.first(), QStringLiteral("부산MBC"));
    EXPECT_TRUE(names.contains(QStringLiteral("SBS 부산 KNN")));
    EXPECT_TRUE(names.contains(QStringLiteral("KBS 2TV")));
    EXPECT_FALSE(names.contains(QStringLiteral("MBC 서울")));
    EXPECT_EQ(busan.size(), 1 + Family(tvCatalogue, QStringLiteral("KBS")).entries.size() + 1 +
                                Family(tvCatalogue, QStringLiteral("ETC")).entries.size());

    // The radio's religious broadcasters are regional too.
    const QString radio = PathOf(QStringLiteral("radio.ini"));
    EXPECT_EQ(Names(LoadRegionalGroup(radio, QStringLiteral("FEBC"), QStringLiteral("제주"))),
              QStringList({QStringLiteral("극동방송 제주")}));
    EXPECT_EQ(Names(LoadRegionalGroup(radio, QStringLiteral("PBC"), QStringLiteral("강릉"))),
              QStringList({QStringLiteral("평화방송")}));
}

TEST_F(DemoCatalogueTest, EveryRegionTheDialogOffersHasItsStation) {
    const QString tv = PathOf(QStringLiteral("tv.ini"));
    const QStringList cities =
        QStringLiteral("서울 부산 대구 광주 대전 전주 마산 춘천 청주 제주 울산 "
                       "강릉 진주 목포 여수 안동 원주 충주 삼척 포항")
            .split(QLatin1Char(' '));
    for (const QString& city : cities) {
        const std::vector<ChannelRecord> mbc = LoadRegionalGroup(tv, QStringLiteral("MBC"), city);
        ASSERT_EQ(mbc.size(), 1u) << city.toStdString();
        EXPECT_TRUE(mbc[0].info().contains(city)) << city.toStdString();
    }
    const QStringList regions =
        QStringLiteral("강원 광주 대구 부산 서울 울산 전주 제주 청주").split(QLatin1Char(' '));
    for (const QString& region : regions) {
        const std::vector<ChannelRecord> sbs = LoadRegionalGroup(tv, QStringLiteral("SBS"), region);
        ASSERT_FALSE(sbs.empty());
        EXPECT_TRUE(sbs[0].info().contains(region)) << region.toStdString();
        EXPECT_TRUE(sbs[0].name().contains(QStringLiteral("SBS")));
    }
}

TEST_F(DemoCatalogueTest, ChannelsArePlayableOnLoopbackOrAreWebPages) {
    int webPages = 0;
    for (const DemoCatalogue& c : catalogues) {
        for (const CatalogueFamily& f : c.families) {
            for (const ChannelRecord& r : f.entries) {
                SCOPED_TRACE(r.name().toStdString());
                EXPECT_EQ(r.connect(), QStringLiteral("연결대기"));
                EXPECT_FALSE(r.name().isEmpty());
                EXPECT_FALSE(r.num().isEmpty());
                if (r.IsWebPage()) {
                    ++webPages;
                    EXPECT_EQ(r.webUrl(),
                              QStringLiteral("http://127.0.0.1:18730/live/schedule.html"));
                    continue;
                }
                EXPECT_TRUE(r.url().startsWith(QStringLiteral("http://127.0.0.1:873")));
                const bool audio = c.fileName == QStringLiteral("radio.ini") ||
                                   c.fileName == QStringLiteral("music.ini");
                EXPECT_EQ(r.url().endsWith(QStringLiteral(".mp3")), audio);
                // Only the regional catalogues ask for a region; a name with
                // MBC or SBS elsewhere would ask and then never play.
                if (!LayoutOf(c.fileName).regional || f.name == QStringLiteral("KBS") ||
                    f.name == QStringLiteral("ETC")) {
                    EXPECT_FALSE(r.name().contains(QStringLiteral("MBC")));
                    EXPECT_FALSE(r.name().contains(QStringLiteral("SBS")));
                }
            }
        }
    }
    EXPECT_EQ(webPages, 1);
}

TEST_F(DemoCatalogueTest, VersionsAreStatedInEachFileAndInTheVersionList) {
    for (const DemoCatalogue& c : catalogues) {
        const int expected = c.fileName == QStringLiteral("radio.ini") ? 9 : 7;
        EXPECT_EQ(c.version, expected);
        EXPECT_EQ(CatalogueVersion(CatalogueIni::Load(PathOf(c.fileName))), expected)
            << c.fileName.toStdString();
    }
    const CatalogueIni list = CatalogueIni::Load(PathOf(QStringLiteral("update.php")));
    EXPECT_EQ(list.SectionCount(), 5);
    const std::pair<const char*, int> expected[] = {
        {"TV", 7}, {"WORLD", 7}, {"GAME", 7}, {"RADIO", 9}, {"MUSIC", 7}};
    for (const auto& [section, version] : expected)
        EXPECT_EQ(AtoiText(list.Value(section, "VER")), version) << section;
}

TEST_F(DemoCatalogueTest, OutputIsDeterministic) {
    QTemporaryDir again;
    ASSERT_TRUE(demo::WriteDemoCatalogues(again.path(), options, nullptr));
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
        QFile a(PathOf(name));
        QFile b(QDir(again.path()).filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
    }
}

TEST(DemoCatalogueField, RefusesWhatAReaderCouldNotGiveBack) {
    bool ok = false;
    EXPECT_EQ(demo::EncodeCatalogueField(QStringLiteral("abc"), &ok), QByteArray("YWJj"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(demo::EncodeCatalogueField(QStringLiteral("서울"), &ok), QByteArray("vK2/7w=="));
    EXPECT_TRUE(ok);
    // 192 bytes encode to 256, the longest a reader takes whole; 195 need 260.
    demo::EncodeCatalogueField(QString(192, QLatin1Char('a')), &ok);
    EXPECT_TRUE(ok);
    demo::EncodeCatalogueField(QString(195, QLatin1Char('a')), &ok);
    EXPECT_FALSE(ok);
    demo::EncodeCatalogueField(QStringLiteral("음악 🎵"), &ok); // no CP949 form
    EXPECT_FALSE(ok);
}

} // namespace
