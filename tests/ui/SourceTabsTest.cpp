#include "app/Launcher.h"
#include "app/SettingsTable.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/ChannelSources.h"
#include "catalogue/UpdateOutcome.h"
#include "dialogs/CSourcesDlg.h"
#include "mainwindow/CPlayerDlg.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

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

    explicit Window(const QString& serviceBase) {
        dlg = std::make_unique<CPlayerDlg>();
        dlg->SetServiceBaseAddress(serviceBase);
        dlg->SetMessageHandler([this](const QString& text) { messages << text; });
        dlg->ReplaceLauncher(Launcher({[this](const QUrl& url) {
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
};

} // namespace

TEST(SourceTabs, TheRegionDialogPicksTheRegionsStationFromAPlaylist) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"), HttpResponse::Ok(kList));
    SourceSettings().Set(Category::Tv,
                         ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});

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
    w.dlg->OnListDoubleClick(2);
    poll.stop();
    EXPECT_TRUE(asked);
    EXPECT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("대구"));
    ASSERT_TRUE(WaitFor([&] { return w.Names().size() == 3; }));
    EXPECT_EQ(w.Names(), (QStringList{"Daegu MBC", "KBS 1TV", "TBC 대구"}));
    // The service was never asked for a TV catalogue.
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 0);
}

TEST(SourceTabs, WithoutAServiceTheHomePageAndWebTabsSayWhatIsMissing) {
    ScopedXdgHome home;
    LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    SourceSettings settings;
    for (Category tab : kSourceTabs)
        settings.Set(tab, ChannelSource{Kind::Playlist, server.Url(QStringLiteral("/x.m3u"))});

    Window w(server.BaseUrl());
    w.dlg->OpenHomePage();
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
    w.dlg->OpenHomePage();
    EXPECT_TRUE(w.messages.isEmpty());
    ASSERT_EQ(w.opened.size(), 1);
    EXPECT_EQ(w.opened[0], QUrl(QStringLiteral("http://127.0.0.1:7")));
}

TEST(SourceTabs, TheSourcesDialogRefusesBadInputAndStoresGoodInput) {
    ScopedXdgHome home;
    const SourceDefaults defaults =
        SourceDefaults::Development(QStringLiteral("http://127.0.0.1:8730"));
    CSourcesDlg dialog{SourceSettings(defaults)};
    QStringList messages;
    dialog.SetMessageHandler([&](const QString& text) { messages << text; });

    dialog.KindBox(Category::Tv)->setCurrentIndex(1); // playlist
    dialog.AddressEdit(Category::Tv)->setText(QStringLiteral("/nowhere/list.m3u"));
    EXPECT_FALSE(dialog.Apply());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("TV: ")));
    EXPECT_EQ(SourceSettings(defaults).Of(Category::Tv),
              defaults.Of(Category::Tv)); // nothing stored

    const QString empty = home.root() + QStringLiteral("/empty.m3u");
    WriteBytes(empty, "#EXTM3U\n");
    dialog.AddressEdit(Category::Tv)->setText(empty);
    EXPECT_FALSE(dialog.Apply());
    EXPECT_TRUE(messages.last().contains(QStringLiteral("채널")));

    dialog.AddressEdit(Category::Tv)->setText(QStringLiteral("http://127.0.0.1:1/kr.m3u"));
    dialog.KindBox(Category::Radio)->setCurrentIndex(2); // directory
    dialog.AddressEdit(Category::Radio)->setText(QStringLiteral("countrycode=KR"));
    EXPECT_TRUE(dialog.Apply());
    const SourceSettings stored(defaults);
    EXPECT_EQ(stored.Of(Category::Tv).ToText(),
              QStringLiteral("playlist http://127.0.0.1:1/kr.m3u"));
    EXPECT_EQ(stored.Of(Category::Radio).ToText(), QStringLiteral("directory countrycode=KR"));
    EXPECT_EQ(stored.Of(Category::World), defaults.Of(Category::World));

    // The defaults come back with the button, and are stored by OK.
    dialog.ShowDefaults();
    EXPECT_TRUE(dialog.Apply());
    EXPECT_EQ(SourceSettings(defaults).Of(Category::Tv), defaults.Of(Category::Tv));
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
        w.dlg->RunUpdateCommand();
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
    const QByteArray kept = ReadBytes(w.dlg->Sources()->KeptPath(Category::World));
    EXPECT_EQ(update(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::PartlyUpdated));
    EXPECT_EQ(ReadBytes(w.dlg->Sources()->KeptPath(Category::World)), kept);

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
    w.dlg->RunUpdateCommand();
    ASSERT_TRUE(WaitFor([&] { return !w.messages.isEmpty(); }));
    // The playlist was replaced, the service's catalogues could not be
    // checked: neither "latest version" nor a plain "updated".
    EXPECT_EQ(w.messages.first(), UpdateOutcome::MessageFor(UpdateOutcome::Kind::PartlyUpdated));
    EXPECT_GE(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
}
