#include "catalogue/ChannelSource.h"
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "catalogue/SourceCheck.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/SourceTabs.h"
#include "web/ServicePages.h"

#include "TestFolders.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Kind = ChannelSource::Kind;

SourceDefaults TestDefaults() {
    return SourceDefaults::Development(QStringLiteral("http://127.0.0.1:8730"));
}

} // namespace

TEST(ChannelSource, TextRoundTripsForEveryKindAndRefusesOtherText) {
    const ChannelSource sources[] = {
        {Kind::Service, QStringLiteral("http://127.0.0.1:9000")},
        {Kind::Playlist, QStringLiteral("https://127.0.0.1/list, with comma.m3u8")},
        {Kind::Playlist, QStringLiteral("/home/me/내 목록.m3u")},
        {Kind::Directory, QStringLiteral("countrycode=KR&order=clickcount")},
    };
    for (const ChannelSource& s : sources) {
        const auto back = ChannelSource::Parse(s.ToText());
        ASSERT_TRUE(back.has_value()) << s.ToText().toStdString();
        EXPECT_EQ(*back, s);
    }
    EXPECT_EQ(ChannelSource::Parse(QStringLiteral("  PLAYLIST   http://127.0.0.1/a.m3u ")),
              (ChannelSource{Kind::Playlist, QStringLiteral("http://127.0.0.1/a.m3u")}));
    // A service address ending in "/" would ask for "//ver/..." and count as
    // another service than the same address without it.
    EXPECT_EQ(ChannelSource::Parse(QStringLiteral("service http://127.0.0.1:9000// ")),
              (ChannelSource{Kind::Service, QStringLiteral("http://127.0.0.1:9000")}));
    for (const char* bad : {"", "playlist", "playlist   ", "ftp x", "http://127.0.0.1/a.m3u"})
        EXPECT_FALSE(ChannelSource::Parse(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(ChannelSource, SettingsRoundTripUnderTheSourcesKeyAndDefaultsForMissingValues) {
    ScopedXdgHome home;
    SourceSettings settings(TestDefaults());
    // Nothing stored: the build's defaults, and the service is in use.
    for (Category tab : kSourceTabs)
        EXPECT_EQ(settings.Of(tab), TestDefaults().Of(tab));
    EXPECT_TRUE(settings.AnyTabUsesService());

    const ChannelSource tv{Kind::Playlist, QStringLiteral("http://127.0.0.1:1/kr.m3u")};
    const ChannelSource radio{Kind::Directory, QStringLiteral("countrycode=KR")};
    const ChannelSource music{Kind::Directory, QStringLiteral("tag=kpop")};
    const ChannelSource world{Kind::Playlist, QStringLiteral("http://127.0.0.1:1/kor.m3u")};
    const ChannelSource game{Kind::Service, QStringLiteral("http://127.0.0.1:2")};
    ASSERT_TRUE(settings.Set(Category::Tv, tv));
    ASSERT_TRUE(settings.Set(Category::World, world));
    ASSERT_TRUE(settings.Set(Category::Game, game));
    ASSERT_TRUE(settings.Set(Category::Radio, radio));
    ASSERT_TRUE(settings.Set(Category::Music, music));
    ASSERT_TRUE(settings.SetDirectoryServer(QStringLiteral("http://127.0.0.1:3")));

    // Read back by a fresh reader, and as text under the documented names.
    SourceSettings again(TestDefaults());
    EXPECT_EQ(again.Of(Category::Tv), tv);
    EXPECT_EQ(again.Of(Category::Game), game);
    EXPECT_EQ(again.Of(Category::Radio), radio);
    EXPECT_EQ(again.ServiceAddress(), QStringLiteral("http://127.0.0.1:2"));
    EXPECT_EQ(again.DirectoryServer(), QStringLiteral("http://127.0.0.1:3"));
    const QByteArray ini = ReadBytes(home.configHome() + QStringLiteral("/waveorbit/machine.ini"));
    EXPECT_TRUE(ini.contains("[SOFTWARE\\WAVEORBIT\\Sources]")) << ini.constData();
    EXPECT_TRUE(ini.contains("RADIO=directory countrycode=KR")) << ini.constData();
    EXPECT_TRUE(ini.contains("MUSIC=directory tag=kpop")) << ini.constData();

    // Garbage reads as the default; putting the default back removes the value.
    Settings::WriteText(Settings::SourceWorld, QStringLiteral("nonsense"));
    EXPECT_EQ(again.Of(Category::World), TestDefaults().Of(Category::World));
    EXPECT_TRUE(again.Reset(Category::Tv));
    EXPECT_EQ(again.Of(Category::Tv), TestDefaults().Of(Category::Tv));
    again.Set(Category::Game,
              ChannelSource{Kind::Playlist, QStringLiteral("http://127.0.0.1/x.m3u")});
    again.Reset(Category::World);
    EXPECT_FALSE(SourceSettings(SourceDefaults::Public()).AnyTabUsesService());
}

// Every way to the home page (button, command, the time-out question) asks
// here: the service a tab uses, or none, and then the texts say where to set one.
TEST(ChannelSource, TheHomePageIsTheServiceATabUsesOrThereIsNone) {
    ScopedXdgHome home;
    EXPECT_EQ(ServicePages::HomePage(
                  SourceSettings(SourceDefaults::Development(Endpoints::ServiceBaseAddress()))),
              Endpoints::HomePageAddress());
    SourceSettings settings(SourceDefaults::Public());
    EXPECT_TRUE(ServicePages::HomePage(settings).isEmpty());
    EXPECT_TRUE(ServicePages::PageAddress(settings, Endpoints::PageAddress(QStringLiteral("/a")),
                                          Endpoints::ServiceBaseAddress())
                    .isEmpty());
    for (const QString& text : {ServicePages::NoServiceMessage(), ServicePages::NoServiceHtml()})
        EXPECT_TRUE(text.contains(QStringLiteral("설정 → 채널 목록"))) << text.toStdString();

    settings.Set(Category::Game,
                 ChannelSource::Of(Kind::Service, QStringLiteral("http://h.test:7/")));
    EXPECT_EQ(ServicePages::HomePage(settings), QStringLiteral("http://h.test:7"));
}

TEST(ChannelSource, TheTwoDefaultTablesDiffer) {
    const SourceDefaults dev = SourceDefaults::Development(QStringLiteral("http://127.0.0.1:8730"));
    EXPECT_EQ(dev.Of(Category::Tv).kind, Kind::Service);
    EXPECT_EQ(dev.Of(Category::World).ToText(),
              QStringLiteral("playlist http://127.0.0.1:8730/sources/kr.m3u"));
    EXPECT_EQ(dev.Of(Category::Radio).kind, Kind::Service);
    EXPECT_EQ(dev.directoryServer, QStringLiteral("http://127.0.0.1:8730"));

    const SourceDefaults pub = SourceDefaults::Public();
    EXPECT_EQ(pub.Of(Category::Tv).ToText(),
              QStringLiteral("playlist https://iptv-org.github.io/iptv/countries/kr.m3u"));
    EXPECT_EQ(pub.Of(Category::World).ToText(),
              QStringLiteral("playlist https://iptv-org.github.io/iptv/languages/kor.m3u"));
    EXPECT_EQ(pub.Of(Category::Game).kind, Kind::Playlist);
    EXPECT_EQ(pub.Of(Category::Radio).ToText(), QStringLiteral("directory countrycode=KR"));
    EXPECT_EQ(pub.Of(Category::Music).kind, Kind::Directory);
    EXPECT_TRUE(pub.directoryServer.isEmpty()); // found through DNS
    for (const ChannelSource& tab : pub.tabs)
        EXPECT_TRUE(SourceProblem(tab).isEmpty()) << tab.ToText().toStdString();
}

TEST(ChannelSource, BadInputGetsAKoreanMessage) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("목록.m3u"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#EXTM3U\n#EXTINF:-1,채널\nhttp://127.0.0.1/a.m3u8\n");
    f.close();
    const QString empty = dir.filePath(QStringLiteral("empty.m3u"));
    QFile e(empty);
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.write("#EXTM3U\n");
    e.close();

    EXPECT_TRUE(SourceProblem({Kind::Playlist, file}).isEmpty());
    EXPECT_TRUE(
        SourceProblem({Kind::Playlist, QStringLiteral("https://127.0.0.1/a.m3u")}).isEmpty());
    EXPECT_TRUE(SourceProblem({Kind::Directory, QStringLiteral("tag=kpop&limit=50")}).isEmpty());
    EXPECT_TRUE(SourceProblem({Kind::Service, QStringLiteral("http://127.0.0.1:8730")}).isEmpty());

    const ChannelSource bad[] = {
        {Kind::Playlist, dir.filePath(QStringLiteral("없는.m3u"))},
        {Kind::Playlist, QStringLiteral("ftp://127.0.0.1/a.m3u")},
        {Kind::Playlist, dir.path()}, // a folder is not a playlist
        {Kind::Playlist, empty},      // a playlist without any channel
        {Kind::Service, QStringLiteral("127.0.0.1:8730")},
        {Kind::Directory, QStringLiteral("kpop")},
        {Kind::Directory, QStringLiteral("colour=blue")},
    };
    for (const ChannelSource& s : bad) {
        const QString problem = SourceProblem(s);
        EXPECT_FALSE(problem.isEmpty()) << s.ToText().toStdString();
        EXPECT_TRUE(std::any_of(problem.begin(), problem.end(), [](QChar c) {
            return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3;
        })) << problem.toStdString();
    }
}

TEST(ChannelSource, AChoiceIsStoredWholeOrNotAtAll) {
    ScopedXdgHome home;
    SourceSettings settings(TestDefaults());
    SourcesChoice choice = settings.Choice();
    EXPECT_EQ(choice, TestDefaults().Choice()); // the default server shows empty
    choice.Of(Category::Tv) = {Kind::Playlist, QStringLiteral("http://127.0.0.1:1/kr.m3u")};
    choice.Of(Category::Radio) = {Kind::Directory, QStringLiteral("colour=blue")};
    choice.directoryServer = QStringLiteral("http://127.0.0.1:3");

    // The first tab at fault is named; nothing at all is stored.
    const SourcesProblem problem = ApplySources(settings, choice);
    EXPECT_EQ(problem.tab, Category::Radio);
    EXPECT_TRUE(problem.message.startsWith(QStringLiteral("라디오: ")))
        << problem.message.toStdString();
    EXPECT_EQ(settings.Choice(), TestDefaults().Choice());

    choice.Of(Category::Radio) = {Kind::Directory, QStringLiteral("countrycode=KR")};
    EXPECT_FALSE(ApplySources(settings, choice).Any());
    EXPECT_EQ(SourceSettings(TestDefaults()).Choice(), choice);

    // The defaults back: no value of the tabs or the server is left.
    EXPECT_FALSE(ApplySources(settings, TestDefaults().Choice()).Any());
    const QByteArray ini = ReadBytes(home.configHome() + QStringLiteral("/waveorbit/machine.ini"));
    for (const char* name : {"TV=", "RADIO=", "DIRECTORY"})
        EXPECT_FALSE(ini.contains(name)) << ini.constData();

    // A directory server that is an address must be a web one.
    choice.directoryServer = QStringLiteral("ftp://127.0.0.1");
    EXPECT_EQ(CheckSources(choice).tab, std::nullopt);
    EXPECT_TRUE(CheckSources(choice).Any());
}
