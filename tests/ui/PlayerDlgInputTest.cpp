// The main window's mouse, wheel, keys, main menu, tray icon and command table.
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowTray.h"
#include "playback/PlayerWidget.h"
#include "program/CPlayerApp.h"
#include "skin/CMinsButton.h"

#include "EventLoopWait.h"
#include "TestFolders.h"
#include "WidgetInput.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

namespace {

std::unique_ptr<CPlayerDlg> StartWindow() {
    auto window = std::make_unique<CPlayerDlg>();
    window->Prompts().SetMessageHandler([](const QString&) {});
    window->OnInitDialog();
    window->show();
    Settle();
    return window;
}

void Mouse(QWidget* to, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), QPointF(to->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

// Presses the left button at `from` and drags by `by`, releasing there.
void Drag(QWidget* window, QPoint from, QPoint by) {
    const QPoint global = window->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), QPointF(global), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &press);
    for (int step = 1; step <= 2; ++step) {
        const QPoint at = global + by * step / 2;
        QMouseEvent move(QEvent::MouseMove, QPointF(window->mapFromGlobal(at)), QPointF(at),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
    }
    const QPoint end = global + by;
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(window->mapFromGlobal(end)),
                        QPointF(end), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &release);
    Settle();
}

void Wheel(QWidget* to, int delta) {
    const QPoint pos(200, 150);
    QWheelEvent event(QPointF(pos), QPointF(to->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(to, &event);
}

// A spot of the window that no control covers and no resize band touches.
QPoint FreeSpot(CPlayerDlg& window) {
    for (int x = 20; x < window.width() - 20; x += 7) {
        const QPoint p(x, 18);
        bool inBand = false;
        for (const Box& band : window.Layout().Current().hitAreas)
            inBand = inBand || band.Contains(p);
        if (!window.childAt(p) && !inBand && !window.Layout().Current().volumeArea.Contains(p))
            return p;
    }
    ADD_FAILURE() << "no free spot";
    return QPoint(100, 18);
}

// The command ids of the checked items of a menu and its submenus, and of all
// checkable ones.
struct MenuMarks {
    std::set<int> checked;
    std::set<int> checkable;
};

// The command number an action carries, 0 for none.
int ActionNumber(const QAction* action) {
    const std::optional<CommandId> id = CommandOfAction(action);
    return id ? id->Number() : 0;
}

void Collect(const QMenu* menu, MenuMarks& marks) {
    for (QAction* action : menu->actions()) {
        if (action->menu())
            Collect(action->menu(), marks);
        if (action->isCheckable())
            marks.checkable.insert(ActionNumber(action));
        if (action->isChecked())
            marks.checked.insert(ActionNumber(action));
    }
}

// Runs `open`, which is to show a popup menu modally; reads its marks and
// closes it without choosing anything.
MenuMarks MarksOfMenuOpenedBy(const std::function<void()>& open) {
    MenuMarks marks;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            Collect(menu, marks);
            seen = true;
            menu->close();
        }
    });
    poll.start();
    open();
    RunEventsFor(50);
    poll.stop();
    EXPECT_TRUE(seen) << "no menu opened";
    return marks;
}

// Runs `action` and returns the class of the modal dialog it opened (closed
// again at once), or an empty text when none opened.
QString ModalOpenedBy(const std::function<void()>& action) {
    QString seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = QString::fromLatin1(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    poll.start();
    action();
    RunEventsFor(100);
    poll.stop();
    return seen;
}

TEST(PlayerDlgKeys, EnterTogglesFullScreenAndEscOnlyLeavesIt) {
    ScopedXdgHome home;
    auto window = StartWindow();
    int closed = 0;
    QObject::connect(window.get(), &CPlayerDlg::closed, [&closed] { ++closed; });
    const QRect before = window->geometry();

    TypeKey(window.get(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(window->Session().IsFullScreen());
    EXPECT_EQ(window->geometry(), before);

    TypeKey(window.get(), Qt::Key_Return);
    Settle();
    EXPECT_TRUE(window->Session().IsFullScreen());
    EXPECT_TRUE(window->isVisible());
    TypeKey(window.get(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(window->Session().IsFullScreen());
    // The keypad's Enter too, and from the list holding the focus.
    TypeKey(window->ListView(), Qt::Key_Enter);
    Settle();
    EXPECT_TRUE(window->Session().IsFullScreen());
    TypeKey(window->ListView(), Qt::Key_Return);
    Settle();
    EXPECT_FALSE(window->Session().IsFullScreen());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closed, 0);
}

TEST(PlayerDlgKeys, LettersAndFunctionKeysRunTheirCommands) {
    ScopedXdgHome home;
    auto window = StartWindow();
    // T: always on top, written at once, from any child with the focus.
    TypeKey(window->ListView(), Qt::Key_T);
    Settle();
    EXPECT_TRUE(window->Session().IsOn(SessionOption::OnTop));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Settings::ReadText(Settings::OnTop), QStringLiteral("1"));
    EXPECT_TRUE(window->isVisible());
    TypeKey(window.get(), Qt::Key_T);
    Settle();
    EXPECT_FALSE(window->Session().IsOn(SessionOption::OnTop));
    EXPECT_EQ(Settings::ReadText(Settings::OnTop), QStringLiteral("0"));

    // F8: the list panel.
    TypeKey(window.get(), Qt::Key_F8);
    Settle();
    EXPECT_FALSE(window->Session().IsListPanelOpen());
    TypeKey(window.get(), Qt::Key_F8);
    Settle();
    EXPECT_TRUE(window->Session().IsListPanelOpen());

    // The dialogs: Ctrl+U, F5, F1; U alone opens nothing.
    EXPECT_EQ(ModalOpenedBy([&] { TypeKey(window->ListView(), Qt::Key_U, Qt::ControlModifier); }),
              QStringLiteral("COpenUrlDlg"));
    EXPECT_EQ(ModalOpenedBy([&] { TypeKey(window.get(), Qt::Key_U); }), QString());
    EXPECT_EQ(ModalOpenedBy([&] { TypeKey(window.get(), Qt::Key_F5); }),
              QStringLiteral("CSettingsDlg"));
    EXPECT_EQ(ModalOpenedBy([&] { TypeKey(window.get(), Qt::Key_F1); }),
              QStringLiteral("CAboutDlg"));
    EXPECT_TRUE(window->isVisible());
}

TEST(PlayerDlgMouse, WheelTakesSingleNotchesOnly) {
    ScopedXdgHome home;
    Settings::WriteNumber(Settings::Sound, 50);
    auto window = StartWindow();
    ASSERT_EQ(window->Session().Volume(), 50);
    Wheel(window.get(), 240);
    Wheel(window.get(), -240);
    Wheel(window.get(), 60);
    EXPECT_EQ(window->Session().Volume(), 50);
    Wheel(window.get(), 120);
    EXPECT_GT(window->Session().Volume(), 50);
    const int raised = window->Session().Volume();
    Wheel(window.get(), -120);
    EXPECT_LT(window->Session().Volume(), raised);
}

TEST(PlayerDlgMouse, FreeSpotsMoveAndEdgesResize) {
    ScopedXdgHome home;
    auto window = StartWindow();
    const QRect start = window->geometry();
    Drag(window.get(), FreeSpot(*window), QPoint(40, 25));
    EXPECT_EQ(window->geometry(), start.translated(40, 25));

    // The right band: the cursor shows it, a drag widens the window.
    const QRect placed = window->geometry();
    const QPoint right(window->width() - 3, window->height() / 2);
    Mouse(window.get(), QEvent::MouseMove, right, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->cursor().shape(), Qt::SizeHorCursor);
    const QPoint corner(window->width() - 3, window->height() - 3);
    Mouse(window.get(), QEvent::MouseMove, corner, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->cursor().shape(), Qt::SizeFDiagCursor);
    Drag(window.get(), right, QPoint(30, 0));
    EXPECT_EQ(window->geometry(), QRect(placed.topLeft(), placed.size() + QSize(30, 0)));

    // Never below the smallest size: the left band pulled far right stops there.
    Drag(window.get(), QPoint(3, window->height() / 2), QPoint(2000, 0));
    EXPECT_EQ(window->width(), window->Layout().MinimumSize().width());
    EXPECT_EQ(window->geometry().right(), placed.right() + 30);
}

TEST(PlayerDlgMouse, VolumeAreaSetsTheVolumeInsteadOfMoving) {
    ScopedXdgHome home;
    Settings::WriteNumber(Settings::Sound, 50);
    auto window = StartWindow();
    const QRect start = window->geometry();
    const Box area = window->Layout().Current().volumeArea;
    const int y = (area.top + area.bottom) / 2;
    // A press at the area's left end: the lowest volume, and no move.
    Drag(window.get(), QPoint(area.left + 1, y), QPoint(0, 0));
    EXPECT_EQ(window->Session().Volume(), 0);
    EXPECT_EQ(window->geometry(), start);
    // A plain drag follows the pointer; with a modifier held it does not.
    Mouse(window.get(), QEvent::MouseButtonPress, QPoint(area.left + 1, y), Qt::LeftButton,
          Qt::LeftButton);
    QMouseEvent shifted(QEvent::MouseMove, QPointF(area.left + 30, y),
                        QPointF(window->mapToGlobal(QPoint(area.left + 30, y))), Qt::NoButton,
                        Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(window.get(), &shifted);
    EXPECT_EQ(window->Session().Volume(), 0);
    Mouse(window.get(), QEvent::MouseMove, QPoint(area.left + 30, y), Qt::NoButton, Qt::LeftButton);
    EXPECT_GT(window->Session().Volume(), 0);
    Mouse(window.get(), QEvent::MouseButtonRelease, QPoint(area.left + 30, y), Qt::LeftButton,
          Qt::NoButton);
    EXPECT_EQ(window->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window->geometry(), start);
}

TEST(PlayerDlgMouse, MaximisedOrFullScreenNeitherMovesNorResizes) {
    ScopedXdgHome home;
    auto window = StartWindow();
    const QPoint free = FreeSpot(*window);
    for (int mode = 0; mode < 2; ++mode) {
        if (mode == 0)
            window->Layout().ToggleMaximise();
        else
            window->Layout().ToggleFullScreen();
        Settle();
        const QRect locked = window->geometry();
        Drag(window.get(), free, QPoint(40, 25));
        EXPECT_EQ(window->geometry(), locked) << mode;
        const QPoint right(window->width() - 3, window->height() / 2);
        Mouse(window.get(), QEvent::MouseMove, right, Qt::NoButton, Qt::NoButton);
        EXPECT_NE(window->cursor().shape(), Qt::SizeHorCursor) << mode;
        Drag(window.get(), right, QPoint(-50, 0));
        EXPECT_EQ(window->geometry(), locked) << mode;
        const QPoint bottom(window->width() / 2, window->height() - 2);
        Mouse(window.get(), QEvent::MouseMove, bottom, Qt::NoButton, Qt::NoButton);
        EXPECT_NE(window->cursor().shape(), Qt::SizeVerCursor) << mode;
        if (mode == 0)
            window->Layout().ToggleMaximise();
        else
            window->Layout().ToggleFullScreen();
        Settle();
    }
}

TEST(PlayerDlgMouse, CaptionDoubleClickTogglesMaximise) {
    ScopedXdgHome home;
    auto window = StartWindow();
    const QPoint caption = FreeSpot(*window);
    Mouse(window.get(), QEvent::MouseButtonDblClick, caption, Qt::LeftButton, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(window->Session().IsMaximised());
    Mouse(window.get(), QEvent::MouseButtonDblClick, caption, Qt::LeftButton, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(window->Session().IsMaximised());
    // Below the caption strip it does not.
    Mouse(window.get(), QEvent::MouseButtonDblClick, QPoint(caption.x(), kCaptionHeight + 2),
          Qt::LeftButton, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(window->Session().IsMaximised());
}

TEST(PlayerDlgMenu, SameSevenMarksFromWindowVideoAndTray) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::AutoPlay, QStringLiteral("0"));
    Settings::WriteText(Settings::AutoClose, QStringLiteral("1"));
    Settings::WriteText(Settings::AutoHide, QStringLiteral("1"));
    Settings::WriteText(Settings::OnTop, QStringLiteral("1"));
    Settings::WriteText(Settings::StartWithSession, QStringLiteral("/usr/bin/waveorbit"));
    auto window = StartWindow();
    // 32773 toggles the panel but is never checked.
    window->Commands().Run(MenuCommand::ListPanel);
    Settle();

    const std::set<int> seven = {32773, 32776, 32786, 32787, 32788, 32789, 32779};
    const std::set<int> expected = {32776, 32788, 32789, 32779};
    const MenuMarks fromWindow = MarksOfMenuOpenedBy([&] {
        Mouse(window.get(), QEvent::MouseButtonPress, FreeSpot(*window), Qt::RightButton,
              Qt::RightButton);
    });
    EXPECT_EQ(fromWindow.checkable, seven);
    EXPECT_EQ(fromWindow.checked, expected);

    PlayerWidget* player = window->Player();
    ASSERT_NE(player, nullptr);
    const MenuMarks fromVideo = MarksOfMenuOpenedBy(
        [&] { emit player->mouseDown(Qt::RightButton, Qt::NoModifier, QPoint(5, 5)); });
    EXPECT_EQ(fromVideo.checkable, seven);
    EXPECT_EQ(fromVideo.checked, expected);

    ASSERT_NE(window->Tray().Icon(), nullptr);
    window->hide();
    const MenuMarks fromTray = MarksOfMenuOpenedBy(
        [&] { emit window->Tray().Icon()->activated(QSystemTrayIcon::Context); });
    EXPECT_EQ(fromTray.checkable, seven);
    EXPECT_EQ(fromTray.checked, expected);
    EXPECT_FALSE(window->isVisible()); // the menu does not show the window
}

TEST(PlayerDlgMenu, ItemsTextsAndOrder) {
    ScopedXdgHome home;
    auto window = StartWindow();
    std::unique_ptr<QMenu> menu(CreateMainMenu(nullptr, MainMenuChecksOf(window->Commands())));
    QStringList top;
    for (QAction* action : menu->actions())
        top << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(top,
              (QStringList{QStringLiteral("방송보기\tF8"), "-", QStringLiteral("재생"),
                           QStringLiteral("정지\tSpace"), "-", QStringLiteral("재생관련"),
                           QStringLiteral("소리관련"), "-", QStringLiteral("항상위\tT"), "-",
                           QStringLiteral("환경설정\tF5"), QStringLiteral("업데이트"),
                           QStringLiteral("윈도우 실행시 프로그램 자동실행"), "-",
                           QStringLiteral("홈페이지 바로가기"), QStringLiteral("프로그램 정보\tF1"),
                           "-", QStringLiteral("끝내기\tAlt+F4")}));
    QStringList playback;
    for (QAction* action : menu->actions().at(5)->menu()->actions())
        playback << (action->isSeparator() ? QStringLiteral("-")
                                           : action->text() + QLatin1Char('=') +
                                                 QString::number(ActionNumber(action)));
    EXPECT_EQ(playback, (QStringList{QStringLiteral("URL 열기...\tCtrl+U=32783"), "-",
                                     QStringLiteral("프로그램 시작시 자동재생=32787"),
                                     QStringLiteral("채널선택후 리스트창 자동닫기=32788"),
                                     QStringLiteral("라디오/음악방송 재생시 자동숨김=32789"), "-",
                                     QStringLiteral("전체화면\tEnter=32790")}));
    QStringList sound;
    for (QAction* action : menu->actions().at(6)->menu()->actions())
        sound << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(sound, (QStringList{QStringLiteral("소리키움\tUp"), QStringLiteral("소리줄임\tDown"),
                                  "-", QStringLiteral("소리없음\tM")}));
    for (QAction* action : menu->actions())
        EXPECT_TRUE(action->isEnabled());
}

TEST(PlayerDlgCommands, OptionTogglesWriteOnlyTheirOwnValue) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::AutoClose, QStringLiteral("2"));
    Settings::WriteText(Settings::AutoHide, QStringLiteral("0"));
    auto window = StartWindow();
    window->Commands().Run(MenuCommand::AutoHide);
    EXPECT_TRUE(window->Session().IsOn(SessionOption::AutoHide));
    EXPECT_EQ(Settings::ReadText(Settings::AutoHide), QStringLiteral("1"));
    EXPECT_EQ(Settings::ReadText(Settings::AutoClose), QStringLiteral("2"));
    window->Commands().Run(MenuCommand::AutoHide);
    EXPECT_FALSE(window->Session().IsOn(SessionOption::AutoHide));
    EXPECT_EQ(Settings::ReadText(Settings::AutoHide), QStringLiteral("0"));
    EXPECT_EQ(Settings::ReadText(Settings::AutoClose), QStringLiteral("2"));
    EXPECT_TRUE(window->Session().IsOn(SessionOption::AutoClose)); // "2" reads as on at start-up

    window->Commands().Run(MenuCommand::AutoPlay);
    EXPECT_EQ(Settings::ReadText(Settings::AutoPlay), QStringLiteral("1"));
    window->Commands().Run(MenuCommand::AutoClose);
    EXPECT_EQ(Settings::ReadText(Settings::AutoClose), QStringLiteral("0"));
}

TEST(PlayerDlgCommands, StartWithSessionTogglesTheAutostartEntry) {
    ScopedXdgHome home;
    const QString entry = home.configHome() + QStringLiteral("/autostart/WAVEORBIT.desktop");
    auto window = StartWindow();
    ASSERT_FALSE(window->Session().IsOn(SessionOption::StartWithSession));
    window->Commands().Run(MenuCommand::StartWithSession);
    EXPECT_TRUE(window->Session().IsOn(SessionOption::StartWithSession));
    ASSERT_TRUE(QFile::exists(entry));
    // The entry starts the program that is running, not a name of its own.
    EXPECT_EQ(Settings::ReadText(Settings::StartWithSession),
              QCoreApplication::applicationFilePath());
    window->Commands().Run(MenuCommand::StartWithSession);
    EXPECT_FALSE(window->Session().IsOn(SessionOption::StartWithSession));
    EXPECT_FALSE(QFile::exists(entry));
}

TEST(PlayerDlgCommands, BothExitCommandsCloseTheWindow) {
    for (CommandId command : {CommandId(MenuCommand::Exit), CommandId(ListCommand::Exit),
                              CommandId(ControlId::Close)}) {
        ScopedXdgHome home;
        auto window = StartWindow();
        int closed = 0;
        QObject::connect(window.get(), &CPlayerDlg::closed, [&closed] { ++closed; });
        window->Commands().Run(command);
        Settle();
        EXPECT_EQ(closed, 1) << command.Number();
        EXPECT_FALSE(window->isVisible()) << command.Number();
        // The shutdown ran: the tabs were written.
        EXPECT_EQ(Settings::ReadText(Settings::Menu), QStringLiteral("1")) << command.Number();
        EXPECT_EQ(window->Tray().Icon(), nullptr) << command.Number();
    }
}

TEST(PlayerDlgTray, IconAndHidingWithoutATray) {
    ScopedXdgHome home;
    auto window = StartWindow();
    QSystemTrayIcon* tray = window->Tray().Icon();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->toolTip(), QStringLiteral("WAVEORBIT"));
    EXPECT_FALSE(tray->icon().pixmap(QSize(16, 16)).isNull());

    // No tray here: hiding minimises, so the window stays reachable.
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    window->Commands().Run(CommandId(ControlId::Hide));
    Settle();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    // A left click on the icon restores it; a click on a hidden one shows it.
    emit tray->activated(QSystemTrayIcon::Trigger);
    Settle();
    EXPECT_FALSE(window->isMinimized());
    window->hide();
    emit tray->activated(QSystemTrayIcon::Trigger);
    Settle();
    EXPECT_TRUE(window->isVisible());
    // Other clicks on the icon do nothing.
    window->hide();
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::MiddleClick);
    Settle();
    EXPECT_FALSE(window->isVisible());
}

} // namespace
