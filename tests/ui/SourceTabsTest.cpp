#include "catalogue/SourceTabs.h"
#include "app/Launcher.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/UpdateOutcome.h"
#include "dialogs/CGuideDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/Prompter.h"
#include "playback/PlayerWidget.h"
#include "web/ServicePages.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "RecordingPlayer.h"
#include "TestFolders.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <memory>

using demo::HttpResponse;
using demo::LoopbackHttpServer;
using Kind = ChannelSource::Kind;

namespace {

const QByteArray kList = "#EXTM3U\n"
                         "#EXTINF:-1,MBC\nhttp://127.0.0.1:9/mbc.m3u8\n"
                         "#EXTINF:-1,부산MBC\nhttp://127.0.0.1:9/busan.m3u8\n"
                         "#EXTINF:-1,Daegu MBC\nhttp://127.0.0.1:9/daegu.m3u8\n"
                         "#EXTINF:-1,KBS 1TV\nhttp://127.0.0.1:9/kbs.m3u8\n"
                         "#EXTINF:-1,SBS\nhttp://127.0.0.1:9/sbs.m3u8\n"
                         "#EXTINF:-1,TBC 대구\nhttp://127.0.0.1:9/tbc.m3u8\n";

struct Window {
    QStringList messages;
    QList<QUrl> opened;
    std::unique_ptr<CPlayerDlg> dlg;
    RecordingPlayer<PlayerWidget>* player = nullptr; // owned by the window

    explicit Window(const QString& serviceBase) {
        dlg = std::make_unique<CPlayerDlg>();
        player = new RecordingPlayer<PlayerWidget>;
        dlg->UsePlayer(player);
        dlg->Channels().Catalogue().SetServiceBaseAddress(serviceBase);
        dlg->Prompts().SetMessageHandler([this](const QString& text) { messages << text; });
        dlg->DesktopLauncher() =
            (Launcher({[this](const QUrl& url) {
                           opened << url;
                           return true;
                       },
                       [](const QString&, const QStringList&) { return true; }}));
        dlg->OnInitDialog();
    }

    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < dlg->ListModel()->rowCount(); ++i)
            names << dlg->ListModel()->Row(i).name();
        return names;
    }

    void DoubleClickRow(int row) {
        QTableView* view = dlg->ListView();
        const QRect cell = view->visualRect(dlg->ListView()->Filter()->index(row, 1));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
};

// The window starts on the radio tab, which lists this directory's stations.
void StartOnTheRadioTabOf(const LoopbackHttpServer& directory) {
    SourceSettings settings;
    settings.Set(Category::Radio, ChannelSource{Kind::Directory, QStringLiteral("countrycode=KR")});
    settings.SetDirectoryServer(directory.BaseUrl());
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(Category::Radio));
}

// The TV tab takes kList from this server.
void ServeTheListToTheTvTab(LoopbackHttpServer& server) {
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kList));
    SourceSettings().Set(Category::Tv,
                         ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
}

} // namespace

TEST(SourceTabs, TheRegionDialogPicksTheRegionsStationFromAPlaylist) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_NO_FATAL_FAILURE(ServeTheListToTheTvTab(server));

    Window w(server.BaseUrl());
    ASSERT_TRUE(WaitFor([&] { return w.dlg->ListModel()->rowCount() == 6; }));
    // No region chosen yet: every station, families in the tab's order.
    EXPECT_EQ(w.Names(),
              (QStringList{"MBC", "부산MBC", "Daegu MBC", "KBS 1TV", "SBS", "TBC 대구"}));

    bool asked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<CRegionDlg*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->CityCombo()->setCurrentText(QStringLiteral("대구"));
            dialog->Confirm();
        }
    });
    poll.start(20);
    w.dlg->Channels().OnListDoubleClick(2);
    poll.stop();
    EXPECT_TRUE(asked);
    EXPECT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("대구"));
    ASSERT_TRUE(WaitFor([&] { return w.Names().size() == 3; }));
    EXPECT_EQ(w.Names(), (QStringList{"Daegu MBC", "KBS 1TV", "TBC 대구"}));
    // The service was never asked for a TV catalogue.
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 0);
}

// The guide command (the list's menu, G) opens the chosen row's guide, asked
// for by the tab and the row's address; G typed into the find field is a letter.
TEST(SourceTabs, TheGuideKeyOpensTheChosenChannelsGuide) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_NO_FATAL_FAILURE(ServeTheListToTheTvTab(server));
    Window w(server.BaseUrl());
    ASSERT_TRUE(WaitFor([&] { return w.dlg->ListModel()->rowCount() == 6; }));
    QStringList asked;
    w.dlg->Channels().SetGuideAccess(
        {[&](Category category, const QString& key) -> const GuideData* {
             asked << QString::number(StoredNumberOf(category)) + ' ' + key;
             return nullptr;
         },
         {},
         {},
         {}});
    w.dlg->show();
    RunEventsFor(50);
    QStringList titles;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<CGuideDlg*>(QApplication::activeModalWidget())) {
            titles << dialog->windowTitle();
            EXPECT_TRUE(dialog->NoGuideLabel()->isVisible());
            dialog->reject();
        }
    });
    poll.start(20);
    w.dlg->ListView()->SelectListRow(3);
    QTest::keyClick(w.dlg->ListView(), Qt::Key_G);
    ASSERT_TRUE(WaitFor([&] { return !titles.isEmpty(); }));
    EXPECT_EQ(titles, QStringList{QStringLiteral("KBS 1TV 편성표")});
    EXPECT_EQ(asked, QStringList{QStringLiteral("1 http://127.0.0.1:9/kbs.m3u8")});

    w.dlg->Channels().OpenFindField();
    QTest::keyClick(w.dlg->ListView()->FindField(), Qt::Key_G);
    RunEventsFor(200);
    poll.stop();
    EXPECT_EQ(w.dlg->ListView()->FindField()->text(), QStringLiteral("g"));
    EXPECT_EQ(titles.size(), 1);
}

TEST(SourceTabs, WithoutAServiceTheHomePageAndWebTabsSayWhatIsMissing) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    SourceSettings settings;
    for (Category tab : kSourceTabs)
        settings.Set(tab, ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/x.m3u"))});

    Window w(server.BaseUrl());
    w.dlg->Commands().Run(MenuCommand::HomePage);
    EXPECT_TRUE(w.opened.isEmpty());
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(QStringLiteral("서비스 주소")));
    EXPECT_TRUE(ServicePages::PageAddress(settings, server.Url(QStringLiteral("/zenith/a.html")),
                                          server.BaseUrl())
                    .isEmpty());

    // One tab back on a service of its own: pages follow that address.
    settings.Set(Category::Game,
                 ChannelSource{Kind::Service, QStringLiteral("http://127.0.0.1:7/")});
    EXPECT_EQ(ServicePages::PageAddress(settings, server.Url(QStringLiteral("/zenith/a.html")),
                                        server.BaseUrl()),
              QStringLiteral("http://127.0.0.1:7/zenith/a.html"));
    w.messages.clear();
    w.dlg->Commands().Run(MenuCommand::HomePage);
    EXPECT_TRUE(w.messages.isEmpty());
    ASSERT_EQ(w.opened.size(), 1);
    EXPECT_EQ(w.opened[0], QUrl(QStringLiteral("http://127.0.0.1:7")));
}

// The settings dialog's channel-list page: each tab's choice is kept while
// the user goes from tab to tab, and OK stores all of it or, when a tab fails
// its checks, nothing at all (not even the other pages' options) and shows
// that tab with the message.
TEST(SourceTabs, TheChannelListPageStoresEveryTabOnOkOrNothing) {
    ScopedXdgHome home;
    const SourceDefaults defaults = SourceSettings().Defaults();
    const QString machineIni = home.configHome() + QStringLiteral("/waveorbit/machine.ini");
    QStringList messages;
    int changes = 0;
    auto open = [&](CSettingsDlg& dialog) {
        dialog.SetMessageHandler([&](const QString& text) { messages << text; });
        QObject::connect(&dialog, &CSettingsDlg::sourcesChanged, [&] { ++changes; });
        dialog.SelectPage(4);
        return dialog.Sources();
    };
    {
        CSettingsDlg dialog;
        CSourcesPage* page = open(dialog);
        EXPECT_EQ(page->ShownTab(), Category::Tv);
        page->KindBox()->setCurrentIndex(1); // playlist
        page->AddressEdit()->setText(QStringLiteral("/nowhere/list.m3u"));
        page->ShowTab(Category::Radio);
        page->KindBox()->setCurrentIndex(2); // directory
        page->AddressEdit()->setText(QStringLiteral("countrycode=KR"));
        page->ShowTab(Category::Tv);
        EXPECT_EQ(page->KindBox()->currentIndex(), 1);
        EXPECT_EQ(page->AddressEdit()->text(), QStringLiteral("/nowhere/list.m3u"));

        page->ShowTab(Category::Music);
        dialog.SelectPage(2);
        dialog.OnOk();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("TV: "))) << messages[0].toStdString();
        EXPECT_EQ(dialog.Page(), 4);
        EXPECT_EQ(page->ShownTab(), Category::Tv);
        EXPECT_FALSE(QFile::exists(machineIni)); // no option written either

        const QString empty = home.root() + QStringLiteral("/empty.m3u");
        WriteBytes(empty, "#EXTM3U\n");
        page->AddressEdit()->setText(empty);
        dialog.OnOk();
        EXPECT_TRUE(messages.last().contains(QStringLiteral("채널")));
        EXPECT_EQ(SourceSettings().Choice(), defaults.Choice());

        page->AddressEdit()->setText(QStringLiteral("http://127.0.0.1:1/kr.m3u"));
        dialog.OnOk();
        EXPECT_EQ(messages.size(), 2);
        EXPECT_EQ(changes, 1);
    }
    const SourceSettings stored;
    EXPECT_EQ(stored.Of(Category::Tv).ToText(),
              QStringLiteral("playlist http://127.0.0.1:1/kr.m3u"));
    EXPECT_EQ(stored.Of(Category::Radio).ToText(), QStringLiteral("directory countrycode=KR"));
    EXPECT_EQ(stored.Of(Category::World), defaults.Of(Category::World));
    {
        // Shown as stored; OK without a change stores nothing and reloads nothing.
        CSettingsDlg dialog;
        CSourcesPage* page = open(dialog);
        EXPECT_EQ(page->AddressEdit()->text(), QStringLiteral("http://127.0.0.1:1/kr.m3u"));
        const QByteArray before = ReadBytes(machineIni);
        dialog.OnOk();
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(Settings::ReadText(Settings::SourceTv),
                  QStringLiteral("playlist http://127.0.0.1:1/kr.m3u"));
        EXPECT_EQ(ReadBytes(machineIni), before);
    }
    {
        // The defaults come back with the button, and are stored by OK.
        CSettingsDlg dialog;
        CSourcesPage* page = open(dialog);
        page->DefaultsButton()->click();
        EXPECT_EQ(page->AddressEdit()->text(), defaults.Of(Category::Tv).address);
        dialog.OnOk();
        EXPECT_EQ(changes, 2);
    }
    EXPECT_EQ(SourceSettings().Choice(), defaults.Choice());
    EXPECT_EQ(Settings::ReadText(Settings::SourceTv), QString());
}

TEST(SourceTabs, TheUpdateCommandTellsTheSourcesOutcomeInTheCataloguesTerms) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kList));
    server.SetRoute(QStringLiteral("/kor.m3u"), HttpResponse::Ok(kList));
    // No tab uses the service: its version list is never asked for.
    SourceSettings settings;
    settings.Set(Category::Tv,
                 ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
    for (Category tab : kSourceTabs)
        if (tab != Category::Tv)
            settings.Set(tab,
                         ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kor.m3u"))});

    Window w(server.BaseUrl());
    ASSERT_TRUE(WaitFor([&] { return w.dlg->ListModel()->rowCount() == 6; }));
    const auto update = [&] {
        w.messages.clear();
        w.dlg->Channels().RunUpdateCommand();
        EXPECT_TRUE(WaitFor([&] { return !w.messages.isEmpty(); }));
        return w.messages.value(0);
    };

    // The tabs not opened yet had nothing kept: their lists are new.
    EXPECT_EQ(update(), QStringLiteral("최신버전으로 업데이트 되었습니다."));
    // Every list arrived as it was kept: nothing new.
    EXPECT_EQ(update(), QStringLiteral("현재 버전이 최신버전입니다."));

    // One list changed, one did not arrive: partly updated, the failed tab's
    // list kept byte for byte.
    server.SetRoute(QStringLiteral("/kr.m3u"),
                    HttpResponse::Ok(kList + "#EXTINF:-1,New\nhttp://127.0.0.1:9/n\n"));
    server.SetRoute(QStringLiteral("/kor.m3u"), HttpResponse::Status(500));
    const QByteArray kept =
        ReadBytes(w.dlg->Channels().Catalogue().Sources().KeptPath(Category::World));
    EXPECT_EQ(update(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::PartlyUpdated));
    EXPECT_EQ(ReadBytes(w.dlg->Channels().Catalogue().Sources().KeptPath(Category::World)), kept);

    // Nothing arrived at all.
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Status(404));
    EXPECT_EQ(update(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::NotUpdated));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 0);
}

TEST(SourceTabs, TheUpdateCommandWeighsTheServiceTabsCataloguesWithTheSources) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kList));
    // The other tabs use the service, whose version list does not arrive.
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Status(404));
    SourceSettings settings;
    settings.Set(Category::Tv,
                 ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});

    Window w(server.BaseUrl());
    ASSERT_TRUE(WaitFor([&] { return w.dlg->ListModel()->rowCount() == 6; }));
    server.SetRoute(QStringLiteral("/kr.m3u"),
                    HttpResponse::Ok(kList + "#EXTINF:-1,New\nhttp://127.0.0.1:9/n\n"));
    w.messages.clear();
    w.dlg->Channels().RunUpdateCommand();
    ASSERT_TRUE(WaitFor([&] { return !w.messages.isEmpty(); }));
    // The playlist was replaced, the service's catalogues could not be
    // checked: neither "latest version" nor a plain "updated".
    EXPECT_EQ(w.messages.first(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::PartlyUpdated));
    EXPECT_GE(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
}

// The update command on the real window, with a playlist tab, a directory tab
// and service tabs, its outcome shown in a real message box that the user
// answers while the window goes on working: the box comes once, and nothing
// that finishes meanwhile runs a half-finished update again.
TEST(SourceTabs, TheUpdateCommandsMessageBoxRunsItsOwnLoopSafely) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kList));
    server.SetRoute(QStringLiteral("/json/stations/search"),
                    HttpResponse::Ok(R"([{"stationuuid":"st-1","name":"부산 교통방송",)"
                                     R"("url_resolved":"http://127.0.0.1:9/a.mp3",)"
                                     R"("state":"Busan","lastcheckok":1}])"));
    SourceSettings settings;
    settings.SetDirectoryServer(server.BaseUrl());
    settings.Set(Category::Tv,
                 ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
    settings.Set(Category::World,
                 ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
    settings.Set(Category::Radio, ChannelSource{Kind::Directory, QStringLiteral("countrycode=KR")});

    auto dlg = std::make_unique<CPlayerDlg>();
    dlg->Channels().Catalogue().SetServiceBaseAddress(server.BaseUrl());
    dlg->DesktopLauncher() = (Launcher({[](const QUrl&) { return true; },
                                        [](const QString&, const QStringList&) { return true; }}));
    dlg->OnInitDialog();
    dlg->show();
    ASSERT_TRUE(WaitFor([&] { return dlg->ListModel()->rowCount() == 6; }));

    for (int round = 0; round < 2; ++round) {
        QStringList shown;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown << box->text();
            // The window keeps working under the box: the user opens tabs.
            RunEventsFor(300);
            box->done(QMessageBox::Ok);
        });
        answer.start(20);
        dlg->Channels().RunUpdateCommand();
        EXPECT_TRUE(WaitFor([&] { return !shown.isEmpty(); }, 15000));
        RunEventsFor(500);
        answer.stop();
        ASSERT_EQ(shown.size(), 1) << shown.join(QStringLiteral(" / ")).toStdString();
    }
    // Each round asked the directory too.
    const QStringList asked = server.RequestedTargets();
    EXPECT_EQ(asked.filter(QStringLiteral("/json/stations/search?")).size(), 2)
        << asked.join(QStringLiteral(" ")).toStdString();
}

TEST(SourceTabs, ADirectoryStationDoubleClickedInTheListIsCountedOncePerPlay) {
    ScopedXdgHome home;
    LoopbackHttpServer directory;
    ASSERT_TRUE(directory.Listen());
    const QByteArray stations =
        R"([{"stationuuid":"st-1","name":"KBS 클래식FM","url_resolved":"http://127.0.0.1:9/kbs.mp3"},
            {"stationuuid":"st-2","name":"극동방송","url_resolved":"http://127.0.0.1:9/febc.mp3"}])";
    directory.SetRoute(QStringLiteral("/json/stations/search"),
                       HttpResponse::Ok(stations, "application/json"));
    directory.SetFallback([](const demo::HttpRequest&) { return HttpResponse::Ok("{}"); });
    StartOnTheRadioTabOf(directory);

    Window w(QStringLiteral("http://127.0.0.1:1"));
    w.dlg->show();
    ASSERT_TRUE(WaitFor([&] { return w.Names().contains(QStringLiteral("KBS 클래식FM")); }));
    const int row = static_cast<int>(w.Names().indexOf(QStringLiteral("KBS 클래식FM")));
    const auto counted = [&] { return directory.RequestCount(QStringLiteral("/json/url/st-1")); };

    w.player->current = PlayerStatus::Playing();
    w.DoubleClickRow(row);
    ASSERT_EQ(w.player->urls, QStringList{QStringLiteral("http://127.0.0.1:9/kbs.mp3")});
    ASSERT_TRUE(WaitFor([&] { return counted() == 1; }));
    ASSERT_TRUE(WaitFor([&] { return w.dlg->Session().IsPlaying(); }));

    // The broadcast breaks off and is connected again: the same play.
    w.player->current = PlayerStatus::Idle();
    ASSERT_TRUE(WaitFor([&] { return w.player->urls.size() == 2; }));
    RunEventsFor(300);
    EXPECT_EQ(counted(), 1);

    // Playing it again is a new play; no other station was counted.
    w.DoubleClickRow(row);
    EXPECT_TRUE(WaitFor([&] { return counted() == 2; }));
    EXPECT_EQ(directory.RequestCount(QStringLiteral("/json/url/st-2")), 0);
}

// The find field of a directory tab searches the directory by name; the
// answer stands in the list until the field closes, and typed keys decide.
TEST(SourceTabs, TheFindFieldSearchesTheDirectoryAndClosingBringsTheTabBack) {
    ScopedXdgHome home;
    LoopbackHttpServer directory;
    ASSERT_TRUE(directory.Listen());
    QStringList queries;
    directory.SetHandler(QStringLiteral("/json/stations/search"), [&queries](
                                                                      const demo::HttpRequest&
                                                                          request) {
        queries << QUrlQuery(request.query())
                       .queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded);
        const QByteArray found =
            queries.last().isEmpty()
                ? R"([{"stationuuid":"a","name":"KBS 클래식FM","url_resolved":"http://127.0.0.1:9/a.mp3"}])"
                : R"([{"stationuuid":"b","name":"Jazz 국악","url_resolved":"http://127.0.0.1:9/b.mp3"},
                                          {"stationuuid":"c","name":"국악 Jazz","url_resolved":"http://127.0.0.1:9/c.mp3"}])";
        return HttpResponse::Ok(found, "application/json");
    });
    StartOnTheRadioTabOf(directory);

    Window w(QStringLiteral("http://127.0.0.1:1"));
    w.dlg->show();
    ASSERT_TRUE(WaitFor([&] { return w.Names() == QStringList{QStringLiteral("KBS 클래식FM")}; }));
    CChannelListView* list = w.dlg->ListView();
    list->OpenFind();
    ASSERT_TRUE(list->DirectoryButton()->isVisible());
    QTest::keyClicks(list->FindField(), QStringLiteral("jazz"));
    QTest::keyClick(list->FindField(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&] { return w.Names().size() == 2; }))
        << queries.join(QLatin1Char('|')).toStdString() << " "
        << list->DirectoryButton()->text().toStdString();
    EXPECT_EQ(queries.last(), QStringLiteral("jazz"));
    EXPECT_EQ(list->DirectoryButton()->text(), QStringLiteral("디렉터리: 2개"));

    list->CloseFind();
    ASSERT_TRUE(WaitFor([&] { return w.Names() == QStringList{QStringLiteral("KBS 클래식FM")}; }));
    // A playlist or service tab has no directory to ask.
    w.dlg->Channels().OpenCategoryTab(Category::Tv);
    list->OpenFind();
    EXPECT_FALSE(list->DirectoryButton()->isVisible());
}
