// The web tabs with the real browser module and engine: the page of a tab
// appears in the panel, served by a loopback server.
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/SourceTabs.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WebPanel.h"
#include "mainwindow/WindowLayout.h"
#include "skin/CMinsButton.h"
#include "web/WebBrowserModule.h"

#include "TestFolders.h"
#include "demo/DemoPages.h"
#include "demo/LoopbackHttpServer.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The panel as the screen shows it.
QImage Grab(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    return widget->screen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

// How much of the picture is the demo page's background and how much its
// bright heading and titles: a blank, black or white panel has neither.
struct Coverage {
    double pageBackground = 0;
    int brightText = 0;
};
Coverage Measure(const QImage& image) {
    Coverage c;
    int background = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - 0x14) <= 2 && qAbs(p.green() - 0x17) <= 2 &&
                qAbs(p.blue() - 0x1c) <= 2)
                ++background;
            else if (p.red() > 200 && p.green() > 200 && p.blue() > 200)
                ++c.brightText;
        }
    c.pageBackground = double(background) / (image.width() * image.height());
    return c;
}

// Pixels of the local notice's heading and text (light blue on near black).
int NoticeText(const QImage& image) {
    int text = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.blue() > 160 && p.green() > 110 && p.red() < 120)
                ++text;
        }
    return text;
}

// Waits until the browser reports the page loaded, and a moment for paint.
bool WaitForPage(QWidget* browser, int timeoutMs = 20000) {
    QSignalSpy loaded(browser, SIGNAL(loadFinished(bool)));
    if (!loaded.wait(timeoutMs))
        return false;
    QTest::qWait(700);
    return loaded.first().first().toBool();
}

// The suite runs twice: once as on a machine with a GPU (shared GL contexts)
// and once as on one without (no GL at all, the engine composited in
// software); each run must really be the one it claims.
TEST(WebModule, RunsInTheGraphicsModeItWasStartedIn) {
    const bool software = qEnvironmentVariable("WAVEORBIT_VIDEO") == QStringLiteral("software");
    EXPECT_EQ(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts), !software);
}

TEST(WebModule, LoadsOnFirstUseAndShowsAPage) {
    ScopedXdgHome home;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    const QString path = Endpoints::MoviePagePaths().value(1);
    server.SetRoute(path, demo::HttpResponse::Html(demo::DemoPage(path)));

    QWidget window;
    window.resize(500, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QWidget* browser = WebBrowserModule::Create(&window);
    ASSERT_NE(browser, nullptr) << WebBrowserModule::LastError().toStdString();
    EXPECT_TRUE(WebBrowserModule::IsLoaded());
    EXPECT_STREQ(browser->metaObject()->className(), "CWebBrowser2");
    EXPECT_FALSE(browser->isVisible()); // the window decides when it shows
    browser->setGeometry(10, 10, 460, 360);
    browser->show();

    // Only web addresses: a local file is never opened.
    QMetaObject::invokeMethod(browser, "Navigate",
                              Q_ARG(QString, QStringLiteral("file:///etc/passwd")));
    QTest::qWait(300);
    EXPECT_EQ(server.Requests().size(), 0);

    QMetaObject::invokeMethod(browser, "Navigate", Q_ARG(QString, server.Url(path)));
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_EQ(server.RequestCount(path), 1);
    const Coverage shown = Measure(Grab(browser));
    EXPECT_GT(shown.pageBackground, 0.3);
    EXPECT_GT(shown.brightText, 30);
    delete browser;
    server.Close();
}

TEST(WebTabsOnScreen, TheMovieTabShowsItsPageInThePanel) {
    // The window asks the service's host for its pages; this test serves them
    // there unless that port is already taken.
    demo::LoopbackHttpServer server;
    const QUrl base(Endpoints::ServiceBaseAddress());
    if (base.host() != QStringLiteral("127.0.0.1") || !server.Listen(quint16(base.port(80))))
        GTEST_SKIP() << "the service host is not a free loopback port here";
    for (const QString& path : Endpoints::MoviePagePaths() + Endpoints::MusicPagePaths())
        server.SetRoute(path, demo::HttpResponse::Html(demo::DemoPage(path)));

    ScopedXdgHome home;
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
    CPlayerDlg window;
    window.Prompts().SetMessageHandler([](const QString&) {});
    window.Tabs().Web().SetFactory(&WebBrowserModule::Create);
    window.OnInitDialog();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.Tabs().Web().Browser(), nullptr);

    QTest::mouseClick(window.Button(ControlId::TabMovie), Qt::LeftButton);
    QWidget* browser = window.Tabs().Web().Browser();
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->geometry(), window.Layout().Current().browser.box.ToRect());
    const Coverage movie = Measure(Grab(browser));
    EXPECT_GT(movie.pageBackground, 0.3);
    EXPECT_GT(movie.brightText, 30);
    EXPECT_EQ(server.RequestCount(Endpoints::MoviePagePaths().value(0)), 1);

    // The music tab's page shows too, in the same engine.
    QTest::mouseClick(window.Button(ControlId::TabMusic), Qt::LeftButton);
    ASSERT_TRUE(WaitForPage(browser));
    EXPECT_TRUE(browser->isVisible());
    const Coverage music = Measure(Grab(browser));
    EXPECT_GT(music.pageBackground, 0.3);
    EXPECT_GT(music.brightText, 30);
    EXPECT_EQ(server.RequestCount(Endpoints::MusicPagePaths().value(0)), 1);

    // Back on the channel tab the list covers the panel again.
    QTest::mouseClick(window.Button(ControlId::TabChannels), Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_FALSE(browser->isVisible());
    EXPECT_TRUE(window.ListView()->isVisible());
    EXPECT_LT(Measure(Grab(window.ListView())).pageBackground, 0.05);
    window.close();
    server.Close();
}

// With no tab on a service the web tabs have no pages to fetch: a local
// notice says what is missing and where to change it, on the tab restored
// at start-up (before the window shows) and on a tab chosen later.
TEST(WebTabsOnScreen, WithoutAServiceBothWebTabsShowTheNotice) {
    ScopedXdgHome home;
    SourceSettings settings;
    for (Category tab : kSourceTabs)
        settings.Set(tab, ChannelSource{ChannelSource::Kind::Playlist,
                                        QStringLiteral("http://127.0.0.1:1/list.m3u")});
    // The music tab restored at start-up, then the movie tab chosen by a click.
    for (const char* menu : {"2", "1"}) {
        Settings::WriteText(Settings::Menu, QString::fromLatin1(menu));
        CPlayerDlg window;
        window.Prompts().SetMessageHandler([](const QString&) {});
        window.Tabs().Web().SetFactory(&WebBrowserModule::Create);
        window.OnInitDialog();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        if (window.Session().MainTab() == MainTab::Channels)
            QTest::mouseClick(window.Button(ControlId::TabMovie), Qt::LeftButton);
        QWidget* browser = window.Tabs().Web().Browser();
        ASSERT_NE(browser, nullptr) << menu;
        QImage shown;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                shown = Grab(browser);
                return NoticeText(shown) > 300;
            },
            10000))
            << menu;
        EXPECT_TRUE(browser->isVisible());
        // The way to the settings, in the lower half, shows without scrolling.
        const int half = shown.height() / 2;
        EXPECT_GT(NoticeText(shown.copy(0, half, shown.width(), shown.height() - half)), 100)
            << menu;
        window.close();
    }
}

} // namespace
