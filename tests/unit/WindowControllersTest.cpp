#include "app/PlayerSession.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/UpdateOutcome.h"
#include "mainwindow/KeyCommands.h"
#include "mainwindow/LayoutPass.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/WindowGeometry.h"
#include "userchannels/UserChannelCommands.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "RecordNames.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

ChannelRecord Record(const QString& name) {
    ChannelRecord r;
    r.fields = {QStringLiteral("일반등록"),
                name,
                QStringLiteral("정보"),
                QStringLiteral("연결대기"),
                QStringLiteral("http://127.0.0.1:1/") + name,
                QStringLiteral("N"),
                QStringLiteral("http://127.0.0.1:8730")};
    return r;
}

} // namespace

TEST(WindowGeometry, MaximiseFullScreenAndTheListPanel) {
    ScopedXdgHome home;
    PlayerSession session;
    session.SetListPanelOpen(true);
    WindowGeometry geometry(session);
    const QRect normal(40, 30, 836, 354);
    const QRect workArea(0, 0, 1280, 760);

    // Maximise and back to where the window was.
    EXPECT_EQ(geometry.ToggleMaximise(normal, workArea), workArea);
    EXPECT_TRUE(session.IsMaximised());
    EXPECT_FALSE(geometry.MayToggleListPanel());
    EXPECT_EQ(geometry.ToggleMaximise(workArea, workArea), normal);
    EXPECT_FALSE(session.IsMaximised());

    // Full screen stores the frame it comes back to; maximise does nothing there.
    geometry.EnterFullScreen(QRect(50, 60, 900, 400));
    EXPECT_TRUE(session.IsFullScreen());
    EXPECT_FALSE(geometry.ToggleMaximise(normal, workArea).has_value());
    EXPECT_FALSE(geometry.MayToggleListPanel());
    geometry.LeaveFullScreen();
    EXPECT_FALSE(session.IsFullScreen());
    EXPECT_EQ(geometry.ReadSavedWindow(), QRect(50, 60, 900, 400));
    EXPECT_EQ(Settings::ReadNumber(Settings::MainWidth), 900);

    // The panel moves the right edge only, by its width each way.
    ASSERT_TRUE(geometry.MayToggleListPanel());
    const QRect closed = geometry.ToggleListPanel(normal);
    EXPECT_FALSE(session.IsListPanelOpen());
    EXPECT_EQ(closed, QRect(40, 30, 836 - kListPanelWidth, 354));
    EXPECT_EQ(geometry.ToggleListPanel(closed), normal);
    EXPECT_TRUE(session.IsListPanelOpen());
}

TEST(WindowGeometry, FullScreenReturnsToWhereItWasEnteredFrom) {
    ScopedXdgHome home;
    PlayerSession session;
    WindowGeometry geometry(session);
    geometry.EnterFullScreen(QRect(50, 60, 900, 400));
    // What the store says meanwhile (another writer, or none at all when the
    // folder cannot be written) does not move the window elsewhere.
    Settings::WriteNumber(Settings::MainX, 700);
    geometry.ReadSavedWindow();
    geometry.LeaveFullScreen();
    EXPECT_EQ(geometry.TakeFullScreenReturn(), QRect(50, 60, 900, 400));
    // Taken once: the next return is the stored rectangle again.
    EXPECT_EQ(geometry.TakeFullScreenReturn(), QRect(700, 60, 900, 400));
}

TEST(MainButtons, ButtonsAfterFullScreenFollowThePanelAndTheTab) {
    auto has = [](const std::vector<ControlId>& ids, ControlId id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    const std::vector<ControlId> closed = ButtonsAfterFullScreen(false, MainTab::Channels);
    EXPECT_TRUE(has(closed, ControlId::Close));
    EXPECT_TRUE(has(closed, ControlId::Mute));
    EXPECT_FALSE(has(closed, ControlId::TabChannels));
    EXPECT_FALSE(has(closed, ControlId::CategoryTv));

    const std::vector<ControlId> music = ButtonsAfterFullScreen(true, MainTab::Music);
    for (ControlId id : {ControlId::TabChannels, ControlId::TabMusic, ControlId::TabMovie,
                         ControlId::TabHome, ControlId::MusicSubTab1, ControlId::MusicSubTab4})
        EXPECT_TRUE(has(music, id)) << ControlNumber(id);
    EXPECT_FALSE(has(music, ControlId::CategoryTv));
    EXPECT_FALSE(has(music, ControlId::MovieSubTab1));
    EXPECT_EQ(ListToggleLook(true).normal, PictureId::ListToggleOpen);
    EXPECT_EQ(ListToggleLook(false).hovered, PictureId::ListToggleClosedHover);
}

TEST(KeyCommands, KeysRunTheirMenuCommands) {
    ASSERT_NE(KeyCommandFor(Qt::Key_F8), nullptr);
    EXPECT_EQ(KeyCommandFor(Qt::Key_F8)->command, MenuCommand::ListPanel);
    // Only the volume repeats while a key is held; Ctrl+U alone opens an address.
    EXPECT_TRUE(KeyCommandFor(Qt::Key_Up)->repeats);
    EXPECT_FALSE(KeyCommandFor(Qt::Key_Space)->repeats);
    EXPECT_TRUE(KeyCommandFor(Qt::Key_U)->needsControl);
    EXPECT_EQ(KeyCommandFor(Qt::Key_Escape), nullptr); // handled by the window itself
    EXPECT_EQ(KeyCommandFor(Qt::Key_A), nullptr);
}

class UserChannelCommandsTest : public ::testing::Test {
protected:
    using Outcome = UserChannelCommands::Outcome;
    QTemporaryDir dir;
    PlayerSession session;
    ChannelListModel list;
    UserChannelCommands commands{session, list, [this] { return dir.path(); }};

    std::vector<ChannelRecord> Stored() const { return CUserChannelFile(dir.path()).Load(); }
    void ShowUserTab() {
        session.SetCategory(Category::User);
        list.Clear();
        list.InsertEachAtTop(Stored());
    }
};

TEST_F(UserChannelCommandsTest, CopyingACatalogueRowAppendsIt) {
    session.SetCategory(Category::Tv);
    list.AppendRows({Record(QStringLiteral("하나")), Record(QStringLiteral("둘"))});
    // No chosen row: nothing to copy, and the user is told.
    EXPECT_EQ(commands.CopyClickedRow(), Outcome::NoRow);
    EXPECT_TRUE(Stored().empty());
    session.SetCurrentRow(1);
    EXPECT_EQ(commands.CopyClickedRow(), Outcome::Done);
    EXPECT_EQ(Names(Stored()), QStringList{QStringLiteral("둘")});
    // On the user tab a copy would only duplicate the user's own row.
    ShowUserTab();
    session.SetCurrentRow(0);
    EXPECT_EQ(commands.CopyClickedRow(), Outcome::Done);
    EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(UserChannelCommandsTest, DeletingKeepsFileListAndRowInStep) {
    ASSERT_TRUE(CUserChannelFile(dir.path())
                    .Rewrite({Record(QStringLiteral("A")), Record(QStringLiteral("B")),
                              Record(QStringLiteral("C"))}));
    // Another tab's list is never written back as the user's channels.
    session.SetCategory(Category::World);
    list.AppendRows({Record(QStringLiteral("X"))});
    session.SetCurrentRow(0);
    EXPECT_EQ(commands.DeleteClickedRow(), Outcome::Done);
    EXPECT_EQ(commands.DeleteAll(), Outcome::Done);
    EXPECT_EQ(Stored().size(), 3u);

    // The list shows the newest on top: row 0 is C.
    ShowUserTab();
    session.SetCurrentRow(0);
    EXPECT_EQ(commands.DeleteClickedRow(), Outcome::Done);
    EXPECT_EQ(Names(Stored()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(Names(list.Rows()), (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_EQ(session.CurrentRow(), -1);
    // With no row chosen nothing is deleted, and the file is left as it is.
    EXPECT_EQ(commands.DeleteClickedRow(), Outcome::NoRow);
    EXPECT_EQ(Stored().size(), 2u);

    // The export is in file order, as an import would add them again.
    const QByteArray playlist = commands.ExportedPlaylist();
    EXPECT_LT(playlist.indexOf("A"), playlist.indexOf("B"));

    EXPECT_EQ(commands.DeleteAll(), Outcome::Done);
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(list.rowCount(), 0);
}

TEST_F(UserChannelCommandsTest, AFailedWriteLeavesTheListAsItWas) {
    ASSERT_TRUE(CUserChannelFile(dir.path()).Rewrite({Record(QStringLiteral("A"))}));
    ShowUserTab();
    session.SetCurrentRow(0);
    // The folder becomes a file: user.dat can be neither rewritten nor removed.
    const QString blocked = dir.path() + QStringLiteral("/blocked");
    WriteBytes(blocked, "x");
    UserChannelCommands failing(session, list, [blocked] { return blocked; });
    EXPECT_EQ(failing.DeleteClickedRow(), Outcome::WriteFailed);
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(session.CurrentRow(), 0);
}

// Catalogue tabs over a data folder of their own, their service at an
// address where nothing listens unless a test gives its own server: every
// download there fails at once, quietly.
struct TabsUnderTest {
    explicit TabsUnderTest(const QString& folder,
                           const QString& service = QStringLiteral("http://127.0.0.1:1"))
        : tabs(session, list, downloads) {
        tabs.SetServiceBaseAddress(service);
        tabs.SetDataFolder(folder);
    }
    PlayerSession session;
    ChannelListModel list;
    DownloadQueue downloads;
    CatalogueTabs tabs;
};

TEST(CatalogueTabs, AMissingCatalogueIsFetchedOnceForEveryoneWaiting) {
    ScopedXdgHome home;
    QTemporaryDir data;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    const QByteArray game = "[GAME]\r\nCOUNT=1\r\n[GAME1]\r\nNAME=QUJD\r\n[DB]\r\nVER=2\r\n";
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"), demo::HttpResponse::Slow(game, 200));
    TabsUnderTest t(data.path(), server.BaseUrl());
    QList<bool> shown;
    QObject::connect(&t.tabs, &CatalogueTabs::downloadShown,
                     [&shown](bool active, qint64, qint64) { shown << active; });

    // A second opening while the catalogue downloads joins the download.
    int ran = 0;
    t.tabs.Open(Category::Game, [&ran] { ++ran; });
    EXPECT_EQ(shown.value(0), true);
    t.tabs.Open(Category::Game, [&ran] { ++ran; });
    ASSERT_TRUE(WaitFor([&] { return ran == 1 && t.list.rowCount() == 1; }));
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/game.ini")), 1);
    EXPECT_EQ(shown.last(), false);
    EXPECT_EQ(ReadBytes(QDir(data.path()).filePath(QStringLiteral("game.ini"))), game);

    // The update check's downloads are not the list's.
    shown.clear();
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    demo::HttpResponse::Ok("[GAME]\r\nVER=3\r\n"));
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"),
                    demo::HttpResponse::Ok("[GAME]\r\nCOUNT=1\r\n[GAME1]\r\nNAME=QUJD\r\n"
                                           "[DB]\r\nVER=3\r\n"));
    t.tabs.RunCatalogueUpdate();
    ASSERT_TRUE(WaitFor([&] {
        return server.RequestCount(QStringLiteral("/ver/live/file/game.ini")) == 2 &&
               t.downloads.IsIdle();
    }));
    EXPECT_TRUE(shown.isEmpty());

    // Opening a tab chooses its category at once, before any download ends.
    // What waits for a tab's list runs only if that tab is still the one
    // asked for last when the list arrives.
    bool radioListed = false;
    bool tvListed = false;
    t.tabs.Open(Category::Radio, [&] { radioListed = true; });
    EXPECT_EQ(t.session.Category(), Category::Radio);
    EXPECT_EQ(shown.value(0), true);
    t.tabs.Open(Category::Tv, [&] { tvListed = true; });
    ASSERT_TRUE(WaitFor([&] { return t.downloads.IsIdle() && tvListed; }));
    EXPECT_FALSE(radioListed);
    EXPECT_EQ(t.session.Category(), Category::Tv);
}

TEST(CatalogueTabs, ASourceTabShowsTheKeptListThenTheNewOneAndWhatWaitsRunsOnce) {
    ScopedXdgHome home;
    QTemporaryDir data;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/kr.m3u"),
                    demo::HttpResponse::Ok("#EXTM3U\n#EXTINF:-1,부산MBC\nhttp://127.0.0.1:9/a\n"
                                           "#EXTINF:-1,KBS 1TV\nhttp://127.0.0.1:9/b\n"
                                           "#EXTINF:-1,Daegu SBS\nhttp://127.0.0.1:9/c\n"));
    TabsUnderTest t(data.path());
    t.tabs.Sources().Settings().Set(
        Category::Tv,
        ChannelSource{ChannelSource::Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
    // A list kept from an earlier run: shown first, then replaced by the new one.
    QFile kept(t.tabs.Sources().KeptPath(Category::Tv));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("#EXTM3U\n#EXTINF:-1,KBS 1TV\nhttp://127.0.0.1:9/b\n");
    kept.close();

    int listed = 0;
    t.tabs.Open(Category::Tv, [&listed] { ++listed; });
    ASSERT_TRUE(WaitFor([&] { return t.list.rowCount() == 3; }));
    EXPECT_EQ(listed, 1);
    // The region dialog finds each family's rows in the source's list too.
    int rows = 0;
    for (const CatalogueFamilyBlock& block : t.tabs.FamilyBlocks()) {
        EXPECT_EQ(block.first, rows) << block.family.toStdString();
        rows += block.count;
    }
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(t.list.Row(0).name(), QStringLiteral("부산MBC"));
    // No catalogue was asked of the service for a tab on a playlist.
    EXPECT_TRUE(t.downloads.IsIdle());
}

// A regional name on a tab without broadcaster families (here the world
// tab's playlist) is asked its region like any other, then plays itself.
TEST(CatalogueTabs, ARegionalRowOfATabWithoutFamiliesPlaysItselfAfterTheQuestion) {
    ScopedXdgHome home;
    QTemporaryDir data;
    const QString playlist = data.filePath(QStringLiteral("world.m3u"));
    QFile file(playlist);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\n#EXTINF:-1,KBS 1TV\nhttp://127.0.0.1:9/b\n"
               "#EXTINF:-1,부산MBC\nhttp://127.0.0.1:9/a\n");
    file.close();
    TabsUnderTest t(data.path());
    t.tabs.Sources().Settings().Set(Category::World,
                                    ChannelSource{ChannelSource::Kind::Playlist, playlist});
    t.session.SetCategory(Category::World);
    t.tabs.Open(Category::World);
    ASSERT_TRUE(WaitFor([&] { return t.list.rowCount() == 2; }));
    int played = -1;
    t.tabs.ReopenForRegion(1, true, [&played](int row) { played = row; });
    EXPECT_EQ(played, 1);
}

TEST(CatalogueTabs, ATabWithoutItsListSaysWhyAndAsksAgain) {
    ScopedXdgHome home;
    QTemporaryDir data;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    TabsUnderTest t(data.path(), server.BaseUrl());
    t.tabs.SetRetryDelayMs(200);
    t.tabs.Sources().Settings().Set(
        Category::Tv,
        ChannelSource{ChannelSource::Kind::Playlist, server.Url(QStringLiteral("/kr.m3u"))});
    QStringList said;
    QObject::connect(&t.tabs, &CatalogueTabs::noticeShown,
                     [&said](const QString& text) { said << text; });
    const QString unreachable = CatalogueTabs::NoticeText(CatalogueTabs::Notice::Unreachable);
    const QString noChannel = CatalogueTabs::NoticeText(CatalogueTabs::Notice::NoChannel);
    std::vector<bool> line; // the download line, on and off
    QObject::connect(&t.tabs, &CatalogueTabs::downloadShown,
                     [&line](bool active, qint64, qint64) { line.push_back(active); });

    // Nothing kept and the list not there: what waits for it goes on. The
    // playlist's fetch shows in the download line while the list is empty.
    server.SetRoute(QStringLiteral("/kr.m3u"), demo::HttpResponse::Status(404));
    bool listed = false;
    t.tabs.Open(Category::Tv, [&listed] { listed = true; });
    ASSERT_TRUE(WaitFor([&] { return listed; }));
    EXPECT_EQ(said, QStringList{unreachable});
    ASSERT_FALSE(line.empty());
    EXPECT_TRUE(line.front());
    EXPECT_FALSE(line.back());
    EXPECT_TRUE(said.first().contains(QStringLiteral("\"업데이트\"")));

    // It asks again by itself: an answer without a channel is told apart,
    // and a whole list takes the notice's place.
    server.SetRoute(QStringLiteral("/kr.m3u"), demo::HttpResponse::Ok("#EXTM3U\n"));
    ASSERT_TRUE(WaitFor([&] { return said.size() == 2; }));
    EXPECT_EQ(said.last(), noChannel);
    server.SetRoute(QStringLiteral("/kr.m3u"),
                    demo::HttpResponse::Ok("#EXTM3U\n#EXTINF:-1,KBS 1TV\nhttp://127.0.0.1:9/b\n"));
    ASSERT_TRUE(WaitFor([&] { return t.list.rowCount() == 1; }));
    EXPECT_EQ(said.last(), QString());
    EXPECT_EQ(t.tabs.ShownNotice(), CatalogueTabs::Notice::None);
    // A refresh behind the list on screen does not show the line.
    line.clear();
    bool refreshed = false;
    t.tabs.Sources().RefreshTab(Category::Tv, [&refreshed](auto) { refreshed = true; });
    ASSERT_TRUE(WaitFor([&] { return refreshed; }));
    EXPECT_EQ(std::count(line.begin(), line.end(), true), 0);

    // A service tab whose catalogue does not come says so too; the update
    // command that brings it shows its rows at once.
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"), demo::HttpResponse::Status(500));
    t.tabs.SetRetryDelayMs(60 * 1000);
    t.tabs.Open(Category::Game);
    ASSERT_TRUE(
        WaitFor([&] { return t.tabs.ShownNotice() == CatalogueTabs::Notice::Unreachable; }));
    EXPECT_EQ(t.list.rowCount(), 0);
    server.SetRoute(QStringLiteral("/ver/live/file/game.ini"),
                    demo::HttpResponse::Ok("[GAME]\r\nCOUNT=1\r\n[GAME1]\r\nNAME=QUJD\r\n"
                                           "[DB]\r\nVER=2\r\n"));
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    demo::HttpResponse::Ok("[GAME]\r\nVER=2\r\n"));
    bool updated = false;
    t.tabs.RunUpdateCheck([&updated](const UpdateOutcome&) { updated = true; });
    ASSERT_TRUE(WaitFor([&] { return updated && t.list.rowCount() == 1; }));
    EXPECT_EQ(t.list.Row(0).name(), QStringLiteral("ABC"));
    EXPECT_EQ(t.tabs.ShownNotice(), CatalogueTabs::Notice::None);
}

// An answer without a channel, or no catalogue at all, never replaces the
// kept file (here one that holds none itself); the tab says the list is empty.
TEST(CatalogueTabs, AFetchedCatalogueWithoutAChannelIsNotKept) {
    ScopedXdgHome home;
    QTemporaryDir data;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    TabsUnderTest t(data.path(), server.BaseUrl());
    const QString kept = QDir(data.path()).filePath(QStringLiteral("game.ini"));
    const QByteArray old = "[GAME]\r\nCOUNT=1\r\n[DB]\r\nVER=1\r\n";
    WriteBytes(kept, old);
    const std::pair<const char*, demo::HttpResponse> answers[] = {
        {"no channel", demo::HttpResponse::Ok("[GAME]\r\nCOUNT=0\r\n[DB]\r\nVER=2\r\n")},
        {"no catalogue", demo::HttpResponse::Html("<html><body>maintenance</body></html>")},
    };
    for (const auto& [what, answer] : answers) {
        server.SetRoute(QStringLiteral("/ver/live/file/game.ini"), answer);
        bool listed = false;
        t.tabs.Open(Category::Game, [&listed] { listed = true; });
        ASSERT_TRUE(WaitFor([&] { return listed; })) << what;
        EXPECT_EQ(t.tabs.ShownNotice(), CatalogueTabs::Notice::NoChannel) << what;
        EXPECT_EQ(ReadBytes(kept), old) << what;
        EXPECT_FALSE(QFile::exists(kept + QStringLiteral(".new"))) << what;
    }
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/game.ini")), 2);
}

TEST(SessionSettings, OptionsAndTabsRoundTripThroughTheStore) {
    ScopedXdgHome home;
    Settings::WriteFlag(Settings::Magnet, true);
    Settings::WriteFlag(Settings::AutoHide, true);
    PlayerSession session;
    SessionSettings::ReadOptions(session);
    EXPECT_TRUE(session.IsOn(SessionOption::Magnet));
    EXPECT_TRUE(session.IsOn(SessionOption::AutoHide));
    EXPECT_FALSE(session.IsOn(SessionOption::OnTop));

    // A changed option is stored at once; starting with the desktop stores
    // the program, and stopping removes the entry.
    SessionSettings::StoreOptionChanges(session, QStringLiteral("/opt/waveorbit/bin/w"));
    session.Toggle(SessionOption::OnTop);
    EXPECT_TRUE(Settings::ReadFlag(Settings::OnTop));
    session.Toggle(SessionOption::StartWithSession);
    EXPECT_EQ(Settings::ReadText(Settings::StartWithSession),
              QStringLiteral("/opt/waveorbit/bin/w"));
    session.Toggle(SessionOption::StartWithSession);
    EXPECT_FALSE(Settings::ReadFlag(Settings::StartWithSession)); // the entry is gone

    session.SetMainTab(MainTab::Movie);
    session.SetCategory(Category::User);
    session.SetVolume(35);
    SessionSettings::WriteAtShutdown(session);
    EXPECT_EQ(Settings::ReadText(Settings::Menu), QStringLiteral("3"));
    EXPECT_EQ(CategoryFromStored(Settings::ReadNumber(Settings::SubMenu)), Category::User);
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("35"));
}
