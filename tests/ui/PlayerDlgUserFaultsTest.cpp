// The main window where users found it wrong: the region dialog's channel,
// a region nobody changed, an address broadcast's name, automatic play
// before the list has arrived, the window without a tray, keys typed into
// text fields, and full screen. A stand-in player; the demo catalogues.

#include "app/Paths.h"
#include "app/SettingsStore.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceSettings.h"
#include "demo/DemoCatalogues.h"
#include "demo/LoopbackHttpServer.h"
#include "dialogs/CSettingsDlg.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/SkinStrips.h"
#include "mainwindow/WebPanel.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStyle.h"
#include "mainwindow/WindowTray.h"
#include "playback/ConnectionWatch.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"

#include "EventLoopWait.h"
#include "RecordingPlayer.h"
#include "TestFolders.h"
#include "WidgetInput.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using FakePlayerWidget = RecordingPlayer<PlayerWidget>;

struct Started {
    std::unique_ptr<CPlayerDlg> window;
    FakePlayerWidget* player = nullptr; // owned by the window
    QStringList messages;
};

// A window on a category with the demo catalogues in its data folder (unless
// a service is given to fetch them from); before starts it runs first.
std::unique_ptr<Started> StartWindow(Category category,
                                     const std::function<void(CPlayerDlg&)>& before = {},
                                     const QString& service = QString()) {
    if (service.isEmpty()) {
        QString error;
        EXPECT_TRUE(demo::WriteDemoCatalogues(Paths::DataFolder(), {}, &error))
            << error.toStdString();
    }
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(category));
    auto s = std::make_unique<Started>();
    s->window = std::make_unique<CPlayerDlg>();
    s->window->Channels().Catalogue().SetServiceBaseAddress(
        service.isEmpty() ? QStringLiteral("http://127.0.0.1:1") : service);
    s->player = new FakePlayerWidget;
    s->window->UsePlayer(s->player);
    Started* raw = s.get();
    s->window->Prompts().SetMessageHandler([raw](const QString& text) { raw->messages << text; });
    s->window->Prompts().SetQuestionHandler([](const QString&, const QString&) { return false; });
    if (before)
        before(*s->window);
    s->window->OnInitDialog();
    s->window->show();
    Settle();
    return s;
}

int RowNamed(const CPlayerDlg& window, const QString& name) {
    const ChannelListModel* model = window.ListModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->Row(row).name() == name)
            return row;
    return -1;
}

QString UrlOf(const CPlayerDlg& window, const QString& name) {
    return window.ListModel()->Row(RowNamed(window, name)).url();
}

// Double-clicks a row; the region dialog that opens gets this place (or no
// selection for an empty text) and is confirmed. Returns once the tab's rows
// for the region are in and a channel of them has been started (false when
// none was).
bool DoubleClickAndChooseRegion(Started& s, int row, const QString& place) {
    CPlayerDlg& window = *s.window;
    const qsizetype played = s.player->urls.size();
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CRegionDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (place.isEmpty())
            dialog->VisibleCombo()->setCurrentIndex(-1);
        else
            dialog->VisibleCombo()->setCurrentText(place);
        answered = true;
        dialog->Confirm();
    });
    QTableView* view = window.ListView();
    const QRect cell = view->visualRect(window.ListView()->Filter()->index(row, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_TRUE(answered);
    return WaitFor([&] { return s.player->urls.size() > played; });
}

QImage Screen(CPlayerDlg& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Picture(PictureId id) {
    return QImage(SkinPath(id)).convertToFormat(QImage::Format_RGB32);
}

// A row that plays (not a web page, an address of its own).
int PlayableRow(const CPlayerDlg& window) {
    const ChannelListModel* model = window.ListModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (!model->Row(row).IsWebPage() && !model->Row(row).url().isEmpty())
            return row;
    return -1;
}

void PlayUntilPlaying(Started& s, int row) {
    s.window->Channels().OnListClick(row);
    s.window->Playback()->Watch().PlaySelected();
    s.player->current = PlayerStatus::Playing();
    ASSERT_TRUE(WaitFor([&] { return s.window->Session().IsPlaying(); }, 3000));
}

TEST(RegionDialogPlays, TheDoubleClickedBroadcasterForTheChosenRegion) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("부산"));
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;

    // SBS of 부산, then 강원: three MBC stations now stand before KBS, so the
    // old row index holds "KBS 2TV"; SBS's station for 강원 plays.
    const int sbs = RowNamed(window, QStringLiteral("SBS 부산 KNN"));
    ASSERT_GE(sbs, 0);
    ASSERT_TRUE(DoubleClickAndChooseRegion(*s, sbs, QStringLiteral("강원")));
    EXPECT_EQ(window.Session().ChannelName(), QStringLiteral("SBS 강원 G1"));
    ASSERT_FALSE(s->player->urls.isEmpty());
    EXPECT_EQ(s->player->urls.last(), UrlOf(window, QStringLiteral("SBS 강원 G1")));
    EXPECT_EQ(window.Session().CurrentRow(), RowNamed(window, QStringLiteral("SBS 강원 G1")));

    // MBC: 원주 under 강원 is the third MBC row; 대구 has one, and KBS 2TV
    // would be at that index now. 대구MBC plays.
    const int wonju = RowNamed(window, QStringLiteral("원주MBC"));
    ASSERT_EQ(wonju, 2);
    ASSERT_TRUE(DoubleClickAndChooseRegion(*s, wonju, QStringLiteral("대구")));
    EXPECT_EQ(window.Session().ChannelName(), QStringLiteral("대구MBC"));
    EXPECT_EQ(s->player->urls.last(), UrlOf(window, QStringLiteral("대구MBC")));

    // Now SBS of 대구, then 서울: SBS 서울 plays.
    const int daeguSbs = RowNamed(window, QStringLiteral("SBS 대구 TBC"));
    ASSERT_GE(daeguSbs, 0);
    ASSERT_TRUE(DoubleClickAndChooseRegion(*s, daeguSbs, QStringLiteral("서울")));
    EXPECT_EQ(window.Session().ChannelName(), QStringLiteral("SBS 서울"));
}

TEST(RegionDialogPlays, ConfirmedWithoutAPlaceKeepsRegionAndChannel) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("강원"));
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    // The MBC list has no 강원: the dialog opens without a selection.
    const int wonju = RowNamed(window, QStringLiteral("원주MBC"));
    ASSERT_GE(wonju, 0);
    ASSERT_TRUE(DoubleClickAndChooseRegion(*s, wonju, QString()));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("강원"));
    EXPECT_EQ(window.Session().ChannelName(), QStringLiteral("원주MBC"));
    EXPECT_EQ(RowNamed(window, QStringLiteral("MBC 서울")), -1);
}

TEST(SettingsOk, KeepsARegionTheUserDidNotChange) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("강원"));
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    {
        CSettingsDlg dialog(&window.Session(), &window);
        ASSERT_EQ(dialog.Region()->currentIndex(), -1);
        dialog.OnOk();
    }
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("강원"));
    window.Channels().OpenCategoryTab(Category::Tv);
    ASSERT_TRUE(WaitFor([&] { return window.ListModel()->rowCount() > 0; }));
    EXPECT_GE(RowNamed(window, QStringLiteral("SBS 강원 G1")), 0);
    EXPECT_EQ(RowNamed(window, QStringLiteral("부산MBC")), -1);

    // Never stored: the box shows the tabs' "자동", and OK leaves it so.
    Settings::Delete(Settings::LocationForDialog);
    {
        CSettingsDlg dialog(&window.Session(), &window);
        ASSERT_EQ(dialog.Region()->currentText(), QStringLiteral("자동"));
        dialog.OnOk();
    }
    EXPECT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("자동"));

    // A city the user picks is stored, and the tab filters with it.
    {
        CSettingsDlg dialog(&window.Session(), &window);
        PressKey(dialog.Region(), Qt::Key_End);
        ASSERT_EQ(dialog.Region()->currentText(), QStringLiteral("포항"));
        dialog.OnOk();
    }
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("포항"));
}

TEST(AddressBroadcast, IsTheUsersOwnAfterAChannelPlayed) {
    ScopedXdgHome home;
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    const int kbs2 = RowNamed(window, QStringLiteral("KBS 2TV"));
    ASSERT_GE(kbs2, 0);
    PlayUntilPlaying(*s, kbs2);
    ASSERT_TRUE(WaitFor(
        [&] { return window.ListModel()->CellText(kbs2, 3) == QStringLiteral("연결성공"); }, 3000));

    // The address connects, then fails: KBS 2TV's row is not touched.
    s->player->current = PlayerStatus::Opening();
    window.Playback()->Watch().PlayAddress(QStringLiteral("http://127.0.0.1:1/typed.m3u8"));
    RunEventsFor(1300);
    EXPECT_EQ(window.ListModel()->CellText(kbs2, 3), QStringLiteral("연결성공"));
    s->player->current = PlayerStatus::Idle();
    ASSERT_TRUE(WaitFor(
        [&] {
            return window.Session().StatusText() == QStringLiteral("방송연결이 실패 하였습니다.");
        },
        3000));
    EXPECT_EQ(window.ListModel()->CellText(kbs2, 3), QStringLiteral("연결성공"));

    // One that plays is named "사용자방송" on the clock line.
    s->player->current = PlayerStatus::Playing();
    window.Playback()->Watch().PlayAddress(QStringLiteral("http://127.0.0.1:1/typed.m3u8"));
    ASSERT_TRUE(WaitFor(
        [&] { return window.Session().StatusText().startsWith(QStringLiteral("사용자방송 : ")); },
        4000));
    EXPECT_EQ(window.ListModel()->CellText(kbs2, 3), QStringLiteral("연결성공"));
}

// Serves the TV catalogue slowly (about a second and a half on the way).
void ServeSlowTvCatalogue(demo::LoopbackHttpServer& server) {
    QTemporaryDir source;
    ASSERT_TRUE(source.isValid());
    QString error;
    ASSERT_TRUE(demo::WriteDemoCatalogues(source.path(), {}, &error)) << error.toStdString();
    const QByteArray tv = ReadBytes(QDir(source.path()).filePath(QStringLiteral("tv.ini")));
    ASSERT_FALSE(tv.isEmpty());
    ASSERT_TRUE(server.Listen());
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"),
                    demo::HttpResponse::Slow(tv, static_cast<int>(tv.size()) * 2 / 3 + 1));
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), demo::HttpResponse::Status(404));
}

TEST(AutoPlay, WaitsForTheRememberedTabsCatalogue) {
    ScopedXdgHome home;
    demo::LoopbackHttpServer server;
    ASSERT_NO_FATAL_FAILURE(ServeSlowTvCatalogue(server));

    Settings::WriteText(Settings::AutoPlay, QStringLiteral("1"));
    Settings::WriteNumber(Settings::IndexWritten, 1);
    auto s = StartWindow(Category::Tv, {}, server.BaseUrl());
    CPlayerDlg& window = *s->window;
    // Nothing to play yet, and nothing played.
    EXPECT_EQ(window.ListModel()->rowCount(), 0);
    EXPECT_TRUE(s->player->urls.isEmpty());

    s->player->current = PlayerStatus::Playing();
    ASSERT_TRUE(WaitFor([&] { return !s->player->urls.isEmpty(); }, 10000));
    ASSERT_GT(window.ListModel()->rowCount(), 1);
    EXPECT_EQ(s->player->urls.first(), window.ListModel()->Row(1).url());
    EXPECT_EQ(window.Session().ChannelName(), window.ListModel()->Row(1).name());
    ASSERT_TRUE(WaitFor([&] { return window.Session().IsPlaying(); }, 3000));
    EXPECT_NE(window.Session().StatusText(), QStringLiteral("방송연결이 실패 하였습니다."));
}

TEST(AutoPlay, AWindowClosedBeforeTheListArrivesPlaysNothing) {
    ScopedXdgHome home;
    demo::LoopbackHttpServer server;
    ASSERT_NO_FATAL_FAILURE(ServeSlowTvCatalogue(server));
    Settings::WriteText(Settings::AutoPlay, QStringLiteral("1"));
    Settings::WriteNumber(Settings::IndexWritten, 1);
    auto s = StartWindow(Category::Tv, {}, server.BaseUrl());
    s->player->current = PlayerStatus::Playing();
    s->window->close();

    // The list still arrives after the shutdown; nothing starts playing.
    ASSERT_TRUE(WaitFor([&] { return s->window->ListModel()->rowCount() > 1; }, 10000));
    Settle();
    EXPECT_TRUE(s->player->urls.isEmpty());
    EXPECT_FALSE(s->window->Session().IsPlaying());
}

TEST(AutoPlay, AnUnreachableSourceWithNothingKeptEndsInTheIdleFailure) {
    ScopedXdgHome home;
    // A playlist on a loopback port nobody listens on any more.
    QString address;
    {
        demo::LoopbackHttpServer closed;
        ASSERT_TRUE(closed.Listen());
        address = closed.Url(QStringLiteral("/kr.m3u"));
    }
    SourceSettings().Set(Category::Tv, ChannelSource{ChannelSource::Kind::Playlist, address});
    Settings::WriteText(Settings::AutoPlay, QStringLiteral("1"));
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;

    // The fetch fails, the list stays empty and says so, and the automatic
    // play ends as a play of an empty row does, within the watch's limit.
    ASSERT_TRUE(WaitFor(
        [&] {
            return window.Session().StatusText() == QStringLiteral("방송연결이 실패 하였습니다.");
        },
        ConnectionWatch::kTimeoutTicks * 1000));
    EXPECT_EQ(s->player->urls, QStringList{QString()});
    EXPECT_EQ(window.ListModel()->rowCount(), 0);
    EXPECT_EQ(window.ListView()->Notice(),
              CatalogueTabs::NoticeText(CatalogueTabs::Notice::Unreachable));
    // The line is drawn in the list's place: gold text on the black list
    // (its edges blended into the black).
    const QImage list = window.ListView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int gold = 0;
    for (int y = 0; y < list.height(); ++y) {
        for (int x = 0; x < list.width(); ++x) {
            const QRgb p = list.pixel(x, y);
            gold += qRed(p) > 160 && qGreen(p) > 110 && qBlue(p) < qRed(p) / 2;
        }
    }
    EXPECT_GT(gold, 200);
    EXPECT_TRUE(s->messages.isEmpty());
}

TEST(TrayStyle, TheWindowStaysReachableWithoutATray) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::Tray, QStringLiteral("1"));
    bool trayHost = false;
    auto s = StartWindow(Category::Tv,
                         [&](CPlayerDlg& w) { w.Tray().SetHostProbe([&] { return trayHost; }); });
    CPlayerDlg& window = *s->window;
    // The option is kept, but with no tray the taskbar button stays.
    EXPECT_TRUE(window.Session().IsOn(SessionOption::TrayStyle));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));
    window.Commands().Run(ControlId::Minimise);
    Settle();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(window.isVisible());
    window.Style().ShowFromTray();
    Settle();

    // With a tray the window is a tool window; when the tray goes, the
    // minimise button brings the taskbar button back first.
    ScopedXdgHome again;
    Settings::WriteText(Settings::Tray, QStringLiteral("1"));
    trayHost = true;
    auto t = StartWindow(Category::Tv,
                         [&](CPlayerDlg& w) { w.Tray().SetHostProbe([&] { return trayHost; }); });
    EXPECT_TRUE(t->window->windowFlags().testFlag(Qt::Tool));
    trayHost = false;
    t->window->Commands().Run(ControlId::Minimise);
    Settle();
    EXPECT_FALSE(t->window->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(t->window->isMinimized());

    // With the option off (the default) no start asks for a tray.
    ScopedXdgHome plain;
    int asked = 0;
    auto u = StartWindow(Category::Tv, [&](CPlayerDlg& w) {
        w.Tray().SetHostProbe([&] {
            ++asked;
            return true;
        });
    });
    EXPECT_FALSE(u->window->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(asked, 0);
}

TEST(TextFieldKeys, ReachTheFieldAndTheWindowKeysWorkElsewhere) {
    ScopedXdgHome home;
    QPlainTextEdit* pageField = nullptr;
    auto s = StartWindow(Category::Tv, [&](CPlayerDlg& w) {
        w.Tabs().Web().SetFactory([&](QWidget* parent) {
            auto* page = new QWidget(parent);
            auto* layout = new QVBoxLayout(page);
            pageField = new QPlainTextEdit(page);
            layout->addWidget(pageField);
            return page;
        });
    });
    CPlayerDlg& window = *s->window;
    window.Tabs().OnTabButton(MainTab::Music);
    Settle();
    ASSERT_NE(pageField, nullptr);
    // A text area of the page, its cursor on the last of three lines.
    pageField->setPlainText(QStringLiteral("a\nb\n"));
    pageField->moveCursor(QTextCursor::End);
    const bool onTop = window.Session().IsOn(SessionOption::OnTop);
    const bool muted = window.Session().IsMuted();
    const int volume = window.Session().Volume();
    for (int key : {Qt::Key_T, Qt::Key_M, Qt::Key_Space, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(pageField, static_cast<Qt::Key>(key));
    const QString typed = pageField->toPlainText();
    EXPECT_EQ(typed.count(QLatin1Char('t')), 1) << typed.toStdString();
    EXPECT_EQ(typed.count(QLatin1Char('m')), 1) << typed.toStdString();
    EXPECT_EQ(typed.count(QLatin1Char(' ')), 1) << typed.toStdString();
    EXPECT_EQ(window.Session().IsOn(SessionOption::OnTop), onTop);
    EXPECT_EQ(window.Session().IsMuted(), muted);
    EXPECT_EQ(window.Session().Volume(), volume);

    // What the page leaves alone comes back to the browser's parent, the
    // window, and works there.
    TypeKey(&window, Qt::Key_M);
    EXPECT_NE(window.Session().IsMuted(), muted);

    // A field of the window itself, outside the page: typing is its own;
    // read-only, it types nothing and T is the window's again.
    auto* field = new QLineEdit(&window);
    field->show();
    QTest::keyClick(field, Qt::Key_T);
    EXPECT_EQ(field->text(), QStringLiteral("t"));
    EXPECT_EQ(window.Session().IsOn(SessionOption::OnTop), onTop);
    field->setReadOnly(true);
    QTest::keyClick(field, Qt::Key_T);
    EXPECT_NE(window.Session().IsOn(SessionOption::OnTop), onTop);

    // The list has the focus: the keys are the window's, as ever.
    QTest::keyClick(window.ListView(), Qt::Key_T);
    EXPECT_EQ(window.Session().IsOn(SessionOption::OnTop), onTop);

    // Back on the channel tab the page is hidden, and a click on the list
    // leaves the keyboard focus where it was, in the hidden page: its keys
    // are the window's again.
    const bool mutedNow = window.Session().IsMuted();
    window.Tabs().OnTabButton(MainTab::Channels);
    Settle();
    ASSERT_FALSE(pageField->isVisible());
    QTest::keyClick(pageField, Qt::Key_M);
    EXPECT_NE(window.Session().IsMuted(), mutedNow);
    EXPECT_EQ(typed, pageField->toPlainText());
}

TEST(FullScreenReturn, WorksWithASettingsFolderThatCannotBeWritten) {
    ScopedXdgHome home;
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    window.setGeometry(40, 50, 900, 400);
    Settle();
    const QRect before = window.geometry();
    // The store's file becomes a folder: every write fails, every read
    // gives the default.
    const QString store = SettingsStore().FilePath(SettingsRoot::MachineWide);
    QFile::remove(store);
    ASSERT_TRUE(QDir().mkpath(store));
    ASSERT_FALSE(Settings::WriteNumber(Settings::MainX, 7));

    window.Layout().ToggleFullScreen();
    Settle();
    window.Layout().ToggleFullScreen();
    Settle();
    EXPECT_EQ(window.geometry(), before);
}

TEST(MusicAndRadio, ResizeRedrawsTheLogoAndFullScreenIsTheLogoOnBlack) {
    ScopedXdgHome home;
    for (Category category : {Category::Radio, Category::Music}) {
        auto s = StartWindow(category);
        CPlayerDlg& window = *s->window;
        const int row = PlayableRow(window);
        ASSERT_GE(row, 0);
        PlayUntilPlaying(*s, row);
        Settle();
        window.resize(window.width() + 120, window.height() + 80);
        Settle();
        const Layout& layout = window.Layout().Current();
        const QPoint logo = layout.videoStrip.origin + QPoint(layout.logo.left, layout.logo.top);
        const QImage picture = Picture(PictureId::Logo);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(Screen(window).copy(QRect(logo, picture.size())), picture)
            << "category " << StoredNumberOf(category);

        window.Layout().ToggleFullScreen();
        Settle();
        const QImage screen = Screen(window);
        const QPoint origin = LogoOnlyOrigin(window.size(), picture.size());
        EXPECT_EQ(screen.copy(QRect(origin, picture.size())), picture)
            << "category " << StoredNumberOf(category);
        // Black everywhere else: no caption, list panel or bottom bar.
        for (const QPoint corner :
             {QPoint(2, 2), QPoint(window.width() - 3, 2), QPoint(2, window.height() - 3),
              QPoint(window.width() - 3, window.height() - 3),
              QPoint(window.width() - 40, window.height() / 2)})
            EXPECT_EQ(screen.pixel(corner) & 0xFFFFFF, 0u)
                << "category " << StoredNumberOf(category);
        EXPECT_FALSE(window.ListView()->isVisible());
        EXPECT_FALSE(window.Button(ControlId::CategoryTv)->isVisible());
        EXPECT_FALSE(window.Button(ControlId::TabChannels)->isVisible());
        window.Layout().ToggleFullScreen();
        Settle();
    }
}

} // namespace
