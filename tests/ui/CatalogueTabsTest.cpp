#include "catalogue/CatalogueTabs.h"
#include "app/Launcher.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/UpdateOutcome.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/Prompter.h"
#include "skin/CMinsButton.h"

#include "../../tools/demo/DemoCatalogues.h"
#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

using demo::HttpResponse;
using demo::LoopbackHttpServer;

namespace {

QByteArray Catalogue(const QByteArray& family, int version, int entries) {
    QByteArray out = "[" + family + "]\r\nCOUNT=" + QByteArray::number(entries) + "\r\n";
    for (int i = 1; i <= entries; ++i) {
        out += "[" + family + QByteArray::number(i) +
               "]\r\nNAME=" + (family + " " + QByteArray::number(i)).toBase64() +
               "\r\nINFO=" + QStringLiteral("전국").toUtf8().toBase64() + "\r\n";
    }
    out += "[DB]\r\nVER=" + QByteArray::number(version) + "\r\n";
    return out;
}

QByteArray VersionList(int version) {
    QByteArray out;
    for (const char* section : {"TV", "WORLD", "GAME", "RADIO", "MUSIC"})
        out += "[" + QByteArray(section) + "]\r\nVER=" + QByteArray::number(version) + "\r\n";
    return out;
}

class CatalogueTabsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listen());
        const char* families[] = {"MBC", "WORLD", "GAME", "MBC", "MUSIC"};
        const QStringList files = {QStringLiteral("tv.ini"), QStringLiteral("world.ini"),
                                   QStringLiteral("game.ini"), QStringLiteral("radio.ini"),
                                   QStringLiteral("music.ini")};
        for (int i = 0; i < files.size(); ++i)
            server.SetRoute(QStringLiteral("/ver/live/file/") + files[i],
                            HttpResponse::Ok(Catalogue(families[i], 12, 3)));
        server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                        HttpResponse::Ok(VersionList(12)));
        // Every tab on the service here (a development build puts the world
        // tab on the service host's playlist).
        SourceSettings().Set(Category::World,
                             ChannelSource::Of(ChannelSource::Kind::Service, server.BaseUrl()));
    }

    std::unique_ptr<CPlayerDlg> Start() {
        auto window = std::make_unique<CPlayerDlg>();
        window->Channels().Catalogue().SetServiceBaseAddress(server.BaseUrl());
        window->Prompts().SetMessageHandler([this](const QString& text) { messages << text; });
        window->DesktopLauncher() =
            (Launcher({[this](const QUrl& url) {
                           opened << url;
                           return true;
                       },
                       [this](const QString& program, const QStringList& args) {
                           started << program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
                           return true;
                       }}));
        window->OnInitDialog();
        return window;
    }

    bool QueueIdle(CPlayerDlg& window) {
        return WaitFor([&] { return window.Channels().Downloads().IsIdle(); });
    }

    // A tab's rows are read on a worker: true once the list holds `rows`.
    static bool Listed(CPlayerDlg& window, int rows) {
        return WaitFor([&] { return window.ListModel()->rowCount() == rows; });
    }

    QString DataFile(const QString& name) const {
        return home.dataHome() + QStringLiteral("/waveorbit/") + name;
    }

    ScopedXdgHome home;
    LoopbackHttpServer server;
    QStringList messages;
    QList<QUrl> opened;
    QStringList started;
};

} // namespace

TEST_F(CatalogueTabsTest, FirstStartFetchesTheShownTabThenChecksVersionsOnce) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(13)));
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    const QStringList targets = server.RequestedTargets();
    ASSERT_GE(targets.size(), 2);
    EXPECT_EQ(targets[0], QStringLiteral("/ver/live/file/tv.ini"));
    EXPECT_EQ(targets[1], QStringLiteral("/ver/5.0/live/update.php"));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
    // Every catalogue behind the server's version 13 came, tv.ini again too.
    for (const QString& file :
         {QStringLiteral("tv.ini"), QStringLiteral("world.ini"), QStringLiteral("game.ini"),
          QStringLiteral("radio.ini"), QStringLiteral("music.ini")})
        EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/") + file),
                  file == QStringLiteral("tv.ini") ? 2 : 1)
            << file.toStdString();
    EXPECT_FALSE(QFile::exists(DataFile(QStringLiteral("live_update.ini"))));
    // The TV tab shows the catalogue that arrived: the region "자동" passes no
    // MBC station, so each of the four groups shows its fallback row.
    EXPECT_EQ(window->ListModel()->rowCount(), 4);
}

TEST_F(CatalogueTabsTest, ATabDownloadsOnceAndShowsItsRowsOnce) {
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    server.ClearRequests();
    QFile::remove(DataFile(QStringLiteral("world.ini")));
    // Two presses while the first download runs: one download, rows once.
    server.SetRoute(QStringLiteral("/ver/live/file/world.ini"),
                    HttpResponse::Slow(Catalogue("WORLD", 12, 3), 400));
    window->Button(ControlFromNumber(1013))->click();
    EXPECT_TRUE(window->ListView()->IsShowingDownload());
    window->Button(ControlFromNumber(1013))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/world.ini")), 1);
    EXPECT_TRUE(Listed(*window, 3));
    EXPECT_FALSE(window->ListView()->IsShowingDownload());
    // A third press reads the file without asking the server.
    window->Button(ControlFromNumber(1013))->click();
    EXPECT_TRUE(Listed(*window, 3));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/world.ini")), 1);
}

TEST_F(CatalogueTabsTest, AFailedDownloadIsTriedAgainAtTheNextOpening) {
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"), HttpResponse::Status(404));
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    server.ClearRequests();
    window->Button(ControlFromNumber(1014))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(window->ListModel()->rowCount(), 0);
    EXPECT_FALSE(QFile::exists(DataFile(QStringLiteral("game.ini"))));
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"),
                    HttpResponse::Ok(Catalogue("GAME", 12, 2)));
    window->Button(ControlFromNumber(1014))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_TRUE(Listed(*window, 2));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/game.ini")), 2);
}

// A full disk once left a zero-byte tv.ini behind, which the tab took for
// its catalogue for good. A kept catalogue that holds no channel is fetched
// again like a missing one.
TEST_F(CatalogueTabsTest, AnEmptyOrDamagedKeptCatalogueIsFetchedAgain) {
    WriteBytes(DataFile(QStringLiteral("tv.ini")), QByteArray());
    WriteBytes(DataFile(QStringLiteral("world.ini")), "[WORLD]\r\nCOUNT=0\r\n[DB]\r\nVER=12\r\n");
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 1);
    EXPECT_EQ(ReadBytes(DataFile(QStringLiteral("tv.ini"))), Catalogue("MBC", 12, 3));
    EXPECT_EQ(window->ListModel()->rowCount(), 4); // the fallback rows of "자동"
    EXPECT_TRUE(window->ListView()->Notice().isEmpty());

    window->Button(ControlFromNumber(1013))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/world.ini")), 1);
    EXPECT_TRUE(Listed(*window, 3));
}

TEST_F(CatalogueTabsTest, MissingRegionalCataloguesShowTheirFallbackRows) {
    server.SetRoute(QStringLiteral("/ver/live/file/radio.ini"), HttpResponse::Refuse());
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    window->Button(ControlFromNumber(1015))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(window->ListModel()->rowCount(), 6); // one empty row per group
    window->Button(ControlFromNumber(1015))->click();
    ASSERT_TRUE(QueueIdle(*window));
    EXPECT_EQ(window->ListModel()->rowCount(), 6); // emptied before every fill
}

TEST_F(CatalogueTabsTest, TheUpdateCommandReportsAndStartsTheUpdater) {
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    // The updater sits beside the program.
    const QString updater =
        QCoreApplication::applicationDirPath() + QStringLiteral("/WAVEORBITUPDATE");
    QFile file(updater);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    struct Cleanup {
        QString path;
        ~Cleanup() { QFile::remove(path); }
    } cleanup{updater};

    window->Commands().Run(MenuCommand::Update);
    ASSERT_TRUE(WaitFor([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages.last(), QStringLiteral("현재 버전이 최신버전입니다."));
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.last(), updater + QStringLiteral(" boot"));

    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(13)));
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"),
                    HttpResponse::Ok(Catalogue("MBC", 13, 5)));
    const int shownRows = window->ListModel()->rowCount();
    window->Commands().Run(MenuCommand::Update);
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 2; }));
    EXPECT_EQ(messages.last(), QStringLiteral("최신버전으로 업데이트 되었습니다."));
    EXPECT_EQ(started.size(), 2);
    // The list on screen is not refreshed by the check.
    EXPECT_EQ(window->ListModel()->rowCount(), shownRows);

    // The service unreachable: the user hears that nothing could be checked,
    // and the updater still has its turn.
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Refuse());
    window->Commands().Run(MenuCommand::Update);
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 3; }));
    EXPECT_EQ(messages.last(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::NotChecked));
    EXPECT_EQ(started.size(), 3);
}

TEST_F(CatalogueTabsTest, WebPageRowsOpenInTheBrowser) {
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    ChannelRecord page;
    page.fields = {QStringLiteral("1"),
                   QStringLiteral("편성표"),
                   QString(),
                   QString(),
                   QString(),
                   QStringLiteral("Y"),
                   QStringLiteral("http://127.0.0.1:1/schedule page.html")};
    window->ListModel()->Clear();
    window->ListModel()->AppendRows({page, page, page});
    window->Channels().OnListClick(2);
    EXPECT_EQ(window->Session().CurrentRow(), 2);
    window->Channels().OnListDoubleClick(1);
    EXPECT_EQ(window->Session().CurrentRow(), 1);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].path(), QStringLiteral("/schedule page.html"));
}

// 라디오 set to a service of its own: the update check asks that service for
// the radio catalogue's version and the catalogue itself, the build's service
// for the rest, and each service's failure is only its own tab's.
TEST_F(CatalogueTabsTest, EachTabsCatalogueIsCheckedAgainstItsOwnService) {
    LoopbackHttpServer radio;
    ASSERT_TRUE(radio.Listen());
    radio.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(30)));
    radio.SetRoute(QStringLiteral("/ver/live/file/radio.ini"),
                   HttpResponse::Ok(Catalogue("KBS", 30, 2)));
    // The build's service would hand out a radio catalogue too: never asked.
    server.SetRoute(QStringLiteral("/ver/live/file/radio.ini"),
                    HttpResponse::Ok(Catalogue("MBC", 99, 1)));
    SourceSettings settings;
    ASSERT_TRUE(settings.Set(Category::Radio,
                             ChannelSource{ChannelSource::Kind::Service, radio.BaseUrl()}));
    auto window = Start();
    ASSERT_TRUE(QueueIdle(*window));
    // The quiet check at start fetched the radio catalogue from its service.
    EXPECT_EQ(ReadBytes(DataFile(QStringLiteral("radio.ini"))), Catalogue("KBS", 30, 2));
    EXPECT_EQ(radio.RequestedTargets(), (QStringList{QStringLiteral("/ver/5.0/live/update.php"),
                                                     QStringLiteral("/ver/live/file/radio.ini")}));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/radio.ini")), 0);

    const auto update = [&] {
        messages.clear();
        window->Commands().Run(MenuCommand::Update);
        EXPECT_TRUE(WaitFor([&] { return !messages.isEmpty(); }));
        return messages.value(0);
    };
    // Both services have nothing newer: up to date, although the build's
    // service names a radio version far above the one kept.
    EXPECT_EQ(update(), QStringLiteral("현재 버전이 최신버전입니다."));

    // Only the radio service has something new.
    radio.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(31)));
    radio.SetRoute(QStringLiteral("/ver/live/file/radio.ini"),
                   HttpResponse::Ok(Catalogue("KBS", 31, 3)));
    EXPECT_EQ(update(), QStringLiteral("최신버전으로 업데이트 되었습니다."));
    EXPECT_EQ(ReadBytes(DataFile(QStringLiteral("radio.ini"))), Catalogue("KBS", 31, 3));

    // The radio service is down and the build's service has a new TV list:
    // partly updated, the radio catalogue kept as it was.
    radio.Close();
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(13)));
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"),
                    HttpResponse::Ok(Catalogue("MBC", 13, 5)));
    EXPECT_EQ(update(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::PartlyUpdated));
    EXPECT_EQ(ReadBytes(DataFile(QStringLiteral("radio.ini"))), Catalogue("KBS", 31, 3));
    EXPECT_EQ(CatalogueVersion(CatalogueIni::Load(DataFile(QStringLiteral("tv.ini")))), 13);
    // Nothing new on the service that answers: the radio tab could not be
    // checked, which is no "latest version".
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Ok(VersionList(12)));
    EXPECT_EQ(update(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::NotChecked));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/radio.ini")), 0);
}
