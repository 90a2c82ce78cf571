// The main window with the real player (libmpv, no sound output) against
// live streams on 127.0.0.1: an Icecast radio and an HLS TV picture made by
// ffmpeg, a closed port and a server that never answers. The picture is
// drawn by the software renderer as this machine would choose, and by the
// OpenGL renderer when asked.

#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "demo/DemoCatalogues.h"
#include "demo/LiveStreams.h"
#include "demo/LoopbackHttpServer.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/SkinStrips.h"
#include "mainwindow/WindowLayout.h"
#include "playback/CWMPPlayer4.h"
#include "playback/ConnectionWatch.h"
#include "playback/GlSurfaceModule.h"
#include "playback/StatusDisplay.h"
#include "skin/SkinInventory.h"

#include "TestFolders.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTableView>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace {

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// The demo catalogues, their stream addresses moved to the test's servers.
void WriteCatalogues(const demo::LiveStreams& streams) {
    auto move = [&streams](ChannelRecord& record) {
        QString& url = record.fields[ChannelRecord::Url];
        for (int n = 1; n <= demo::kAudioStreamCount; ++n)
            if (url == demo::AudioStreamUrl(n))
                url = streams.AudioUrl(n);
        for (int n = 1; n <= demo::kVideoStreamCount; ++n)
            if (url == demo::VideoStreamUrl(n))
                url = streams.VideoUrl(n);
    };
    for (demo::DemoCatalogue& catalogue : demo::BuildDemoCatalogues()) {
        for (demo::CatalogueFamily& family : catalogue.families) {
            move(family.fallback);
            for (ChannelRecord& record : family.entries)
                move(record);
        }
        QByteArray bytes;
        QString error;
        ASSERT_TRUE(demo::RenderCatalogue(catalogue, &bytes, &error)) << error.toStdString();
        WriteBytes(Paths::DataFolder() + QLatin1Char('/') + catalogue.fileName, bytes);
    }
}

struct Session {
    ScopedXdgHome home;
    std::unique_ptr<CPlayerDlg> window;
    QStringList messages;
    QStringList questions;
};

// A window on the category; its catalogues point at these streams.
std::unique_ptr<Session>
OpenWindow(Category category, const demo::LiveStreams* streams = nullptr,
           VideoRendererRequest renderer = VideoRendererRequest::Automatic) {
    auto s = std::make_unique<Session>();
    if (streams)
        WriteCatalogues(*streams);
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(category));
    s->window = std::make_unique<CPlayerDlg>();
    s->window->Channels().Catalogue().SetServiceBaseAddress(QStringLiteral("http://127.0.0.1:1"));
    CWMPPlayer4::Options options;
    options.audioOutput = QStringLiteral("null");
    options.renderer = renderer;
    s->window->UsePlayer(new CWMPPlayer4(options));
    Session* raw = s.get();
    s->window->Prompts().SetMessageHandler(
        [raw](const QString& text) { raw->messages.append(text); });
    s->window->Prompts().SetQuestionHandler([raw](const QString&, const QString& text) {
        raw->questions.append(text);
        return false;
    });
    s->window->OnInitDialog();
    s->window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(s->window.get()));
    // The tab's rows are read on a worker: a test looks for its channel in
    // the filled list.
    if (streams) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return s->window->ListModel()->rowCount() > 0; }, 5000));
    }
    return s;
}

// The first row of the open list that plays this address.
int RowOf(const CPlayerDlg& window, const QString& url) {
    const ChannelListModel* model = window.ListModel();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->CellText(row, ChannelRecord::Url) == url &&
            !model->CellText(row, ChannelRecord::Name).contains(QStringLiteral("MBC")) &&
            !model->CellText(row, ChannelRecord::Name).contains(QStringLiteral("SBS")))
            return row;
    return -1;
}

void DoubleClickRow(CPlayerDlg& window, int row) {
    QTableView* view = window.ListView();
    view->scrollTo(window.ListView()->Filter()->index(row, 1));
    const QRect cell = view->visualRect(window.ListView()->Filter()->index(row, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

QImage ScreenArea(CPlayerDlg& window, const QRect& area) {
    QScreen* screen = window.screen();
    const QPoint at = window.mapToGlobal(area.topLeft());
    return screen->grabWindow(0, at.x(), at.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool LampShows(CPlayerDlg& window, PictureId pictureId) {
    QApplication::processEvents();
    const QImage picture = QImage(SkinPath(pictureId)).convertToFormat(QImage::Format_RGB32);
    return ScreenArea(window, window.Layout().Current().statusLamp.ToRect()) == picture;
}

bool WaitForStatus(CPlayerDlg& window, const QString& text, int ms) {
    return QTest::qWaitFor([&] { return window.Session().StatusText() == text; }, ms);
}

#define REQUIRE_STREAM_TOOLS()                                                                     \
    do {                                                                                           \
        const QStringList missing = demo::LiveStreams::MissingTools();                             \
        if (!missing.isEmpty())                                                                    \
            GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();                 \
    } while (0)

std::unique_ptr<demo::LiveStreams> StartStreams(bool audio, bool video) {
    auto streams = std::make_unique<demo::LiveStreams>();
    demo::LiveStreamOptions options;
    options.audioPort = FreePort();
    options.videoPort = FreePort();
    options.audio = audio;
    options.video = video;
    QString error;
    if (!streams->Start(options, &error)) {
        ADD_FAILURE() << "streams did not start: " << error.toStdString();
        return nullptr;
    }
    return streams;
}

// Radio: connect, lamp, saved position; the server dies and comes back.
TEST(PlayerLiveRadio, IcecastChannelConnectsAndRecoversWhenTheServerReturns) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(true, false);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Radio, streams.get());
    CPlayerDlg& window = *s->window;
    const int row = RowOf(window, streams->AudioUrl(1));
    ASSERT_GE(row, 0);

    DoubleClickRow(window, row);
    ASSERT_TRUE(WaitForStatus(window, StatusDisplay::Connected(), 5000))
        << window.Session().StatusText().toStdString();
    EXPECT_TRUE(window.Session().IsPlaying());
    EXPECT_EQ(window.ListModel()->CellText(row, ChannelRecord::Connect),
              QStringLiteral("연결성공"));
    EXPECT_EQ(Settings::ReadNumber(Settings::IndexRead), row);
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));
    EXPECT_FALSE(window.Player()->isVisible()); // radio: the logo stays
    const QString name = window.ListModel()->CellText(row, ChannelRecord::Name);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Session().StatusText().startsWith(name + " : 00:00:0"); }, 3000));

    // The server goes away: the broken broadcast is noticed and retried.
    streams->KillAudioServer();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window.ListModel()->CellText(row, ChannelRecord::Connect) ==
                   StatusDisplay::CellReconnecting();
        },
        12000));
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));

    QString error;
    ASSERT_TRUE(streams->RestartAudioServer(&error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 15000))
        << window.Session().StatusText().toStdString();
    EXPECT_EQ(window.ListModel()->CellText(row, ChannelRecord::Connect),
              QStringLiteral("연결성공"));
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));
    EXPECT_TRUE(s->questions.isEmpty());
    window.close();
}

TEST(PlayerLiveRadio, ServerThatStaysDownIsReportedAsFailure) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(true, false);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Radio);
    CPlayerDlg& window = *s->window;
    window.Playback()->Watch().PlayAddress(streams->AudioUrl(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 5000));

    streams->KillAudioServer();
    // Noticed within seconds, then a few tries, then given up.
    ASSERT_TRUE(WaitForStatus(window, StatusDisplay::Failed(), 30000))
        << window.Session().StatusText().toStdString();
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));
    EXPECT_TRUE(s->questions.isEmpty());
    window.close();
}

// Waits until the status line says the broadcast waits for data.
bool WaitForBuffering(CPlayerDlg& window, int ms) {
    return QTest::qWaitFor(
        [&] { return window.Session().StatusText().startsWith(StatusDisplay::BufferingPrefix()); },
        ms);
}

// A radio server that hangs with the connection open: within seconds the
// window shows the wait (buffering, lamp out, clock held); when the server
// goes on, so does the broadcast, on the same connection.
TEST(PlayerLiveRadio, HungServerShowsBufferingThenPlaysOnByItself) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(true, false);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Radio, streams.get());
    CPlayerDlg& window = *s->window;
    const int row = RowOf(window, streams->AudioUrl(1));
    ASSERT_GE(row, 0);
    DoubleClickRow(window, row);
    const QString name = window.ListModel()->CellText(row, ChannelRecord::Name);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window.Session().StatusText().startsWith(name + QStringLiteral(" : 00:00:0"));
        },
        6000))
        << window.Session().StatusText().toStdString();

    QElapsedTimer clock;
    clock.start();
    streams->PauseAudioServer(true);
    // What the player holds plays out first (the server's burst, a few seconds).
    ASSERT_TRUE(WaitForBuffering(window, 9000)) << window.Session().StatusText().toStdString();
    std::cout << "[ measured ] hung radio shown as buffering after " << clock.elapsed() << " ms\n";
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));
    EXPECT_TRUE(
        window.ListModel()->CellText(row, ChannelRecord::Connect).endsWith(QStringLiteral("% ")));
    QTest::qWait(2000);
    EXPECT_TRUE(window.Session().StatusText().startsWith(StatusDisplay::BufferingPrefix()));

    streams->PauseAudioServer(false);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Session().StatusText().startsWith(name + QStringLiteral(" : ")); },
        8000))
        << window.Session().StatusText().toStdString();
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));
    EXPECT_EQ(window.ListModel()->CellText(row, ChannelRecord::Connect),
              QStringLiteral("연결성공"));
    EXPECT_TRUE(window.Session().IsPlaying());
    EXPECT_TRUE(s->questions.isEmpty());
    window.close();
}

// A hang that outlasts the limit is a broken broadcast: reconnected, and
// playing again once the server answers.
TEST(PlayerLiveRadio, HangBeyondTheLimitReconnects) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(true, false);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Radio);
    CPlayerDlg& window = *s->window;
    window.Playback()->Watch().PlayAddress(streams->AudioUrl(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 5000));
    QTest::qWait(1500);

    streams->PauseAudioServer(true);
    ASSERT_TRUE(WaitForBuffering(window, 9000)) << window.Session().StatusText().toStdString();
    ASSERT_TRUE(WaitForStatus(window, StatusDisplay::Reconnecting(1, 3),
                              (ConnectionWatch::kStallLimitTicks + 2) * 1000))
        << window.Session().StatusText().toStdString();
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));

    streams->PauseAudioServer(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 20000))
        << window.Session().StatusText().toStdString();
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));
    EXPECT_TRUE(s->questions.isEmpty());
    window.close();
}

// Double-clicks the TV channel of the first test stream and checks that the
// video area on the screen shows a picture that moves.
void PlayTvChannelAndSeeItMove(CPlayerDlg& window, const demo::LiveStreams& streams) {
    const int row = RowOf(window, streams.VideoUrl(1));
    ASSERT_GE(row, 0);

    DoubleClickRow(window, row);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 8000))
        << window.Session().StatusText().toStdString();
    EXPECT_TRUE(window.Player()->isVisible());
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));

    const QRect video = window.Layout().Current().videoArea.ToRect();
    auto* player = static_cast<CWMPPlayer4*>(window.Player());
    const int framesBefore = player->FramesRendered();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > framesBefore + 5; }, 8000));
    QTest::qWait(300);
    const QImage first = ScreenArea(window, video);
    QTest::qWait(1200);
    const QImage second = ScreenArea(window, video);
    ASSERT_EQ(first.size(), video.size());
    int changed = 0;
    int lit = 0;
    for (int y = 0; y < first.height(); y += 2)
        for (int x = 0; x < first.width(); x += 2) {
            changed += first.pixel(x, y) != second.pixel(x, y);
            lit += qGray(second.pixel(x, y)) > 40;
        }
    EXPECT_GT(changed, 200);                             // the picture moves
    EXPECT_GT(lit, first.width() * first.height() / 16); // and is not black
    // Upright and not mirrored: the test picture's clock sits at the top,
    // its red bar runs down the left edge.
    const QRgb bottomLeft = second.pixel(second.width() * 3 / 100, second.height() * 97 / 100);
    EXPECT_GT(qRed(bottomLeft), 150) << std::hex << bottomLeft;
    EXPECT_LT(qGreen(bottomLeft), 90) << std::hex << bottomLeft;
    EXPECT_LT(qBlue(bottomLeft), 90) << std::hex << bottomLeft;
}

TEST(PlayerLiveTv, HlsChannelShowsAMovingPicture) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(false, true);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Tv, streams.get());
    ASSERT_NO_FATAL_FAILURE(PlayTvChannelAndSeeItMove(*s->window, *streams));
    s->window->close();
}

// The encoder of a live TV channel stops: the playlist stays as it was and
// no segment comes. Shown as buffering; the picture goes on when it does.
TEST(PlayerLiveTv, StoppedEncoderShowsBufferingThenPlaysOn) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(false, true);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Tv, streams.get());
    CPlayerDlg& window = *s->window;
    window.Playback()->Watch().PlayAddress(streams->VideoUrl(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 8000));
    QTest::qWait(1500);

    QElapsedTimer clock;
    clock.start();
    streams->PauseVideoFeed(true);
    ASSERT_TRUE(WaitForBuffering(window, 9000)) << window.Session().StatusText().toStdString();
    std::cout << "[ measured ] stopped HLS encoder shown as buffering after " << clock.elapsed()
              << " ms\n";
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));

    streams->PauseVideoFeed(false);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window.Session().IsPlaying() &&
                   window.Session().StatusText().startsWith(StatusDisplay::UserBroadcastName());
        },
        15000))
        << window.Session().StatusText().toStdString();
    EXPECT_TRUE(LampShows(window, PictureId::LampLit));
    EXPECT_TRUE(s->questions.isEmpty());
    window.close();
}

// --- the OpenGL renderer ---------------------------------------------------

// Xvfb draws GL on the CPU (llvmpipe): left to itself the player keeps to
// its software renderer here, as it would on any machine without a GPU.
TEST(PlayerOpenGl, AutomaticChoiceSeesTheSoftwareRasterizer) {
    const VideoRendererProbe probe = GlSurfaceModule::Probe(VideoRendererRequest::Automatic);
    EXPECT_EQ(probe.platform, QStringLiteral("xcb"));
    ASSERT_FALSE(probe.glRenderer.isEmpty()) << "no GL context on this X server";
    ASSERT_TRUE(VideoRendererChoice::IsSoftwareRasterizer(probe.glRenderer))
        << probe.glRenderer.toStdString();
    CWMPPlayer4::Options options;
    options.audioOutput = QStringLiteral("null");
    CWMPPlayer4 player(options);
    EXPECT_EQ(player.Renderer(), VideoRenderer::Software);
}

// The channel starts while the player is still hidden (it is shown once the
// broadcast plays), stops, and starts again; then the window closes while
// it plays, which frees mpv's GL objects before the player.
TEST(PlayerOpenGl, TvChannelShowsAMovingPictureStopsAndStartsAgain) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(false, true);
    ASSERT_TRUE(streams);
    auto s = OpenWindow(Category::Tv, streams.get(), VideoRendererRequest::OpenGL);
    CPlayerDlg& window = *s->window;
    auto* player = static_cast<CWMPPlayer4*>(window.Player());
    ASSERT_EQ(player->Renderer(), VideoRenderer::OpenGL);

    ASSERT_NO_FATAL_FAILURE(PlayTvChannelAndSeeItMove(window, *streams));
    // The pointer over the picture reaches the player, not the GL surface.
    const QPoint centre = player->mapToGlobal(player->rect().center());
    EXPECT_EQ(QApplication::widgetAt(centre), player);

    // Full screen: the picture is drawn again at the new size.
    window.Layout().ToggleFullScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->size() == window.size(); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return player->CurrentFrame().size() == player->size() * player->devicePixelRatioF();
        },
        3000));
    window.Layout().ToggleFullScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Session().IsFullScreen(); }, 3000));

    window.Playback()->Watch().StopPlayback();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->isVisible(); }, 3000));
    EXPECT_TRUE(player->CurrentFrame().isNull());

    ASSERT_NO_FATAL_FAILURE(PlayTvChannelAndSeeItMove(window, *streams));
    window.close();
    s->window.reset();
}

// A player that is not shown still takes every frame (mpv waits for each
// one to be drawn), and the picture reaches the screen once it is shown.
TEST(PlayerOpenGl, HiddenPlayerKeepsTakingFrames) {
    REQUIRE_STREAM_TOOLS();
    auto streams = StartStreams(false, true);
    ASSERT_TRUE(streams);
    CWMPPlayer4::Options options;
    options.audioOutput = QStringLiteral("null");
    options.renderer = VideoRendererRequest::OpenGL;
    auto player = std::make_unique<CWMPPlayer4>(options);
    ASSERT_EQ(player->Renderer(), VideoRenderer::OpenGL);
    player->resize(320, 180);

    player->setURL(streams->VideoUrl(1));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return player->status().kind == PlayerStatus::Kind::Playing; }, 8000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > 10; }, 8000));
    EXPECT_FALSE(player->isVisible());

    player->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(player.get()));
    const int shownAt = player->FramesRendered();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->FramesRendered() > shownAt + 5; }, 8000));
    EXPECT_EQ(player->CurrentFrame().size(), QSize(320, 180) * player->devicePixelRatioF());
    QTest::qWait(200);
    const QPoint at = player->mapToGlobal(QPoint(0, 0));
    const QImage screen = player->screen()->grabWindow(0, at.x(), at.y(), 320, 180).toImage();
    int lit = 0;
    for (int y = 0; y < screen.height(); y += 4)
        for (int x = 0; x < screen.width(); x += 4)
            lit += qGray(screen.pixel(x, y)) > 40;
    EXPECT_GT(lit, (screen.width() / 4) * (screen.height() / 4) / 4);
    player.reset(); // while playing
}

TEST(PlayerStreamFaults, ClosedPortFailsOnTheFirstTick) {
    auto s = OpenWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    QElapsedTimer clock;
    clock.start();
    window.Playback()->Watch().PlayAddress(
        QStringLiteral("http://127.0.0.1:%1/radio1.mp3").arg(FreePort()));
    ASSERT_TRUE(WaitForStatus(window, StatusDisplay::Failed(), 3000));
    EXPECT_LT(clock.elapsed(), 1800);
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));
    EXPECT_TRUE(s->questions.isEmpty());
    EXPECT_TRUE(s->messages.isEmpty());
}

TEST(PlayerStreamFaults, ServerThatNeverAnswersTimesOutAtTheFifteenthTick) {
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetFallback([](const demo::HttpRequest&) { return demo::HttpResponse::Stall(); });
    auto s = OpenWindow(Category::Tv);
    CPlayerDlg& window = *s->window;

    QElapsedTimer clock;
    clock.start();
    window.Playback()->Watch().PlayAddress(server.Url(QStringLiteral("/tv1/index.m3u8")));
    ASSERT_TRUE(WaitForStatus(window, StatusDisplay::Connecting(), 2500));
    QTest::qWait(12000);
    EXPECT_EQ(window.Session().StatusText(),
              StatusDisplay::Connecting()); // still trying after 13 ticks
    EXPECT_TRUE(s->questions.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !s->questions.isEmpty(); }, 5000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 14500);
    EXPECT_LE(elapsed, 16500);
    EXPECT_EQ(s->questions, QStringList{StatusDisplay::TimeoutQuestion()});
    EXPECT_EQ(window.Session().StatusText(), StatusDisplay::Failed());
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(LampShows(window, PictureId::LampUnlit));
    server.Close();
}

} // namespace
