// The window and the desktop: what assistive tools see of it, the tray
// tooltip and media controllers following a broadcast, and the user's
// channels to and from M3U playlists.

#include "app/MprisService.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/SourceSettings.h"
#include "guide/GuideBook.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelGuide.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/DesktopLink.h"
#include "mainwindow/ListMenu.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WindowTray.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"

#include "TestFolders.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QSet>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class StandInPlayer : public PlayerWidget {
public:
    // Like the real player, each change of media is reported at once.
    void closeMedia() override { emit statusChanged(); }
    void setURL(const QString& address) override {
        urls.append(address);
        emit statusChanged();
    }
    PlayerStatus status() const override { return current; }
    PlayerEnd lastEnd() const override { return PlayerEnd::None; }
    void setVolume(int) override {}

    PlayerStatus current = PlayerStatus::Idle();
    QStringList urls;
};

// No session bus for these tests, whatever the shell had: the service is
// driven directly and must not join a real desktop's bus.
class NoSessionBus {
public:
    NoSessionBus()
        : address_(qgetenv("DBUS_SESSION_BUS_ADDRESS")), runtime_(qgetenv("XDG_RUNTIME_DIR")) {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~NoSessionBus() {
        if (!address_.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", address_);
        if (!runtime_.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime_);
    }

private:
    QByteArray address_;
    QByteArray runtime_;
};

struct Session {
    NoSessionBus noBus;
    ScopedXdgHome home;
    std::unique_ptr<CPlayerDlg> window;
    StandInPlayer* player = nullptr;
    QStringList messages;
};

ChannelRecord UserChannel(const QString& name, const QString& url) {
    return M3uPlaylist::ToUserRecord(M3uPlaylist::Entry{name, QString(), url},
                                     QStringLiteral("http://127.0.0.1:8730"));
}

// A started window on the user tab with these channels in user.dat.
std::unique_ptr<Session> OpenUserTab(const std::vector<ChannelRecord>& channels) {
    auto s = std::make_unique<Session>();
    if (!channels.empty()) {
        EXPECT_TRUE(CUserChannelFile(Paths::DataFolder()).AppendAll(channels));
    }
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
    s->window = std::make_unique<CPlayerDlg>();
    s->window->Channels().Catalogue().SetServiceBaseAddress(QStringLiteral("http://127.0.0.1:1"));
    s->player = new StandInPlayer;
    s->window->UsePlayer(s->player);
    Session* raw = s.get();
    s->window->Prompts().SetMessageHandler(
        [raw](const QString& text) { raw->messages.append(text); });
    s->window->Prompts().SetQuestionHandler([](const QString&, const QString&) { return false; });
    s->window->OnInitDialog();
    s->window->show();
    QApplication::processEvents();
    return s;
}

QStringList Names(const ChannelListModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.CellText(row, ChannelRecord::Name);
    return names;
}

void CollectAccessible(QAccessibleInterface* node, QHash<QObject*, QAccessibleInterface*>& found,
                       int depth = 0) {
    if (!node || depth > 32)
        return;
    if (QObject* object = node->object())
        found.insert(object, node);
    for (int i = 0; i < node->childCount(); ++i)
        CollectAccessible(node->child(i), found, depth + 1);
}

} // namespace

TEST(DesktopAccessibility, EveryButtonAndTheChannelListAreNamedInTheTree) {
    auto s =
        OpenUserTab({UserChannel(QStringLiteral("채널"), QStringLiteral("http://127.0.0.1/1"))});
    CPlayerDlg& window = *s->window;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(root, nullptr);
    QHash<QObject*, QAccessibleInterface*> tree;
    CollectAccessible(root, tree);

    const QList<CMinsButton*> buttons = window.findChildren<CMinsButton*>();
    ASSERT_EQ(buttons.size(), 28);
    QSet<QString> names;
    for (CMinsButton* button : buttons) {
        QAccessibleInterface* node = tree.value(button);
        ASSERT_NE(node, nullptr) << "not reachable: " << button->objectName().toStdString();
        EXPECT_EQ(node->role(), QAccessible::Button) << button->objectName().toStdString();
        const QString name = node->text(QAccessible::Name);
        EXPECT_FALSE(name.trimmed().isEmpty()) << button->objectName().toStdString();
        names.insert(name);
    }
    // Each says what it does; the two list toggles (bottom bar and panel)
    // do the same, yet each reads as itself.
    EXPECT_EQ(names.size(), buttons.size());

    QAccessibleInterface* list = tree.value(static_cast<QObject*>(window.ListView()));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->role() == QAccessible::Table || list->role() == QAccessible::List);
    EXPECT_FALSE(list->text(QAccessible::Name).isEmpty());
    // Its rows are there for a screen reader to read, a row as one sentence.
    ASSERT_NE(list->tableInterface(), nullptr);
    QAccessibleInterface* nameCell = list->tableInterface()->cellAt(0, ChannelRecord::Name);
    ASSERT_NE(nameCell, nullptr);
    EXPECT_EQ(nameCell->text(QAccessible::Name), QStringLiteral("채널, 연결대기"));
}

TEST(DesktopNowPlaying, TrayTipAndMediaControlsFollowTheBroadcast) {
    auto s = OpenUserTab(
        {UserChannel(QStringLiteral("라디오 하나"), QStringLiteral("http://127.0.0.1/r1"))});
    CPlayerDlg& window = *s->window;
    window.Desktop().Start(true);
    MprisService* mpris = window.Desktop().Mpris();
    ASSERT_NE(mpris, nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(mpris->IsRegistered()); // no bus: quietly without
    ASSERT_NE(window.Tray().Icon(), nullptr);
    EXPECT_EQ(window.Tray().Icon()->toolTip(), QStringLiteral("WAVEORBIT"));
    EXPECT_EQ(mpris->PlaybackStatus(), QStringLiteral("Stopped"));
    EXPECT_EQ(
        mpris->Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
        QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));

    QSignalSpy changes(mpris, &MprisService::playerPropertiesChanged);
    s->player->current = PlayerStatus::Playing();
    mpris->Play(); // the play command, queued
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 4000))
        << window.Session().StatusText().toStdString();
    EXPECT_EQ(s->player->urls, QStringList{QStringLiteral("http://127.0.0.1/r1")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return mpris->PlaybackStatus() == "Playing"; }, 2000));
    EXPECT_EQ(mpris->Metadata().value(QStringLiteral("xesam:title")).toString(),
              QStringLiteral("라디오 하나"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window.Tray().Icon()->toolTip() == QStringLiteral("WAVEORBIT\n라디오 하나"); },
        2000));

    // The radio's title as it changes.
    emit s->player->streamTitleChanged(QStringLiteral("가수 - 노래"));
    EXPECT_EQ(window.Tray().Icon()->toolTip(),
              QStringLiteral("WAVEORBIT\n라디오 하나\n가수 - 노래"));
    EXPECT_EQ(mpris->Metadata().value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("가수 - 노래")});
    // A tray icon made anew gets the tip too.
    window.Tray().Remove();
    window.Tray().Create();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return window.Tray().Icon()->toolTip() ==
                   QStringLiteral("WAVEORBIT\n라디오 하나\n가수 - 노래");
        },
        2000));
    bool sawStatus = false, sawTitle = false;
    for (const QList<QVariant>& change : changes) {
        const QVariantMap map = change.at(0).toMap();
        sawStatus |= map.value(QStringLiteral("PlaybackStatus")).toString() == "Playing";
        sawTitle |= map.value(QStringLiteral("Metadata")).toMap().contains("xesam:artist");
    }
    EXPECT_TRUE(sawStatus);
    EXPECT_TRUE(sawTitle);

    // Volume 0.5 goes through the volume keys: the caption line shows it.
    ASSERT_EQ(window.Session().Volume(), 100);
    mpris->SetVolume(0.5);
    EXPECT_EQ(window.Session().Volume(), 50);
    EXPECT_EQ(window.Session().CaptionText(), QStringLiteral("소리크기 : 50%"));
    EXPECT_DOUBLE_EQ(mpris->Volume(), 0.5);
    mpris->SetVolume(0.33); // the nearest step
    EXPECT_EQ(window.Session().Volume(), 35);
    mpris->SetVolume(7.0); // held to the range
    EXPECT_EQ(window.Session().Volume(), 100);

    mpris->Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Session().IsPlaying(); }, 2000));
    EXPECT_EQ(window.Session().StatusText(), QStringLiteral("현재 방송연결이 정지되었습니다."));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window.Tray().Icon()->toolTip() == "WAVEORBIT"; }, 2000));
    EXPECT_EQ(mpris->PlaybackStatus(), QStringLiteral("Stopped"));
    // A new broadcast starts without the old title.
    s->player->current = PlayerStatus::Idle();
    mpris->PlayPause(); // stopped: plays (queued)
    s->player->current = PlayerStatus::Opening();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s->player->urls.size() == 2; }, 2000));
    s->player->current = PlayerStatus::Playing();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 4000));
    EXPECT_TRUE(window.Session().CurrentNowPlaying().streamTitle.isEmpty());
}

// A TV tab on a playlist whose header names a guide: the programme on now is
// the caption's line, the list row's tooltip, the tray's line and the media
// controllers' title (the channel their artist), and goes with the stop.
TEST(DesktopNowPlaying, TheProgrammeOnNowIsTheTitleOfATvChannel) {
    NoSessionBus noBus;
    ScopedXdgHome home;
    QTemporaryDir dir;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    auto utc = [](qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc())
                   .toString(QStringLiteral("yyyyMMddHHmmss")) +
               QStringLiteral(" +0000");
    };
    const QString guidePath = dir.filePath(QStringLiteral("guide.xml"));
    WriteBytes(guidePath,
               QStringLiteral("<tv><channel id=\"KBS1.kr\"><display-name>KBS 1TV</display-name>"
                              "</channel><programme start=\"%1\" stop=\"%2\" channel=\"KBS1.kr\">"
                              "<title>뉴스9</title><desc>오늘의 뉴스</desc></programme>"
                              "<programme start=\"%2\" stop=\"%3\" channel=\"KBS1.kr\">"
                              "<title>드라마</title></programme></tv>")
                   .arg(utc(now - 600), utc(now + 3000), utc(now + 6600))
                   .toUtf8());
    const QString address = QStringLiteral("http://127.0.0.1:1/kbs.m3u8");
    const QString listPath = dir.filePath(QStringLiteral("kr.m3u"));
    WriteBytes(listPath, (QStringLiteral("#EXTM3U x-tvg-url=\"%1\"\n"
                                         "#EXTINF:-1 tvg-id=\"KBS1.kr\",KBS 1TV\n%2\n")
                              .arg(guidePath, address))
                             .toUtf8());
    SourceSettings().Set(Category::Tv, ChannelSource{ChannelSource::Kind::Playlist, listPath});
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QString::number(StoredNumberOf(Category::Tv)));

    CPlayerDlg window;
    window.Channels().Catalogue().SetServiceBaseAddress(QStringLiteral("http://127.0.0.1:1"));
    auto* player = new StandInPlayer;
    window.UsePlayer(player);
    window.Prompts().SetMessageHandler([](const QString&) {});
    window.Prompts().SetQuestionHandler([](const QString&, const QString&) { return false; });
    window.OnInitDialog();
    window.show();
    window.Desktop().Start(true);
    MprisService* mpris = window.Desktop().Mpris();
    ASSERT_NE(mpris, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ListModel()->rowCount() == 1; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Channels().Guide().Book().Find(Category::Tv, address) != nullptr; },
        10000));

    // The row's tooltip, as the view asks its model.
    const QString tip = window.ListView()
                            ->model()
                            ->data(window.ListView()->model()->index(0, 1), Qt::ToolTipRole)
                            .toString();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("지금 "))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral(" 뉴스9\n오늘의 뉴스\n다음 "))) << tip.toStdString();
    EXPECT_TRUE(tip.endsWith(QStringLiteral(" 드라마"))) << tip.toStdString();

    player->current = PlayerStatus::Playing();
    window.Playback()->Watch().PlayRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 4000));
    EXPECT_TRUE(window.Session().ShownCaption().startsWith(QStringLiteral("뉴스9  ")))
        << window.Session().ShownCaption().toStdString();
    EXPECT_EQ(mpris->Metadata().value(QStringLiteral("xesam:title")).toString(),
              QStringLiteral("뉴스9"));
    EXPECT_EQ(mpris->Metadata().value(QStringLiteral("xesam:artist")).toStringList(),
              QStringList{QStringLiteral("KBS 1TV")});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return window.Tray().Icon()->toolTip() == QStringLiteral("WAVEORBIT\nKBS 1TV\n뉴스9");
        },
        2000))
        << window.Tray().Icon()->toolTip().toStdString();

    window.Playback()->Watch().StopPlayback();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Session().IsPlaying(); }, 2000));
    EXPECT_EQ(window.Session().ShownCaption(), QString());
    EXPECT_EQ(mpris->Metadata().value(QStringLiteral("xesam:title")).toString(), QString());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window.Tray().Icon()->toolTip() == "WAVEORBIT"; }, 2000));
}

TEST(DesktopPlaylists, ImportAddsUserRowsAndExportReadsBackTheSame) {
    auto s = OpenUserTab({});
    CPlayerDlg& window = *s->window;
    QTemporaryDir dir;
    const QString playlist = dir.filePath(QStringLiteral("three.m3u"));
    WriteBytes(playlist, QStringLiteral("#EXTM3U\r\n"
                                        "#EXTINF:-1 group-title=\"뉴스\",Channel #1\r\n"
                                        "http://127.0.0.1:9/one\r\n"
                                        "#EXTINF:-1 group-title=\"라디오\",한국 라디오\r\n"
                                        "http://127.0.0.1:9/two.mp3\r\n"
                                        "http://127.0.0.1:9/three\r\n")
                             .toUtf8());
    QSignalSpy imported(&window.Desktop(), &DesktopLink::playlistImported);
    window.Desktop().ImportPlaylist(playlist);
    ASSERT_TRUE(imported.wait(10000));
    EXPECT_EQ(imported.at(0).at(0).toInt(), 3);
    const ChannelListModel& model = *window.ListModel();
    // The newest line on top, as the user tab always shows it.
    EXPECT_EQ(Names(model),
              (QStringList{QStringLiteral("http://127.0.0.1:9/three"),
                           QStringLiteral("한국 라디오"), QStringLiteral("Channel ＃1")}));
    const ChannelRecord first = model.Row(2);
    EXPECT_EQ(first.info(), QStringLiteral("뉴스"));
    EXPECT_EQ(first.connect(), QStringLiteral("연결대기"));
    EXPECT_EQ(first.url(), QStringLiteral("http://127.0.0.1:9/one"));
    EXPECT_EQ(first.website(), QStringLiteral("N"));
    EXPECT_EQ(CUserChannelFile(Paths::DataFolder()).Load().size(), 3u);
    const std::vector<ChannelRecord> before = model.Rows();

    const QString exported = dir.filePath(QStringLiteral("out.m3u8"));
    window.Desktop().ExportPlaylist(exported);
    EXPECT_TRUE(
        ReadBytes(exported).startsWith("#EXTM3U\n#EXTINF:-1 group-title=\"뉴스\",Channel ＃1\n"));
    window.Channels().DeleteAllUserChannels();
    ASSERT_EQ(model.rowCount(), 0);
    window.Desktop().ImportPlaylist(exported);
    ASSERT_TRUE(imported.wait(10000));
    EXPECT_EQ(model.Rows(), before);
    EXPECT_TRUE(s->messages.isEmpty());

    // A file without a channel says so and adds nothing.
    const QString empty = dir.filePath(QStringLiteral("empty.m3u"));
    WriteBytes(empty, "#EXTM3U\n# nothing here\n");
    window.Desktop().ImportPlaylist(empty);
    ASSERT_TRUE(imported.wait(10000));
    EXPECT_EQ(imported.last().at(0).toInt(), 0);
    EXPECT_EQ(s->messages.size(), 1);
    EXPECT_EQ(model.Rows(), before);

    // On a catalogue tab both commands do nothing.
    window.Channels().OpenCategoryTab(Category::Tv);
    window.Commands().Run(ListCommand::ImportPlaylist);
    EXPECT_FALSE(window.Desktop().Importing());
    EXPECT_EQ(CUserChannelFile(Paths::DataFolder()).Load().size(), 3u);
}

TEST(DesktopPlaylists, TenThousandEntriesImportWhileTheWindowAnswers) {
    auto s = OpenUserTab({});
    CPlayerDlg& window = *s->window;
    QTemporaryDir dir;
    QByteArray big = "#EXTM3U\n";
    for (int i = 0; i < 10000; ++i)
        big += QStringLiteral("#EXTINF:-1 group-title=\"그룹 %1\",채널 %2\nhttp://127.0.0.1:9/%2\n")
                   .arg(i % 10)
                   .arg(i)
                   .toUtf8();
    const QString playlist = dir.filePath(QStringLiteral("big.m3u"));
    WriteBytes(playlist, big);
    QSignalSpy imported(&window.Desktop(), &DesktopLink::playlistImported);
    window.Desktop().ImportPlaylist(playlist);
    // The command returns at once; the reading goes on beside the window.
    EXPECT_TRUE(window.Desktop().Importing() || imported.count() == 1);
    window.Desktop().ImportPlaylist(playlist); // a second import waits for none: refused
    ASSERT_TRUE(imported.count() == 1 || imported.wait(30000));
    EXPECT_EQ(imported.count(), 1);
    EXPECT_EQ(window.ListModel()->rowCount(), 10000);
    EXPECT_EQ(window.ListModel()->CellText(0, ChannelRecord::Name), QStringLiteral("채널 9999"));
    EXPECT_EQ(CUserChannelFile(Paths::DataFolder()).Load().size(), 10000u);
}
