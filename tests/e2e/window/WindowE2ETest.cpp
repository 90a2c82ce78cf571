// The main window on a real X server with a window manager (openbox) and a
// tray host (trayer): moving and resizing by the mouse as the window system
// runs them, and the tray icon bringing a hidden window back. Real pointer
// input comes from xdotool.
#include "app/SettingsTable.h"
#include "demo/LiveStreams.h"
#include "mainwindow/CPlayerDlg.h"
#include "playback/CWMPPlayer4.h"
#include "skin/CMinsButton.h"

#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs a short helper program while the window keeps answering the X server.
bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return false;
    WaitFor([&process] { return process.state() == QProcess::NotRunning; }, 10000);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(2000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

bool Xdo(const QStringList& arguments) {
    return RunTool(QStringLiteral(WAVEORBIT_XDOTOOL), arguments);
}

// Presses the left button at a screen point, first travels `lead` pixels
// sideways (towards `by`) if asked, then drags by `by` in steps and releases.
void DragOnScreen(QPoint from, QPoint by, int lead = 0) {
    const auto at = [](QPoint p) {
        return QStringList{QStringLiteral("mousemove"), QString::number(p.x()),
                           QString::number(p.y())};
    };
    ASSERT_TRUE(Xdo(at(from)));
    RunEventsFor(150);
    ASSERT_TRUE(Xdo({QStringLiteral("mousedown"), QStringLiteral("1")}));
    RunEventsFor(200);
    const QPoint start = from + QPoint(by.x() < 0 ? -lead : lead, 0);
    if (lead > 0) {
        ASSERT_TRUE(Xdo(at(start)));
        RunEventsFor(150);
    }
    for (int step = 1; step <= 5; ++step) {
        ASSERT_TRUE(Xdo(at(start + by * step / 5)));
        RunEventsFor(80);
    }
    RunEventsFor(200);
    ASSERT_TRUE(Xdo({QStringLiteral("mouseup"), QStringLiteral("1")}));
    RunEventsFor(400);
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

bool WindowManagerRuns() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    xprop.waitForFinished(3000);
    return xprop.readAllStandardOutput().contains("window id");
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

    void StartWindow() {
        window_ = std::make_unique<CPlayerDlg>();
        CWMPPlayer4::Options options;
        options.audioOutput = QStringLiteral("null");
        window_->UsePlayer(new CWMPPlayer4(options));
        window_->SetMessageHandler([](const QString&) {});
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
    QPoint grab;
    for (int x = 20; x < window_->width() / 2; x += 5) {
        if (!window_->childAt(QPoint(x, 18))) {
            grab = QPoint(x, 18);
            break;
        }
    }
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

// Two clicks of the real pointer in place, as a user double-clicks.
void DoubleClickOnScreen(QPoint at) {
    ASSERT_TRUE(
        Xdo({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}));
    RunEventsFor(200);
    ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                     QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")}));
}

// Under a window manager a press must not hand the pointer over at once, or
// the second click never forms a double click: the caption maximises and
// restores, every time, and a drag afterwards still moves the window.
TEST_F(WindowE2E, CaptionDoubleClickMaximisesUnderTheWindowManager) {
    StartWindow();
    QPoint grab;
    for (int x = 20; x < window_->width() / 2; x += 5) {
        if (!window_->childAt(QPoint(x, 18))) {
            grab = QPoint(x, 18);
            break;
        }
    }
    ASSERT_FALSE(grab.isNull());
    const QRect normal = window_->frameGeometry();
    // A first click in place makes the window the active one, and moves nothing.
    ASSERT_TRUE(Xdo({QStringLiteral("mousemove"), QString::number(window_->mapToGlobal(grab).x()),
                     QString::number(window_->mapToGlobal(grab).y())}));
    RunEventsFor(150);
    ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("1")}));
    RunEventsFor(700);
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
    window_->PlayUrl(streams.VideoUrl(1));
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
    window_->StopPlayback();
}

TEST_F(WindowE2E, MagnetPutsAWindowDroppedNearTheEdgeOnIt) {
    Settings::WriteText(Settings::Magnet, QStringLiteral("1"));
    StartWindow();
    window_->move(200, 150);
    ASSERT_TRUE(
        WaitFor([&] { return window_->frameGeometry().topLeft() == QPoint(200, 150); }, 3000));
    RunEventsFor(400);
    QPoint grab;
    for (int x = 20; x < window_->width() / 2; x += 5) {
        if (!window_->childAt(QPoint(x, 18))) {
            grab = QPoint(x, 18);
            break;
        }
    }
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
    QSystemTrayIcon* tray = window_->TrayIcon();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(WaitFor([tray] { return tray->geometry().isValid(); }, 10000))
        << "the icon was not embedded in the tray";
    const QRect icon = tray->geometry();
    EXPECT_GT(icon.width(), 0);

    // With a tray, hiding hides: only the icon remains.
    window_->HideWindow();
    RunEventsFor(300);
    ASSERT_FALSE(window_->isVisible());

    // The tray host may still lay its icons out after embedding: click where
    // the icon is at that moment, and once more should the first click have
    // landed while it moved.
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        RunEventsFor(300);
        const QPoint centre = tray->geometry().center();
        ASSERT_TRUE(Xdo({QStringLiteral("mousemove"), QString::number(centre.x()),
                         QString::number(centre.y())}));
        RunEventsFor(150);
        ASSERT_TRUE(Xdo({QStringLiteral("click"), QStringLiteral("1")}));
        shown = WaitFor([this] { return window_->isVisible(); }, 3000);
    }
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window_->isMinimized());
}

} // namespace
