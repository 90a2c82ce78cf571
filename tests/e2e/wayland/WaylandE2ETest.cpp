// The program on a Wayland desktop: Weston's headless back end drawing in
// memory with pixman (tests/e2e/wayland/weston-run.sh), every picture taken
// by the compositor itself (weston-screenshooter), so what is checked is what
// a user would see, not what the widgets believe they drew. The streams are
// the demo's live radio and TV on 127.0.0.1.
#include "app/Paths.h"
#include "app/PlayerSession.h"
#include "app/SettingsStore.h"
#include "app/SettingsTable.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/M3uPlaylist.h"
#include "demo/LiveStreams.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStyle.h"
#include "playback/CWMPPlayer4.h"
#include "playback/StatusDisplay.h"

#include "TestFolders.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

// The desktop's background (weston-run.sh paints it this grey).
constexpr QRgb kDesktop = 0xff202020;

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// The whole output as the compositor composed it.
QImage CompositorShot() {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    // The compositor answers only while this process keeps serving its own
    // windows, so the event loop runs while the shooter waits.
    if (!shooter.waitForStarted(5000) ||
        !QTest::qWaitFor([&] { return shooter.state() == QProcess::NotRunning; }, 10000))
        return {};
    const QStringList files = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    if (files.isEmpty())
        return {};
    return QImage(folder.filePath(files.first())).convertToFormat(QImage::Format_RGB32);
}

// The bounding box of everything on the output that is not the desktop.
QRect ContentBox(const QImage& shot) {
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            if (line[x] != kDesktop) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Waits until the compositor shows something in a box that satisfies `good`.
QRect WaitForContent(const std::function<bool(const QRect&)>& good, int ms = 8000) {
    QRect box;
    (void)QTest::qWaitFor(
        [&] {
            box = ContentBox(CompositorShot());
            return good(box);
        },
        ms);
    return box;
}

// Share of pixels that differ by more than a little between two pictures of
// the same size.
double DifferentShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    qint64 different = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            different += qAbs(qRed(p) - qRed(q)) > 24 || qAbs(qGreen(p) - qGreen(q)) > 24 ||
                         qAbs(qBlue(p) - qBlue(q)) > 24;
        }
    return double(different) / (a.width() * a.height());
}

struct Picture {
    int changed = 0; // sampled pixels that differ between the two pictures
    int white = 0;   // sampled pixels that are nearly white in the second
    int lit = 0;     // and that are not black
    int samples = 0;
};
Picture Compare(const QImage& first, const QImage& second) {
    Picture p;
    for (int y = 0; y < first.height(); y += 2)
        for (int x = 0; x < first.width(); x += 2) {
            const QRgb now = second.pixel(x, y);
            ++p.samples;
            p.changed += first.pixel(x, y) != now;
            p.white += qRed(now) > 235 && qGreen(now) > 235 && qBlue(now) > 235;
            p.lit += qGray(now) > 40;
        }
    return p;
}

// Everything Qt and the program print while the window is worked.
QStringList& Printed() {
    static QStringList lines;
    return lines;
}
void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        Printed().append(text);
}

// A user channel list with the demo radio and TV, the user tab open.
void WriteUserChannels(const demo::LiveStreams& streams) {
    // The newest comes first in the list: the TV is row 0.
    CUserChannelFile file(Paths::DataFolder());
    ASSERT_TRUE(file.Append(M3uPlaylist::ToUserRecord(
        M3uPlaylist::Entry{QStringLiteral("웨이브 라디오"), QString(), streams.AudioUrl(1)},
        QStringLiteral("http://127.0.0.1:1"))));
    ASSERT_TRUE(file.Append(M3uPlaylist::ToUserRecord(
        M3uPlaylist::Entry{QStringLiteral("웨이브 TV"), QString(), streams.VideoUrl(1)},
        QStringLiteral("http://127.0.0.1:1"))));
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
}

class WaylandE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"))
            << "run under tests/e2e/wayland/weston-run.sh";
        ASSERT_FALSE(
            QStandardPaths::findExecutable(QStringLiteral("weston-screenshooter")).isEmpty());
        const QStringList missing = demo::LiveStreams::MissingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
        demo::LiveStreamOptions options;
        options.audioPort = FreePort();
        options.videoPort = FreePort();
        QString error;
        ASSERT_TRUE(streams_.Start(options, &error)) << error.toStdString();
        ASSERT_NO_FATAL_FAILURE(WriteUserChannels(streams_));
    }

    ScopedXdgHome home_;
    demo::LiveStreams streams_;
};

struct Window {
    std::unique_ptr<CPlayerDlg> dialog;
    QStringList messages;

    Window() {
        dialog = std::make_unique<CPlayerDlg>();
        dialog->Channels().Catalogue().SetServiceBaseAddress(QStringLiteral("http://127.0.0.1:1"));
        CWMPPlayer4::Options options;
        options.audioOutput = QStringLiteral("null");
        dialog->UsePlayer(new CWMPPlayer4(options));
        dialog->Prompts().SetMessageHandler([this](const QString& text) { messages.append(text); });
        dialog->Prompts().SetQuestionHandler([](const QString&, const QString&) { return false; });
        dialog->OnInitDialog();
        dialog->show();
    }
};

int RowOf(const CPlayerDlg& window, const QString& url) {
    const ChannelListModel* model = window.ListModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->CellText(row, ChannelRecord::Url) == url)
            return row;
    return -1;
}

// The picture area of the window on the output, found from where the
// window shows and the window's own layout.
QRect PictureOnScreen(const CPlayerDlg& window, const QRect& windowOnScreen) {
    return window.Layout().Current().videoArea.ToRect().translated(windowOnScreen.topLeft());
}

// Two pictures of the area a moment apart.
Picture TwoPictures(const QRect& area) {
    const QImage first = CompositorShot().copy(area);
    QTest::qWait(1200);
    const QImage second = CompositorShot().copy(area);
    if (!qEnvironmentVariableIsEmpty("WAVEORBIT_TEST_SHOTS")) {
        first.save(qEnvironmentVariable("WAVEORBIT_TEST_SHOTS") + "/picture1.png");
        second.save(qEnvironmentVariable("WAVEORBIT_TEST_SHOTS") + "/picture2.png");
    }
    return Compare(first, second);
}

bool Moves(const Picture& p) {
    return p.changed > 200 && p.white < p.samples / 4 && p.lit > p.samples / 16;
}

// The area shows a picture that moves, and is neither white nor black.
void ExpectMovingPicture(const QRect& area, int ms = 0) {
    Picture picture = TwoPictures(area);
    if (ms > 0)
        (void)QTest::qWaitFor([&] { return Moves(picture = TwoPictures(area)); }, ms);
    EXPECT_GT(picture.changed, 200) << "the picture does not move";
    EXPECT_LT(picture.white, picture.samples / 4) << "the picture area is white";
    EXPECT_GT(picture.lit, picture.samples / 16) << "the picture area is black";
}

// --- the program itself, as a user starts it ---------------------------------

// The real program in its own process with this test's home and desktop.
struct Program {
    QProcess process;
    QByteArray errors;

    bool Start() {
        QObject::connect(&process, &QProcess::readyReadStandardError,
                         [this] { errors += process.readAllStandardError(); });
        process.start(QStringLiteral(WAVEORBIT_PROGRAM), {});
        return process.waitForStarted(10000);
    }
    // What the program printed, less the complaints of the sound libraries
    // on a machine without a sound device (the same under X11).
    std::string Errors() const {
        QStringList lines;
        for (const QString& line : QString::fromUtf8(errors).split(QLatin1Char('\n'))) {
            if (line.isEmpty() || line.startsWith(QLatin1String("ALSA lib ")) ||
                line.contains(QLatin1String(" pw.conf ")))
                continue;
            lines.append(line);
        }
        return lines.join(QLatin1Char('\n')).toStdString();
    }
    bool Finish(int ms) {
        (void)QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, ms);
        errors += process.readAllStandardError();
        return process.state() == QProcess::NotRunning;
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

// The same start under X11, pictured by the program itself.
QImage StartUnderX11() {
    QTemporaryDir folder;
    const QString shot = folder.filePath(QStringLiteral("x11.png"));
    QProcess x11;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("WAVEORBIT_SCREENSHOT"), shot);
    x11.setProcessEnvironment(env);
    x11.start(QStringLiteral("xvfb-run"),
              {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x800x24"),
               QStringLiteral(WAVEORBIT_PROGRAM)});
    if (!x11.waitForStarted(5000) ||
        !QTest::qWaitFor([&] { return x11.state() == QProcess::NotRunning; }, 30000))
        return {};
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

TEST_F(WaylandE2E, TheProgramPaintsItsSkinAsUnderX11AndPlaysTvOnScreen) {
    const QImage x11 = StartUnderX11();
    ASSERT_FALSE(x11.isNull()) << "the X11 start gave no picture";
    // The X11 start saved its settings at close; the Wayland start begins alike.
    Settings::WriteNumber(Settings::Sound, 40);

    {
        Program program;
        ASSERT_TRUE(program.Start());
        const QRect box = WaitForContent([&](const QRect& b) { return b.size() == x11.size(); });
        ASSERT_EQ(box.size(), x11.size()) << "the window never appeared at its size";
        QTest::qWait(700); // the list and status settle as under X11
        const QImage shown = CompositorShot().copy(ContentBox(CompositorShot()));
        EXPECT_LT(DifferentShare(shown, x11), 0.02)
            << "the skin on Wayland differs from the same start under X11";
        ::kill(static_cast<pid_t>(program.process.processId()), SIGTERM);
        ASSERT_TRUE(program.Finish(10000));
        EXPECT_EQ(program.process.exitCode(), 0);
        EXPECT_EQ(program.Errors(), "") << "no error output on Wayland";
    }

    // Where the picture goes, from the window's own layout at this start.
    QRect videoInWindow;
    {
        Window probe;
        videoInWindow = probe.dialog->Layout().Current().videoArea.ToRect();
        probe.dialog->close();
    }

    // Started again with the TV channel set to play at once.
    Settings::WriteFlag(Settings::AutoPlay, true);
    Settings::WriteNumber(Settings::IndexWritten, 0);
    Program program;
    ASSERT_TRUE(program.Start());
    const QRect window = WaitForContent([&](const QRect& b) { return b.size() == x11.size(); });
    ASSERT_EQ(window.size(), x11.size());
    ExpectMovingPicture(videoInWindow.translated(window.topLeft()), 20000);

    // Closed by the session: the settings are kept.
    Settings::Delete(Settings::Sound);
    ::kill(static_cast<pid_t>(program.process.processId()), SIGTERM);
    ASSERT_TRUE(program.Finish(10000));
    EXPECT_EQ(program.process.exitCode(), 0);
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 40);
    EXPECT_EQ(Settings::ReadNumber(Settings::SubMenu), 6);
    EXPECT_EQ(program.Errors(), "");
}

TEST_F(WaylandE2E, TheTvPictureShowsOnScreen) {
    Window w;
    CPlayerDlg& window = *w.dialog;
    const QRect box = WaitForContent([&](const QRect& b) { return b.size() == window.size(); });
    ASSERT_EQ(box.size(), window.size());
    window.Playback()->Watch().PlayAddress(streams_.VideoUrl(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 8000))
        << window.Session().StatusText().toStdString();
    auto* player = static_cast<CWMPPlayer4*>(window.Player());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > 5; }, 8000));
    QTest::qWait(300);
    ExpectMovingPicture(PictureOnScreen(window, box));
    window.close();
}

TEST_F(WaylandE2E, RadioFullScreenListPanelSettingsAndWhatTheCompositorRefuses) {
    Printed().clear();
    const QtMessageHandler previous = qInstallMessageHandler(&Record);
    Window w;
    CPlayerDlg& window = *w.dialog;
    const QRect normal = WaitForContent([&](const QRect& b) { return b.size() == window.size(); });
    ASSERT_EQ(normal.size(), window.size());

    // The radio plays.
    const int radio = RowOf(window, streams_.AudioUrl(1));
    ASSERT_GE(radio, 0);
    window.Playback()->Watch().PlayAddress(streams_.AudioUrl(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 8000))
        << window.Session().StatusText().toStdString();

    // Full screen covers the whole output, and gives the window back.
    window.Layout().ToggleFullScreen();
    const QImage output = CompositorShot();
    const QRect whole(QPoint(0, 0), output.size());
    EXPECT_EQ(WaitForContent([&](const QRect& b) { return b == whole; }), whole);
    EXPECT_TRUE(window.Session().IsFullScreen());
    window.Layout().ToggleFullScreen();
    EXPECT_EQ(WaitForContent([&](const QRect& b) { return b.size() == normal.size(); }).size(),
              normal.size());
    EXPECT_FALSE(window.Session().IsFullScreen());

    // The list panel closes and opens: the window narrows and widens.
    ASSERT_TRUE(window.Session().IsListPanelOpen());
    window.Layout().ToggleListPanel();
    const QRect narrow =
        WaitForContent([&](const QRect& b) { return b.width() < normal.width() - 100; });
    EXPECT_LT(narrow.width(), normal.width() - 100);
    EXPECT_EQ(narrow.height(), normal.height());
    window.Layout().ToggleListPanel();
    EXPECT_EQ(WaitForContent([&](const QRect& b) { return b.size() == normal.size(); }).size(),
              normal.size());

    // The settings dialog appears beside the window and goes again.
    QRect withDialog;
    QTimer::singleShot(0, &window, [&] {
        withDialog = WaitForContent([&](const QRect& b) { return b != normal && !b.isEmpty(); });
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    window.Commands().Run(MenuCommand::Settings);
    EXPECT_NE(withDialog, normal) << "the settings dialog never showed";
    EXPECT_EQ(WaitForContent([&](const QRect& b) { return b.size() == normal.size(); }).size(),
              normal.size());

    // What a Wayland compositor leaves to itself: where the window is, the
    // magnet and staying on top. Asked for anyway, nothing is printed and the
    // window stays as it was.
    window.Session().SetOn(SessionOption::Magnet, true);
    window.move(3, 3);
    window.Style().ToggleOnTop();
    EXPECT_TRUE(window.Session().IsOn(SessionOption::OnTop));
    window.Style().ToggleOnTop();
    EXPECT_FALSE(window.Session().IsOn(SessionOption::OnTop));
    const QRect after = WaitForContent([&](const QRect& b) { return b.size() == normal.size(); });
    EXPECT_EQ(after.size(), normal.size());
    EXPECT_TRUE(window.Session().IsPlaying());

    // Closed with the settings saved.
    window.Playback()->Volume().Down();
    const int volume = window.Session().Volume();
    Settings::Delete(Settings::Sound);
    window.close();
    w.dialog.reset();
    qInstallMessageHandler(previous);
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), volume);
    EXPECT_NE(volume, 100);
    EXPECT_EQ(Settings::ReadNumber(Settings::SubMenu), 6);
    EXPECT_EQ(Printed().join(QLatin1Char('\n')).toStdString(), "") << "printed on Wayland";
    EXPECT_EQ(w.messages.join(QLatin1Char('\n')).toStdString(), "");
}

} // namespace
