// The main window on a real X server with a window manager (openbox) and a
// tray host (trayer): moving and resizing by the mouse as the window system
// runs them, the tray icon bringing a hidden window back, the small dialogs
// dragged, the settings dialog's region box and channel-list page, typing
// into a web page's field, the question after a connection timed out
// answered from the keyboard, and the program itself on a desktop without
// a tray. Real pointer and key input comes from xdotool.
#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/SourceTabs.h"
#include "demo/DemoService.h"
#include "demo/LiveStreams.h"
#include "demo/LoopbackHttpServer.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WebPanel.h"
#include "mainwindow/WindowStyle.h"
#include "mainwindow/WindowTray.h"
#include "playback/CWMPPlayer4.h"
#include "playback/StatusDisplay.h"
#include "skin/CMinsButton.h"
#include "skin/SkinMetrics.h"
#include "web/WebBrowserModule.h"

#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs a short helper program while the window keeps answering the X server.
// It is given up on after a few seconds: a helper stuck on a grab of the
// window manager must fail the case, not hang the suite.
struct ToolRun {
    bool ok = false;
    QString output;
};
ToolRun RunTool(const QString& program, const QStringList& arguments, bool showErrors = false,
                int limitMs = 5000) {
    QProcess process;
    // What a tool of the input says when it fails goes to the test's log;
    // queries that may fail on purpose stay quiet.
    if (showErrors)
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return {};
    WaitFor([&process] { return process.state() == QProcess::NotRunning; }, limitMs);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromUtf8(process.readAllStandardOutput())};
}

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

bool Xdo(const QStringList& arguments) {
    return RunTool(QStringLiteral(WAVEORBIT_XDOTOOL), arguments, true).ok;
}

QStringList MoveTo(QPoint p) {
    return {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())};
}

// The left button held down by xdotool, released when this goes out of scope
// whatever failed in between: a button left down keeps a move of the window
// manager running, and the pointer is taken from every later step and case.
class HeldButton {
public:
    HeldButton() : pressed_(Xdo({QStringLiteral("mousedown"), QStringLiteral("1")})) {}
    ~HeldButton() { Release(); }
    HeldButton(const HeldButton&) = delete;
    HeldButton& operator=(const HeldButton&) = delete;
    bool Pressed() const { return pressed_; }
    bool Release() {
        if (!pressed_)
            return true;
        pressed_ = false;
        return Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

private:
    bool pressed_;
};

// Presses the left button at a screen point, first travels `lead` pixels
// sideways (towards `by`) if asked, then drags by `by` in steps and releases.
void DragOnScreen(QPoint from, QPoint by, int lead = 0) {
    ASSERT_TRUE(Xdo(MoveTo(from)));
    RunEventsFor(150);
    HeldButton button;
    ASSERT_TRUE(button.Pressed());
    RunEventsFor(200);
    const QPoint start = from + QPoint(by.x() < 0 ? -lead : lead, 0);
    if (lead > 0) {
        ASSERT_TRUE(Xdo(MoveTo(start)));
        RunEventsFor(150);
    }
    for (int step = 1; step <= 5; ++step) {
        ASSERT_TRUE(Xdo(MoveTo(start + by * step / 5)));
        RunEventsFor(80);
    }
    RunEventsFor(200);
    ASSERT_TRUE(button.Release());
    RunEventsFor(400);
}

// Two clicks of the real pointer in place, as a user double-clicks.
void DoubleClickOnScreen(QPoint at) {
    ASSERT_TRUE(Xdo(MoveTo(at)));
    RunEventsFor(200);
    ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                     QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")}));
}

// The first spot from the left of a row of the widget, in its left half, that
// no child covers (where a press moves the window), in widget coordinates;
// null when there is none.
QPoint FreeSpotOnRow(const QWidget& widget, int y) {
    for (int x = 20; x < widget.width() / 2; x += 5) {
        if (!widget.childAt(QPoint(x, y)))
            return QPoint(x, y);
    }
    return {};
}

// One click of the real pointer at a screen point.
void ClickOnScreen(QPoint at) {
    ASSERT_TRUE(Xdo(MoveTo(at)));
    RunEventsFor(150);
    ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("1")}));
    RunEventsFor(300);
}

// A drag that moves a window. The move begins once the pointer has gone
// past the drag distance, and the window manager moves the window on from
// that point: the lead-in before it is travel the window does not follow.
// The window then moves by exactly `by`.
void MoveDragOnScreen(QPoint from, QPoint by) {
    DragOnScreen(from, by, QGuiApplication::styleHints()->startDragDistance() + 2);
}

// A helper program of the desktop, started for the test and stopped after it.
class Helper {
public:
    Helper(const QString& program, const QStringList& arguments) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(program, arguments);
        started_ = process_.waitForStarted(5000);
    }
    ~Helper() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    bool Running() const { return started_ && process_.state() == QProcess::Running; }

private:
    QProcess process_;
    bool started_ = false;
};

// The window manager has started: the root names its check window, and that
// window exists. A window manager of an earlier case may have left the
// root's property behind, naming a window that is gone with it.
bool WindowManagerRuns() {
    const QString root =
        RunTool(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
            .output;
    const QString check = root.section(QStringLiteral("window id # "), 1).trimmed();
    if (check.isEmpty())
        return false;
    return RunTool(QStringLiteral("xprop"),
                   {QStringLiteral("-id"), check, QStringLiteral("_NET_WM_NAME")})
        .output.contains(QStringLiteral("Openbox"));
}

// The demo service answers on the build's service port only where that is a
// loopback address.
bool ServiceIsOnLoopback() {
    return QUrl(Endpoints::ServiceBaseAddress()).host() == QStringLiteral("127.0.0.1");
}

// The demo service on the build's service port, without a count server.
::testing::AssertionResult StartDemoService(demo::DemoService& service) {
    demo::DemoServiceOptions options;
    options.servicePort = quint16(QUrl(Endpoints::ServiceBaseAddress()).port(80));
    options.countPort = 0;
    QString error;
    if (service.Start(options, &error))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << error.toStdString() << " (another run holds the demo's ports?)";
}

class WindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
            << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
        ASSERT_FALSE(QStringLiteral(WAVEORBIT_XDOTOOL).isEmpty()) << "xdotool is not installed";
        ASSERT_FALSE(QStringLiteral(WAVEORBIT_OPENBOX).isEmpty()) << "openbox is not installed";
        ASSERT_FALSE(QStringLiteral(WAVEORBIT_TRAYER).isEmpty()) << "trayer is not installed";
        openbox_ = std::make_unique<Helper>(QStringLiteral(WAVEORBIT_OPENBOX),
                                            QStringList{QStringLiteral("--sm-disable")});
        ASSERT_TRUE(openbox_->Running());
        ASSERT_TRUE(WaitFor(WindowManagerRuns, 10000)) << "openbox did not start";
        home_ = std::make_unique<ScopedXdgHome>();
    }

    void TearDown() override {
        window_.reset();
        trayer_.reset();
        openbox_.reset();
        home_.reset();
    }

    // web: the web tabs' browser module as the program loads it.
    void StartWindow(bool web = false) {
        window_ = std::make_unique<CPlayerDlg>();
        if (web)
            window_->Tabs().Web().SetFactory(&WebBrowserModule::Create);
        CWMPPlayer4::Options options;
        options.audioOutput = QStringLiteral("null");
        window_->UsePlayer(new CWMPPlayer4(options));
        window_->Prompts().SetMessageHandler([](const QString&) {});
        window_->OnInitDialog();
        window_->show();
        ASSERT_TRUE(
            WaitFor([this] { return window_->isVisible() && window_->isActiveWindow(); }, 5000) ||
            window_->isVisible());
        RunEventsFor(500);
    }

    std::unique_ptr<Helper> openbox_;
    std::unique_ptr<Helper> trayer_;
    std::unique_ptr<ScopedXdgHome> home_;
    std::unique_ptr<CPlayerDlg> window_;
};

TEST_F(WindowE2E, DragMovesTheWindowAndTheRightEdgeResizesIt) {
    StartWindow();
    const QRect before = window_->frameGeometry();
    // A spot of the caption strip that no button covers.
    const QPoint grab = FreeSpotOnRow(*window_, 18);
    ASSERT_FALSE(grab.isNull());
    MoveDragOnScreen(window_->mapToGlobal(grab), QPoint(60, 40));
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() != before.topLeft(); }, 3000));
    const QRect moved = window_->frameGeometry();
    EXPECT_NEAR(moved.left() - before.left(), 60, 3);
    EXPECT_NEAR(moved.top() - before.top(), 40, 3);
    EXPECT_EQ(moved.size(), before.size());

    // The right band: the window system resizes it from that edge.
    const QPoint right(window_->width() - 3, window_->height() / 2);
    DragOnScreen(window_->mapToGlobal(right), QPoint(50, 0));
    ASSERT_TRUE(WaitFor([&] { return window_->width() != moved.width(); }, 3000));
    EXPECT_NEAR(window_->width() - moved.width(), 50, 3);
    EXPECT_EQ(window_->height(), moved.height());
    EXPECT_NEAR(window_->frameGeometry().left(), moved.left(), 1);
}

// Under a window manager a press must not hand the pointer over at once, or
// the second click never forms a double click: the caption maximises and
// restores, every time, and a drag afterwards still moves the window.
TEST_F(WindowE2E, CaptionDoubleClickMaximisesUnderTheWindowManager) {
    StartWindow();
    const QPoint grab = FreeSpotOnRow(*window_, 18);
    ASSERT_FALSE(grab.isNull());
    const QRect normal = window_->frameGeometry();
    // A first click in place makes the window the active one, and moves nothing.
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(window_->mapToGlobal(grab)));
    RunEventsFor(400);
    EXPECT_EQ(window_->frameGeometry(), normal);
    for (int round = 0; round < 3; ++round) {
        ASSERT_NO_FATAL_FAILURE(DoubleClickOnScreen(window_->mapToGlobal(grab)));
        ASSERT_TRUE(WaitFor([&] { return window_->Session().IsMaximised(); }, 3000))
            << "round " << round;
        RunEventsFor(300);
        ASSERT_NO_FATAL_FAILURE(DoubleClickOnScreen(window_->mapToGlobal(grab)));
        ASSERT_TRUE(WaitFor([&] { return !window_->Session().IsMaximised(); }, 3000))
            << "round " << round;
        ASSERT_TRUE(WaitFor([&] { return window_->frameGeometry() == normal; }, 3000));
        RunEventsFor(300);
    }
    MoveDragOnScreen(window_->mapToGlobal(grab), QPoint(50, 30));
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() != normal.topLeft(); }, 3000));
    EXPECT_NEAR(window_->frameGeometry().left() - normal.left(), 50, 3);
    EXPECT_NEAR(window_->frameGeometry().top() - normal.top(), 30, 3);
}

// The playing picture: a double click enters full screen and another leaves
// it; a drag on the picture moves the window.
TEST_F(WindowE2E, PictureDoubleClickEntersFullScreenUnderTheWindowManager) {
    const QStringList missing = demo::LiveStreams::MissingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
    demo::LiveStreams streams;
    demo::LiveStreamOptions options;
    options.audio = false;
    options.videoPort = FreePort();
    QString error;
    ASSERT_TRUE(streams.Start(options, &error)) << error.toStdString();
    StartWindow();
    window_->Playback()->Watch().PlayAddress(streams.VideoUrl(1));
    ASSERT_TRUE(WaitFor([&] { return window_->Session().IsPlaying(); }, 10000));
    QWidget* picture = window_->Player();
    ASSERT_TRUE(WaitFor([&] { return picture->isVisible(); }, 3000));
    RunEventsFor(500);

    for (int round = 0; round < 2; ++round) {
        ASSERT_NO_FATAL_FAILURE(
            DoubleClickOnScreen(picture->mapToGlobal(picture->rect().center())));
        ASSERT_TRUE(WaitFor([&] { return window_->Session().IsFullScreen(); }, 3000))
            << "round " << round;
        RunEventsFor(500);
        ASSERT_NO_FATAL_FAILURE(
            DoubleClickOnScreen(picture->mapToGlobal(picture->rect().center())));
        ASSERT_TRUE(WaitFor([&] { return !window_->Session().IsFullScreen(); }, 3000))
            << "round " << round;
        RunEventsFor(500);
    }
    const QRect before = window_->frameGeometry();
    MoveDragOnScreen(picture->mapToGlobal(picture->rect().center()), QPoint(-40, 30));
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() != before.topLeft(); }, 3000));
    EXPECT_NEAR(window_->frameGeometry().left() - before.left(), -40, 3);
    EXPECT_NEAR(window_->frameGeometry().top() - before.top(), 30, 3);
    EXPECT_FALSE(window_->Session().IsFullScreen());
    window_->Playback()->Watch().StopPlayback();
}

TEST_F(WindowE2E, MagnetPutsAWindowDroppedNearTheEdgeOnIt) {
    Settings::WriteText(Settings::Magnet, QStringLiteral("1"));
    StartWindow();
    window_->move(200, 150);
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() == QPoint(200, 150); }, 3000));
    RunEventsFor(400);
    const QPoint grab = FreeSpotOnRow(*window_, 18);
    ASSERT_FALSE(grab.isNull());
    // Dropped 7 pixels from the left edge: snapped onto it.
    MoveDragOnScreen(window_->mapToGlobal(grab), QPoint(-193, 0));
    EXPECT_TRUE(WaitFor([&] { return window_->frameGeometry().left() == 0; }, 3000))
        << window_->frameGeometry().left();
    EXPECT_EQ(window_->frameGeometry().top(), 150);
    // 11 pixels away: left there.
    MoveDragOnScreen(window_->mapToGlobal(grab), QPoint(11, 0));
    RunEventsFor(600);
    EXPECT_EQ(window_->frameGeometry().left(), 11);
}

TEST_F(WindowE2E, TrayIconShowsAndItsClickBringsTheWindowBack) {
    trayer_ = std::make_unique<Helper>(
        QStringLiteral(WAVEORBIT_TRAYER),
        QStringList{QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                    QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                    QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--height"),
                    QStringLiteral("32"), QStringLiteral("--expand"), QStringLiteral("false")});
    ASSERT_TRUE(trayer_->Running());
    ASSERT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
        << "the tray host did not come up";
    StartWindow();
    QSystemTrayIcon* tray = window_->Tray().Icon();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(WaitFor([tray] { return tray->geometry().isValid(); }, 10000))
        << "the icon was not embedded in the tray";
    const QRect icon = tray->geometry();
    EXPECT_GT(icon.width(), 0);

    // With a tray, hiding hides: only the icon remains.
    window_->Style().HideWindow();
    RunEventsFor(300);
    ASSERT_FALSE(window_->isVisible());

    // The tray host may still lay its icons out after embedding: click where
    // the icon is at that moment, and once more should the first click have
    // landed while it moved.
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        RunEventsFor(300);
        ASSERT_NO_FATAL_FAILURE(ClickOnScreen(tray->geometry().center()));
        shown = WaitFor([this] { return window_->isVisible(); }, 3000);
    }
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window_->isMinimized());
}

// What the window manager was told about a window, by xprop.
QString WindowProperties(const QString& window, const QStringList& properties) {
    return RunTool(QStringLiteral("xprop"), QStringList{QStringLiteral("-id"), window} + properties)
        .output;
}

// The one visible window of a process, as xdotool names it; empty when none.
QString VisibleWindowOf(qint64 pid) {
    const ToolRun run = RunTool(QStringLiteral(WAVEORBIT_XDOTOOL),
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--pid"), QString::number(pid)});
    const QStringList ids = run.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return ids.size() == 1 ? ids.first().trimmed() : QString();
}

// A window's place on the screen as the X server has it, by xwininfo; null
// while the window is not mapped (not yet placed by the window manager).
QRect WindowOnScreen(const QString& window) {
    const QString info =
        RunTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}).output;
    if (!info.contains(QStringLiteral("Map State: IsViewable")))
        return {};
    const auto value = [&info](const char* name) {
        const QString after = info.section(QString::fromLatin1(name), 1);
        return after.section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
    };
    return QRect(value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"),
                 value("Height:"));
}

// The small dialogs move as the window does: a drag on the background moves
// the dialog through the window manager, while clicks in place start no move
// that would keep the pointer, so the dialog's own button still answers.
TEST_F(WindowE2E, SkinnedDialogMovesByADragAndClicksInPlaceLeaveThePointerFree) {
    StartWindow();
    // The dialog opens centred over the window: placed so that the drag stays
    // on the screen (xdotool takes no point left of or above it).
    window_->move(200, 150);
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() == QPoint(200, 150); }, 3000));
    CAboutDlg dialog(window_.get());
    dialog.show();
    ASSERT_TRUE(WaitFor([&] { return dialog.isVisible(); }, 3000));
    RunEventsFor(500);
    const QPoint spot = FreeSpotOnRow(dialog, dialog.height() - 12);
    ASSERT_FALSE(spot.isNull());
    // Where the X server has the dialog, once it stands centred over the
    // window where the program puts it: it may be mapped at the origin first
    // and moved there a moment later.
    const QString id = QString::number(dialog.winId());
    const QPoint centred =
        window_->frameGeometry().center() - QPoint(dialog.width() / 2, dialog.height() / 2);
    QRect before;
    ASSERT_TRUE(WaitFor(
        [&] {
            before = WindowOnScreen(id);
            return before.topLeft() == centred;
        },
        5000))
        << "the dialog stands at " << before.x() << "," << before.y() << ", not over the window";
    RunEventsFor(300);
    ASSERT_EQ(WindowOnScreen(id), before);

    MoveDragOnScreen(before.topLeft() + spot, QPoint(-70, 45));
    QRect moved;
    ASSERT_TRUE(WaitFor(
        [&] {
            moved = WindowOnScreen(id);
            return moved.topLeft() != before.topLeft();
        },
        3000));
    EXPECT_NEAR(moved.left() - before.left(), -70, 3);
    EXPECT_NEAR(moved.top() - before.top(), 45, 3);

    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(moved.topLeft() + spot));
    ASSERT_NO_FATAL_FAILURE(DoubleClickOnScreen(moved.topLeft() + spot));
    RunEventsFor(400);
    EXPECT_EQ(WindowOnScreen(id), moved);
    const CMinsButton* ok = dialog.OkButton();
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(moved.topLeft() + ok->geometry().center()));
    EXPECT_TRUE(WaitFor([&] { return !dialog.isVisible(); }, 3000))
        << "the click on the dialog's button did not reach it";
}

// Where the browser shows the demo page's search field, in global
// coordinates: the rows where the field's own colour runs across most of the
// page's width (text drawn elsewhere may hold a few such pixels). Null while
// the field is not shown.
QRect SearchFieldOnScreen(QWidget* browser) {
    const QPoint at = browser->mapTo(browser->window(), QPoint(0, 0));
    const QImage image = browser->screen()
                             ->grabWindow(browser->window()->winId(), at.x(), at.y(),
                                          browser->width(), browser->height())
                             .toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        QRect row;
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - 0x1f) <= 1 && qAbs(p.green() - 0x26) <= 1 &&
                qAbs(p.blue() - 0x31) <= 1)
                row |= QRect(x, y, 1, 1);
        }
        if (row.width() > image.width() / 2)
            box |= row;
    }
    if (box.height() < 10)
        return {};
    return box.translated(browser->mapToGlobal(QPoint(0, 0)));
}

// Keys typed into a text field of a web page reach the field, not the
// window's commands; elsewhere the window's keys work as before.
TEST_F(WindowE2E, KeysTypedIntoAWebPageFieldStayThere) {
    if (!WAVEORBIT_RUN_WEB_ENGINE)
        GTEST_SKIP() << "the browser engine is not run in sanitizer builds";
    const QStringList missing = demo::LiveStreams::MissingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
    if (!ServiceIsOnLoopback())
        GTEST_SKIP() << "the service host is not a loopback address in this build";
    demo::DemoService service;
    ASSERT_TRUE(StartDemoService(service));
    demo::LiveStreams streams;
    demo::LiveStreamOptions streamOptions;
    streamOptions.audio = false;
    streamOptions.videoPort = FreePort();
    QString error;
    ASSERT_TRUE(streams.Start(streamOptions, &error)) << error.toStdString();

    StartWindow(true);
    window_->Playback()->Watch().PlayAddress(streams.VideoUrl(1));
    ASSERT_TRUE(WaitFor([&] { return window_->Session().IsPlaying(); }, 10000));
    const PlayerSession& session = window_->Session();
    const int volume = session.Volume();
    const bool muted = session.IsMuted();
    const bool onTop = session.IsOn(SessionOption::OnTop);

    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(
        window_->mapToGlobal(window_->Button(ControlId::TabMusic)->geometry().center())));
    QRect field;
    ASSERT_TRUE(WaitFor(
        [&] {
            field = window_->Tabs().Web().Browser()
                        ? SearchFieldOnScreen(window_->Tabs().Web().Browser())
                        : QRect();
            return field.isValid();
        },
        20000))
        << "the music tab's page with its search field did not show";
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(field.center()));

    // Letters that are the window's keys, a space, and the arrows, then the
    // field sends what it holds: the left arrow put the x before the space.
    ASSERT_TRUE(Xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"),
                     QStringLiteral("tm ")}));
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"),
                     QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("End"),
                     QStringLiteral("Left")}));
    ASSERT_TRUE(Xdo({QStringLiteral("type"), QStringLiteral("x")}));
    RunEventsFor(300);
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("Return")}));
    const QString page = Endpoints::MusicPagePaths().value(0);
    EXPECT_TRUE(WaitFor(
        [&] {
            return service.ServiceServer().RequestedTargets().contains(page +
                                                                       QStringLiteral("?q=tmx+"));
        },
        5000))
        << service.ServiceServer().RequestedTargets().join(QStringLiteral(" ")).toStdString();
    RunEventsFor(500);
    EXPECT_EQ(session.Volume(), volume);
    EXPECT_EQ(session.IsMuted(), muted);
    EXPECT_EQ(session.IsOn(SessionOption::OnTop), onTop);
    EXPECT_TRUE(session.IsPlaying());
    EXPECT_FALSE(session.IsFullScreen());

    // Typing into the field, then the pointer back over the picture: the
    // window has its keys again, and M mutes instead of reaching the field.
    ASSERT_TRUE(WaitFor([&] {
        field = SearchFieldOnScreen(window_->Tabs().Web().Browser());
        return field.isValid();
    }));
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(field.center()));
    QWidget* picture = window_->Player();
    ASSERT_TRUE(Xdo(MoveTo(picture->mapToGlobal(picture->rect().center()))));
    RunEventsFor(300);
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("m")}));
    EXPECT_TRUE(WaitFor([&] { return session.IsMuted() != muted; }, 3000));
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("m")}));
    EXPECT_TRUE(WaitFor([&] { return session.IsMuted() == muted; }, 3000));

    // Off the field, on the page: the page leaves M alone and the window mutes.
    ASSERT_TRUE(
        WaitFor([&] { return SearchFieldOnScreen(window_->Tabs().Web().Browser()).isValid(); }));
    QWidget* browser = window_->Tabs().Web().Browser();
    ASSERT_NO_FATAL_FAILURE(
        ClickOnScreen(browser->mapToGlobal(QPoint(browser->width() / 2, browser->height() - 10))));
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("m")}));
    EXPECT_TRUE(WaitFor([&] { return session.IsMuted() != muted; }, 3000));

    // On the channel list: M toggles it back.
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(
        window_->mapToGlobal(window_->Button(ControlId::TabChannels)->geometry().center())));
    QWidget* list = window_->ListView();
    ASSERT_TRUE(WaitFor([&] { return list->isVisible(); }, 3000));
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(list->mapToGlobal(list->rect().center())));
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("m")}));
    EXPECT_TRUE(WaitFor([&] { return session.IsMuted() == muted; }, 3000));
    EXPECT_EQ(session.Volume(), volume);
    EXPECT_TRUE(session.IsPlaying());
    window_->Playback()->Watch().StopPlayback();
    service.Stop();
}

// --- The question after a connection timed out -------------------------------
// A stream that never connects (the server reads the request and sends
// nothing) times out after fifteen seconds; the question is answered with
// Enter as a user does, and a stand-in for the desktop's browser records
// what would have opened.

class TimeOutQuestion : public WindowE2E {
protected:
    // Starts the window with the stand-in and plays the stalled stream.
    void StartAndPlayStalled() {
        ASSERT_TRUE(server_.Listen());
        server_.SetFallback([](const demo::HttpRequest&) { return demo::HttpResponse::Stall(); });
        Settings::WriteText(Settings::Menu, QStringLiteral("1"));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
        ASSERT_NO_FATAL_FAILURE(StartWindow());
        window_->DesktopLauncher() =
            (Launcher({[this](const QUrl& url) {
                           opened_ << url;
                           return true;
                       },
                       [](const QString&, const QStringList&) { return true; }}));
        window_->Playback()->Watch().PlayAddress(server_.Url(kPath));
    }

    // Waits for the question, presses Enter on the keyboard and returns the
    // question's text once the box has gone. The box runs its own event loop
    // inside the watch's tick, so the key is sent from a timer that runs there.
    QString AnswerWithEnter() {
        QString text;
        bool answered = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isActiveWindow() || answered)
                return;
            answered = true;
            poll.stop();
            text = box->text();
            RunEventsFor(300);
            EXPECT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("Return")}));
        });
        poll.start(50);
        EXPECT_TRUE(WaitFor(
            [&] { return answered && QApplication::activeModalWidget() == nullptr; }, 25000))
            << (answered ? "Enter did not answer the question" : "no question after the time-out");
        RunEventsFor(300);
        return text;
    }

    static inline const QString kPath = QStringLiteral("/tv1/index.m3u8");
    demo::LoopbackHttpServer server_;
    QList<QUrl> opened_;
};

TEST_F(TimeOutQuestion, EnterOpensTheHomePageOfTheServiceTheUserEntered) {
    const QString service = QStringLiteral("http://localhost:%1").arg(FreePort());
    SourceSettings().Set(Category::Tv, ChannelSource::Of(ChannelSource::Kind::Service, service));
    ASSERT_NO_FATAL_FAILURE(StartAndPlayStalled());
    EXPECT_EQ(AnswerWithEnter(), StatusDisplay::TimeoutQuestion());
    EXPECT_EQ(opened_, QList<QUrl>{QUrl(service)});
    EXPECT_EQ(window_->Session().StatusText(), StatusDisplay::Failed());
    server_.Close();
}

TEST_F(TimeOutQuestion, WithPublicSourcesEnterTriesAgainAndOpensNothing) {
    SourceSettings settings;
    for (Category tab : kSourceTabs)
        settings.Set(tab, ChannelSource{ChannelSource::Kind::Playlist,
                                        QStringLiteral("http://127.0.0.1:1/list.m3u")});
    settings.Set(Category::Radio,
                 ChannelSource{ChannelSource::Kind::Directory, QStringLiteral("countrycode=KR")});
    ASSERT_NO_FATAL_FAILURE(StartAndPlayStalled());
    ASSERT_TRUE(WaitFor([&] { return server_.RequestCount(kPath) > 0; }, 5000));
    const int requests = server_.RequestCount(kPath);
    EXPECT_EQ(AnswerWithEnter(), StatusDisplay::TimeoutRetryQuestion());
    EXPECT_TRUE(opened_.isEmpty());
    // The same stream is connected again.
    EXPECT_TRUE(WaitFor([&] { return server_.RequestCount(kPath) > requests; }, 5000));
    EXPECT_TRUE(WaitFor(
        [&] { return window_->Session().StatusText() == StatusDisplay::Connecting(); }, 3000));
    window_->Playback()->Watch().StopPlayback();
    server_.Close();
}

// The screen point of a list row's name.
QPoint RowOnScreen(CChannelListView* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    return list->viewport()->mapToGlobal(cell.center());
}

// Right-clicks a screen point, then clicks the item `text` of the menu that
// opens there, as the user does (the menu runs its own loop meanwhile).
void ChooseFromMenuAt(QPoint at, const QString& text) {
    bool chosen = false;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || chosen)
            return;
        for (QAction* action : menu->actions()) {
            if (action->text() != text)
                continue;
            chosen = true;
            poll.stop();
            ClickOnScreen(menu->mapToGlobal(menu->actionGeometry(action).center()));
            return;
        }
    });
    poll.start();
    ASSERT_TRUE(Xdo(MoveTo(at)));
    RunEventsFor(150);
    ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("3")}));
    ASSERT_TRUE(WaitFor([&] { return chosen && !QApplication::activePopupWidget(); }, 5000))
        << "the list's menu or its item " << text.toStdString() << " did not show";
    RunEventsFor(300);
}

// The list's commands act on the row the user right-clicked, never on a row
// clicked earlier on another tab; with no row chosen they say so.
TEST_F(WindowE2E, ListMenuDeletesTheRightClickedChannel) {
    if (!ServiceIsOnLoopback())
        GTEST_SKIP() << "the service host is not a loopback address in this build";
    demo::DemoService service;
    ASSERT_TRUE(StartDemoService(service));
    // user.dat as the program writes it: CP949 lines ending in CR LF.
    const QString userFile = home_->dataHome() + QStringLiteral("/waveorbit/user.dat");
    const QByteArray a = "\xc0\xcf\xb9\xdd\xb5\xee\xb7\xcf#A#a#x#http://127.0.0.1:9/a#N#\r\n";
    const QByteArray b = "\xc0\xcf\xb9\xdd\xb5\xee\xb7\xcf#B#b#x#http://127.0.0.1:9/b#N#\r\n";
    const QByteArray c = "\xc0\xcf\xb9\xdd\xb5\xee\xb7\xcf#C#c#x#http://127.0.0.1:9/c#N#\r\n";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(userFile).path()));
    WriteBytes(userFile, a + b + c);

    StartWindow();
    QStringList messages;
    window_->Prompts().SetMessageHandler([&messages](const QString& text) { messages << text; });
    CChannelListView* list = window_->ListView();
    ASSERT_TRUE(WaitFor([&] { return list->model()->rowCount() > 2; }, 10000))
        << "the TV tab's list did not arrive";
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(RowOnScreen(list, 1)));
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(
        window_->mapToGlobal(window_->Button(ControlId::CategoryUser)->geometry().center())));
    ASSERT_TRUE(WaitFor([&] { return list->model()->rowCount() == 3; }, 3000))
        << list->model()->rowCount() << " rows";
    // The list shows C, B, A: "A" is the last row.
    ASSERT_EQ(list->model()->index(2, 1).data().toString(), QStringLiteral("A"));
    ASSERT_NO_FATAL_FAILURE(
        ChooseFromMenuAt(RowOnScreen(list, 2), QStringLiteral("선택항목 삭제")));
    EXPECT_EQ(ReadBytes(userFile), b + c);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QStringLiteral(" / ")).toStdString();

    // Below the last row nothing is chosen: nothing is deleted, and the user
    // hears why.
    const QPoint belowRows = list->viewport()->mapToGlobal(
        QPoint(list->viewport()->width() / 2, list->viewport()->height() - 5));
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuAt(belowRows, QStringLiteral("선택항목 삭제")));
    EXPECT_EQ(ReadBytes(userFile), b + c);
    EXPECT_EQ(messages, QStringList{QStringLiteral("목록에서 채널을 먼저 선택해주세요.")});
    service.Stop();
}

// Ctrl+F opens the find field over the list; what is typed there, Korean
// initial consonants, syllables mixed with them and Latin in any case,
// narrows the rows with the match marked; the window's letter keys are
// typing meanwhile, Enter plays the row chosen, and Escape shows every row
// again with the selection kept and gives the window its keys back.
TEST_F(WindowE2E, FindFieldNarrowsTheListAsTheUserTypes) {
    if (!ServiceIsOnLoopback())
        GTEST_SKIP() << "the service host is not a loopback address in this build";
    demo::DemoService service;
    ASSERT_TRUE(StartDemoService(service));
    StartWindow();
    CChannelListView* list = window_->ListView();
    ASSERT_TRUE(WaitFor([&] { return list->model()->rowCount() > 2; }, 10000))
        << "the TV tab's list did not arrive";
    // The start's version check may fill the tab again: the rows below are
    // put in once it is over, or a late refill would take them away.
    ASSERT_TRUE(WaitFor([&] { return window_->Channels().Downloads().IsIdle(); }, 10000));
    RunEventsFor(300);
    const QStringList names = {QStringLiteral("KBS 1TV"),  QStringLiteral("국악방송"),
                               QStringLiteral("아리랑"),   QStringLiteral("Arirang Radio"),
                               QStringLiteral("국민방송"), QStringLiteral("EBS 1")};
    std::vector<ChannelRecord> rows;
    for (const QString& name : names) {
        ChannelRecord r;
        r.fields = {QStringLiteral("1"),
                    name,
                    QString(),
                    QString(),
                    QStringLiteral("http://127.0.0.1:9/") + QString::number(rows.size()),
                    QStringLiteral("N"),
                    QString()};
        rows.push_back(r);
    }
    window_->ListModel()->ReplaceRows(rows);
    RunEventsFor(200);
    // Choosing a row by a click is proven by the list menu's case; here it
    // only sets the scene, so a click the window manager swallowed while
    // settling the new window is given again.
    for (int attempt = 0; attempt < 3 && list->SelectedListRows() != QList<int>{2}; ++attempt)
        ASSERT_NO_FATAL_FAILURE(ClickOnScreen(RowOnScreen(list, 2)));
    ASSERT_EQ(list->SelectedListRows(), QList<int>{2});
    const PlayerSession& session = window_->Session();
    const bool muted = session.IsMuted();
    const bool onTop = session.IsOn(SessionOption::OnTop);

    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("ctrl+f")}));
    ASSERT_TRUE(WaitFor([&] { return list->FindField()->hasFocus(); }, 3000))
        << "Ctrl+F did not open the find field";
    auto shown = [&] {
        QStringList texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts << list->model()->index(row, 1).data().toString();
        return texts;
    };
    // xdotool types a letter the keyboard lacks (Hangul here) by mapping it
    // to a spare key for a moment; a key that comes before the program has
    // read the new mapping is lost on a busy machine. So the text is typed
    // anew (at most three times) when the list does not follow it.
    auto typeAndWait = [&](const QString& text, const QStringList& expected) {
        bool followed = false;
        for (int attempt = 0; attempt < 3 && !followed; ++attempt) {
            EXPECT_TRUE(Xdo(
                {QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("BackSpace")}));
            EXPECT_TRUE(Xdo(
                {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text}));
            followed = WaitFor([&] { return shown() == expected; }, 3000);
        }
        EXPECT_TRUE(followed) << text.toStdString() << " shows "
                              << shown().join(QStringLiteral(", ")).toStdString();
    };
    typeAndWait(QStringLiteral("ㄱㅇ"), {QStringLiteral("국악방송")});
    // The match is drawn marked: gold behind the matched syllables.
    RunEventsFor(200);
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    const QImage grabbed = list->viewport()->grab(cell).toImage();
    int marked = 0;
    for (int y = 0; y < grabbed.height(); ++y)
        for (int x = 0; x < grabbed.width(); ++x)
            marked += grabbed.pixelColor(x, y) == QColor(255, 204, 51) ? 1 : 0;
    EXPECT_GT(marked, 40) << "no marked match in the row";
    typeAndWait(QStringLiteral("국ㅁ"), {QStringLiteral("국민방송")});
    typeAndWait(QStringLiteral("ㅇㄹㄹ"), {QStringLiteral("아리랑")});
    // M, T and space are typing here, not mute, on top or stop.
    typeAndWait(QStringLiteral("kbs 1tv"), {QStringLiteral("KBS 1TV")});
    typeAndWait(QStringLiteral("ARI"), {QStringLiteral("Arirang Radio")});
    EXPECT_EQ(session.IsMuted(), muted);
    EXPECT_EQ(session.IsOn(SessionOption::OnTop), onTop);

    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("Escape")}));
    EXPECT_TRUE(WaitFor([&] { return shown() == names; }, 3000));
    EXPECT_FALSE(list->IsFindOpen());
    EXPECT_EQ(list->SelectedListRows(), QList<int>{2});
    // The window has its keys again: M mutes.
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("m")}));
    EXPECT_TRUE(WaitFor([&] { return session.IsMuted() != muted; }, 3000));

    // Enter in the field plays the row chosen, the first shown when the
    // chosen one is not shown, and goes not to full screen.
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(RowOnScreen(list, 4)));
    ASSERT_TRUE(WaitFor([&] { return session.CurrentRow() == 4; }, 3000))
        << "the click chose row " << session.CurrentRow();
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("ctrl+f")}));
    ASSERT_TRUE(WaitFor([&] { return list->FindField()->hasFocus(); }, 3000));
    typeAndWait(QStringLiteral("ㅇㄹ"), {QStringLiteral("아리랑")});
    ASSERT_TRUE(Xdo({QStringLiteral("key"), QStringLiteral("Return")}));
    EXPECT_TRUE(WaitFor([&] { return session.CurrentRow() == 2; }, 3000));
    EXPECT_FALSE(session.IsFullScreen());
    window_->Playback()->Watch().StopPlayback();
    service.Stop();
}

// The settings dialog as the window opens it, shown over the window and
// given the keys by the window manager; its place on the screen.
QPoint ShowSettings(CSettingsDlg& dialog) {
    dialog.show();
    EXPECT_TRUE(WaitFor([&] { return dialog.isVisible() && dialog.isActiveWindow(); }, 5000));
    const QString id = QString::number(dialog.winId());
    // Where the X server has it once it stands still (a window manager may
    // map it at the origin and move it a moment later).
    QRect placed;
    QRect last;
    EXPECT_TRUE(WaitFor(
        [&] {
            last = placed;
            placed = WindowOnScreen(id);
            RunEventsFor(100);
            return placed.isValid() && placed == last && placed.topLeft() != QPoint(0, 0);
        },
        5000))
        << "the dialog stands at " << placed.x() << "," << placed.y();
    return placed.topLeft();
}

bool Keys(const QStringList& keys) {
    return Xdo(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("80")} +
               keys);
}

// The region box stores the place the user picked from its list, even the
// one it showed already: by the mouse, and by the keys alone.
TEST_F(WindowE2E, SettingsRegionBoxStoresThePlaceChosenByMouseOrKeys) {
    StartWindow();
    ASSERT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("자동"));
    {
        CSettingsDlg dialog(&window_->Session(), window_.get());
        const QPoint at = ShowSettings(dialog);
        QComboBox* region = dialog.Region();
        // Nothing stored: the box says what the tabs use, not a city.
        ASSERT_EQ(region->currentText(), QStringLiteral("자동"));
        ASSERT_NO_FATAL_FAILURE(ClickOnScreen(at + region->geometry().center()));
        ASSERT_TRUE(WaitFor([&] { return region->view()->isVisible(); }, 3000));
        RunEventsFor(300);
        QAbstractItemView* list = region->view();
        const QRect item = list->visualRect(region->model()->index(region->currentIndex(), 0));
        ASSERT_NO_FATAL_FAILURE(ClickOnScreen(list->viewport()->mapToGlobal(item.center())));
        ASSERT_TRUE(WaitFor([&] { return !list->isVisible(); }, 3000));
        ASSERT_NO_FATAL_FAILURE(
            ClickOnScreen(at + dialog.Button(CSettingsDlg::Control::Ok)->geometry().center()));
        ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }, 3000));
    }
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("자동"));
    {
        CSettingsDlg dialog(&window_->Session(), window_.get());
        const QPoint at = ShowSettings(dialog);
        ASSERT_TRUE(dialog.Region()->hasFocus());
        // The list opened by the keys, two places down, taken with Enter.
        ASSERT_TRUE(Keys({QStringLiteral("alt+Down")}));
        ASSERT_TRUE(WaitFor([&] { return dialog.Region()->view()->isVisible(); }, 3000));
        ASSERT_TRUE(
            Keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")}));
        ASSERT_TRUE(WaitFor([&] { return !dialog.Region()->view()->isVisible(); }, 3000));
        EXPECT_EQ(dialog.Region()->currentText(), QStringLiteral("광주"));
        ASSERT_NO_FATAL_FAILURE(
            ClickOnScreen(at + dialog.Button(CSettingsDlg::Control::Ok)->geometry().center()));
        ASSERT_TRUE(WaitFor([&] { return !dialog.isVisible(); }, 3000));
    }
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("광주"));
}

// How much of a picture is a light, colourless grey: the default palette's
// window and field colours, which the skin never uses.
double LightGreyShare(const QImage& image) {
    int light = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int low = std::min({c.red(), c.green(), c.blue()});
            const int high = std::max({c.red(), c.green(), c.blue()});
            if (low > 180 && high - low < 24)
                ++light;
        }
    return double(light) / (image.width() * image.height());
}

// The channel lists are a page of the settings dialog, reached by a click on
// its page button and by the keys, and drawn in the dialog's skin.
TEST_F(WindowE2E, SettingsChannelListPageIsReachedByMouseAndKeysInTheSkin) {
    StartWindow();
    CSettingsDlg dialog(&window_->Session(), window_.get());
    const QPoint at = ShowSettings(dialog);
    CSourcesPage* page = dialog.Sources();
    ASSERT_FALSE(page->isVisible());
    ASSERT_NO_FATAL_FAILURE(
        ClickOnScreen(at + dialog.Button(CSettingsDlg::Control::PageSources)->geometry().center()));
    ASSERT_TRUE(WaitFor([&] { return dialog.Page() == 4 && page->isVisible(); }, 3000));
    RunEventsFor(300);

    // What the X server shows of the page: the dark skin, the fields dark too.
    const QImage shot =
        dialog.screen()
            ->grabWindow(0, at.x() + page->x(), at.y() + page->y(), page->width(), page->height())
            .toImage();
    const QString pictures = qEnvironmentVariable("WAVEORBIT_E2E_PICTURES");
    if (!pictures.isEmpty())
        shot.save(pictures + QStringLiteral("/settings-channel-lists.png"));
    EXPECT_LT(LightGreyShare(shot), 0.002);
    for (QWidget* field :
         {static_cast<QWidget*>(page->AddressEdit()), static_cast<QWidget*>(page->KindBox()),
          static_cast<QWidget*>(page->DefaultsButton())}) {
        const QColor inside = shot.pixelColor(field->geometry().topLeft() + QPoint(2, 3));
        EXPECT_LT(inside.lightness(), 80) << field->objectName().toStdString();
    }
    EXPECT_FALSE(page->AddressEdit()->text().isEmpty());

    // By the keys: back to the first page and round to the channel lists.
    ASSERT_NO_FATAL_FAILURE(
        ClickOnScreen(at + dialog.Button(CSettingsDlg::Control::PageBasic)->geometry().center()));
    ASSERT_TRUE(WaitFor([&] { return dialog.Page() == 1; }, 3000));
    ASSERT_TRUE(Keys({QStringLiteral("ctrl+Tab"), QStringLiteral("ctrl+Tab")}));
    EXPECT_TRUE(WaitFor([&] { return dialog.Page() == 3; }, 3000));
    ASSERT_TRUE(Keys({QStringLiteral("ctrl+Next")}));
    EXPECT_TRUE(WaitFor([&] { return dialog.Page() == 4 && page->isVisible(); }, 3000));
    // The keys go on in the page: the tab box has them, and Down shows the
    // next tab's source.
    EXPECT_TRUE(page->TabBox()->hasFocus());
    ASSERT_TRUE(Keys({QStringLiteral("Down")}));
    EXPECT_TRUE(WaitFor([&] { return page->ShownTab() == Category::World; }, 3000));
    ASSERT_TRUE(Keys({QStringLiteral("ctrl+shift+Tab")}));
    EXPECT_TRUE(WaitFor([&] { return dialog.Page() == 3; }, 3000));
    ASSERT_TRUE(Keys({QStringLiteral("ctrl+Prior")}));
    EXPECT_TRUE(WaitFor([&] { return dialog.Page() == 2; }, 3000));
    dialog.hide();
}

// --- The program itself on a desktop without a tray --------------------------
// These cases run in a process and on an X server of their own (a ctest entry
// of their own): no tray host has ever run there, so the desktop really has
// no tray, whatever the other cases started.

// The program in its own process, with the test's settings folders; ended
// by SIGTERM (as the session ends it) and killed should that not do.
class ProgramProcess {
public:
    bool Start() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(QStringLiteral(WAVEORBIT_PROGRAM), {});
        return process_.waitForStarted(10000);
    }
    qint64 Pid() const { return process_.processId(); }
    bool EndsNormally() {
        process_.terminate();
        if (!WaitFor([this] { return process_.state() == QProcess::NotRunning; }, 15000))
            return false;
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }
    ~ProgramProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

private:
    QProcess process_;
};

using TrayLessDesktop = WindowE2E;

// With the tray option stored and no tray to show its icon, the program's
// window keeps its taskbar button, and the minimise button iconifies it (the
// taskbar can bring it back) instead of hiding it out of reach.
TEST_F(TrayLessDesktop, TrayOptionKeepsTheProgramsWindowReachable) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable())
        << "a tray host runs on this X server; this case needs one of its own";
    Settings::WriteText(Settings::Tray, QStringLiteral("1"));
    ProgramProcess program;
    ASSERT_TRUE(program.Start());
    QString window;
    ASSERT_TRUE(WaitFor(
        [&] {
            window = VisibleWindowOf(program.Pid());
            return !window.isEmpty();
        },
        20000))
        << "the program's window did not show";
    RunEventsFor(1000);

    // A normal window on the window manager's list, not a tool window that
    // taskbars leave out.
    const QString kind = WindowProperties(
        window, {QStringLiteral("_NET_WM_WINDOW_TYPE"), QStringLiteral("_NET_WM_STATE")});
    EXPECT_TRUE(kind.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_NORMAL"))) << kind.toStdString();
    EXPECT_FALSE(kind.contains(QStringLiteral("_NET_WM_WINDOW_TYPE_UTILITY")))
        << kind.toStdString();
    EXPECT_FALSE(kind.contains(QStringLiteral("SKIP_TASKBAR"))) << kind.toStdString();
    const QString clients = RunTool(QStringLiteral("xprop"),
                                    {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST")})
                                .output;
    EXPECT_TRUE(clients.contains(QStringLiteral("0x%1").arg(window.toULongLong(), 0, 16)))
        << clients.toStdString();

    // The minimise button, clicked for real.
    const QRect placed = WindowOnScreen(window);
    ASSERT_TRUE(placed.isValid());
    const QPoint minimise =
        placed.topLeft() +
        QPoint(placed.width() - SkinMetrics::kMinimiseFromRight +
                   SkinMetrics::kCaptionButtonSize.width() / 2,
               SkinMetrics::kCaptionButtonTop + SkinMetrics::kCaptionButtonSize.height() / 2);
    ASSERT_NO_FATAL_FAILURE(ClickOnScreen(minimise));
    EXPECT_TRUE(WaitFor(
        [&] {
            return WindowProperties(window, {QStringLiteral("WM_STATE")})
                .contains(QStringLiteral("Iconic"));
        },
        5000))
        << WindowProperties(window, {QStringLiteral("WM_STATE")}).toStdString();

    // Brought back as a taskbar does, by activating it.
    ASSERT_TRUE(Xdo({QStringLiteral("windowactivate"), window}));
    EXPECT_TRUE(WaitFor(
        [&] {
            return WindowProperties(window, {QStringLiteral("WM_STATE")})
                .contains(QStringLiteral("Normal"));
        },
        5000))
        << WindowProperties(window, {QStringLiteral("WM_STATE")}).toStdString();
    EXPECT_EQ(VisibleWindowOf(program.Pid()), window);
    EXPECT_TRUE(program.EndsNormally());
    EXPECT_EQ(Settings::ReadText(Settings::Tray), QStringLiteral("1"));
}

} // namespace
