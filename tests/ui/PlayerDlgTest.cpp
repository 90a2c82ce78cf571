#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/WindowLayout.h"
#include "skin/CMinsButton.h"

#include "TestFolders.h"
#include "WidgetInput.h"

#include "catalogue/CChannelListView.h"
#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Lets queued window-system work (geometry, state changes) arrive.
std::unique_ptr<CPlayerDlg> StartWindow(bool show = false) {
    auto window = std::make_unique<CPlayerDlg>();
    window->OnInitDialog();
    if (show) {
        window->show();
        Settle();
    }
    return window;
}

TEST(PlayerDlgStartUp, FirstStartWithEmptyStore) {
    ScopedXdgHome home;
    auto window = StartWindow();
    EXPECT_EQ(window->Session().MainTab(), MainTab::Channels);
    EXPECT_EQ(window->Session().Category(), Category::Tv);
    EXPECT_EQ(window->Session().ShownCategory(), Category::Tv);
    EXPECT_EQ(window->Session().Volume(), 100);
    EXPECT_EQ(window->Session().IndicatorOffset(), 0); // the level bar full
    EXPECT_FALSE(window->Session().IsOn(SessionOption::OnTop));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->Session().IsOn(SessionOption::TrayStyle));
    EXPECT_FALSE(window->Session().IsOn(SessionOption::Magnet));
    EXPECT_FALSE(window->Session().IsOn(SessionOption::AutoPlay));
    EXPECT_FALSE(window->Session().IsPlaying());
    EXPECT_TRUE(window->Session().IsListPanelOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("WAVEORBIT"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->size(), QSize(836, 354));
    EXPECT_EQ(window->Session().StatusText(), QStringLiteral("현재 방송을 시청중이지 않습니다."));
    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        EXPECT_EQ(window->geometry().center(), screen->geometry().center());
    }
    // Nothing plays: the player stays hidden.
    window->show();
    Settle();
    EXPECT_FALSE(window->Player()->isVisible());
    EXPECT_TRUE(window->Button(ControlId::CategoryTv)->isVisible());
    EXPECT_FALSE(window->Button(ControlId::MusicSubTab1)->isVisible());
    EXPECT_TRUE(window->ListView()->isVisible());
}

TEST(PlayerDlgStartUp, StoredTabsAndOptions) {
    {
        ScopedXdgHome home;
        Settings::WriteText(Settings::Menu, QStringLiteral("1"));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("9"));
        auto window = StartWindow();
        EXPECT_EQ(window->Session().MainTab(), MainTab::Channels);
        EXPECT_EQ(window->Session().ShownCategory(), Category::Tv); // out of range: the TV tab
    }
    {
        ScopedXdgHome home;
        Settings::WriteText(Settings::Menu, QStringLiteral("2"));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("4"));
        Settings::WriteText(Settings::OnTop, QStringLiteral("1"));
        Settings::WriteText(Settings::Magnet, QStringLiteral("1"));
        Settings::WriteText(Settings::Tray, QStringLiteral("1"));
        Settings::WriteText(Settings::Sound, QStringLiteral("40"));
        auto window = StartWindow(true);
        EXPECT_EQ(window->Session().MainTab(), MainTab::Music);
        EXPECT_EQ(window->Session().ShownCategory(), Category::None);
        EXPECT_TRUE(window->Session().IsOn(SessionOption::OnTop));
        EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(window->Session().IsOn(SessionOption::Magnet));
        EXPECT_TRUE(window->Session().IsOn(SessionOption::TrayStyle));
        EXPECT_EQ(window->Session().Volume(), 40);
        EXPECT_EQ(window->Session().IndicatorOffset(), 30);
        EXPECT_FALSE(window->ListView()->isVisible());
        EXPECT_TRUE(window->Button(ControlId::MusicSubTab1)->isVisible());
        EXPECT_FALSE(window->Button(ControlId::CategoryTv)->isVisible());
    }
    {
        ScopedXdgHome home;
        Settings::WriteText(Settings::Menu, QStringLiteral("x"));
        Settings::WriteText(Settings::Magnet, QStringLiteral("2")); // only "1" is on
        auto window = StartWindow();
        EXPECT_EQ(window->Session().MainTab(), MainTab::Channels); // the initial tab, none chosen
        EXPECT_EQ(window->Session().ShownCategory(), Category::None);
        EXPECT_FALSE(window->Session().IsOn(SessionOption::Magnet));
    }
}

TEST(PlayerDlgShutdown, ClosingWritesVolumeAndTabsButNotGeometry) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::Menu, QStringLiteral("3"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("5"));
    Settings::WriteText(Settings::Sound, QStringLiteral("65"));
    Settings::WriteText(Settings::MainWidth, QStringLiteral("500"));
    auto window = StartWindow(true);
    // Overwrite what start-up read, so the writes are seen.
    Settings::WriteText(Settings::Sound, QStringLiteral("1"));
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("1"));
    bool closed = false;
    QObject::connect(window.get(), &CPlayerDlg::closed, [&closed] { closed = true; });
    window->Button(ControlId::Close)->click();
    Settle();
    EXPECT_TRUE(closed);
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("65"));
    EXPECT_EQ(Settings::ReadText(Settings::Menu), QStringLiteral("3"));
    // Menu 3 selects no category: the initial category is written back.
    EXPECT_EQ(Settings::ReadText(Settings::SubMenu), QStringLiteral("1"));
    EXPECT_EQ(Settings::ReadText(Settings::MainWidth), QStringLiteral("500"));
    // Destroying the closed window does not write a second time.
    Settings::WriteText(Settings::Sound, QStringLiteral("7"));
    window.reset();
    EXPECT_EQ(Settings::ReadText(Settings::Sound), QStringLiteral("7"));
}

namespace {
// The button's name as a screen reader asks for it.
QString HeardName(CPlayerDlg& window, ControlId id) {
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(window.Button(id));
    return button ? button->text(QAccessible::Name) : QString();
}
} // namespace

TEST(PlayerDlgGeometry, ListPanelToggleKeepsTheVideoArea) {
    ScopedXdgHome home;
    auto window = StartWindow(true);
    window->resize(860, 354);
    Settle();
    const Box video = window->Layout().Current().videoArea;
    const QPoint topLeft = window->geometry().topLeft();

    window->Layout().ToggleListPanel();
    Settle();
    EXPECT_FALSE(window->Session().IsListPanelOpen());
    EXPECT_EQ(window->width(), 436);
    EXPECT_EQ(window->geometry().topLeft(), topLeft);
    EXPECT_EQ(window->Layout().Current().videoArea, video);
    EXPECT_EQ(window->minimumSize(), QSize(312, 279));
    EXPECT_FALSE(window->ListView()->isVisible());
    EXPECT_FALSE(window->Button(ControlId::TabChannels)->isVisible());
    EXPECT_FALSE(window->Button(ControlId::CategoryTv)->isVisible());
    // Both buttons that open the panel again say so, each in its own words.
    EXPECT_EQ(HeardName(*window, ControlId::ListToggle), QStringLiteral("채널 목록 열기"));
    EXPECT_EQ(HeardName(*window, ControlId::ListToggleBottom), QStringLiteral("목록 보이기"));

    // The smallest window the closed panel allows.
    window->resize(200, 200);
    Settle();
    EXPECT_EQ(window->size(), QSize(312, 279));
    window->resize(436, 354);
    Settle();

    window->Layout().ToggleListPanel();
    Settle();
    EXPECT_TRUE(window->Session().IsListPanelOpen());
    EXPECT_EQ(window->width(), 860);
    EXPECT_EQ(window->Layout().Current().videoArea, video);
    EXPECT_EQ(window->minimumSize(), QSize(736, 279));
    EXPECT_TRUE(window->ListView()->isVisible());
    EXPECT_TRUE(window->Button(ControlId::CategoryTv)->isVisible());
    EXPECT_EQ(HeardName(*window, ControlId::ListToggle), QStringLiteral("채널 목록 닫기"));
    EXPECT_EQ(HeardName(*window, ControlId::ListToggleBottom), QStringLiteral("목록 숨기기"));
}

TEST(PlayerDlgGeometry, ListPanelToggleRefusedWhileMaximised) {
    ScopedXdgHome home;
    auto window = StartWindow(true);
    window->Layout().ToggleMaximise();
    Settle();
    ASSERT_TRUE(window->Session().IsMaximised());
    EXPECT_EQ(HeardName(*window, ControlId::MaximiseToggle), QStringLiteral("이전 크기로"));
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    window->Layout().ToggleListPanel();
    EXPECT_EQ(shown, QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다."));
    EXPECT_TRUE(window->Session().IsListPanelOpen());
    window->Layout().ToggleMaximise();
    Settle();
    EXPECT_FALSE(window->Session().IsMaximised());
    EXPECT_EQ(HeardName(*window, ControlId::MaximiseToggle), QStringLiteral("최대화"));
}

TEST(PlayerDlgGeometry, FullScreenSavesAndRestoresTheRectangle) {
    ScopedXdgHome home;
    auto window = StartWindow(true);
    window->setGeometry(40, 50, 900, 400);
    Settle();
    const QRect before = window->frameGeometry();

    window->Layout().ToggleFullScreen();
    Settle();
    EXPECT_TRUE(window->Session().IsFullScreen());
    EXPECT_EQ(Settings::ReadNumber(Settings::MainX), before.left());
    EXPECT_EQ(Settings::ReadNumber(Settings::MainY), before.top());
    EXPECT_EQ(Settings::ReadNumber(Settings::MainWidth), before.width());
    EXPECT_EQ(Settings::ReadNumber(Settings::MainHeight), before.height());
    EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
    // Nothing plays: every button stays, laid out across the whole window.
    EXPECT_TRUE(window->Button(ControlId::Play)->isVisible());
    // ...but the maximise toggle, which would do nothing here.
    EXPECT_FALSE(window->Button(ControlId::MaximiseToggle)->isVisible());
    EXPECT_EQ(window->Layout().Current().R, window->width());
    EXPECT_EQ(window->Player()->geometry(), window->rect());
    EXPECT_FALSE(window->Player()->isVisible());

    // The list panel cannot be toggled now.
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(QMessageBox::Ok);
    });
    window->Layout().ToggleListPanel();
    EXPECT_TRUE(window->Session().IsListPanelOpen());

    window->Layout().ToggleFullScreen();
    Settle();
    EXPECT_FALSE(window->Session().IsFullScreen());
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(window->geometry(), before);
    EXPECT_EQ(window->Player()->geometry(), window->Layout().Current().videoArea.ToRect());
    EXPECT_TRUE(window->Button(ControlId::Hide)->isVisible());
    EXPECT_TRUE(window->Button(ControlId::MaximiseToggle)->isVisible());
    EXPECT_TRUE(window->Button(ControlId::CategoryTv)->isVisible());
    EXPECT_FALSE(window->Button(ControlId::MusicSubTab1)->isVisible());
}

TEST(PlayerDlgPaint, WindowShowsTheSkinStrips) {
    ScopedXdgHome home;
    CPlayerDlg window;
    int painted = 0;
    QObject::connect(&window, &CPlayerDlg::firstPainted, [&painted] { ++painted; });
    window.OnInitDialog();
    window.show();
    Settle();
    const QImage shot = window.grab().toImage();
    Settle();
    EXPECT_EQ(painted, 1);
    ASSERT_EQ(shot.size(), QSize(836, 354));
    // Whatever the pictures, the idle video area left of the logo is black.
    EXPECT_EQ(QColor(shot.pixel(20, 200)), QColor(Qt::black));
}

} // namespace
