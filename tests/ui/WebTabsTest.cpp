// The main tabs and the web sub-tabs, with a stand-in for the browser that
// records where it was sent (the real engine is tested under tests/e2e).
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WebPanel.h"
#include "mainwindow/WindowLayout.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"
#include "web/WebBrowserModule.h"

#include "TestFolders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FakeBrowser : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    Q_INVOKABLE void Navigate(const QString& address) { pages << address; }
    QStringList pages;
};

// Catches what would go to the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
    }
    ~UrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    Q_INVOKABLE void Open(const QUrl& url) { opened << url; }
    QList<QUrl> opened;
};

namespace {

QString Page(const QString& path) {
    return Endpoints::PageAddress(path);
}

struct Window {
    ScopedXdgHome home;
    std::unique_ptr<CPlayerDlg> window;
    FakeBrowser* browser = nullptr;
    int made = 0;

    explicit Window(const char* menu = "1", bool show = true) {
        Settings::WriteText(Settings::Menu, QString::fromLatin1(menu));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
        // Catalogues in place, so no tab waits on a download.
        const QString folder = home.dataHome() + QStringLiteral("/waveorbit/");
        QDir().mkpath(folder);
        for (const QString& file : Endpoints::CatalogueFileNames())
            WriteBytes(folder + file, "[COUNT]\n");
        window = std::make_unique<CPlayerDlg>();
        window->Prompts().SetMessageHandler([](const QString&) {});
        window->Tabs().Web().SetFactory([this](QWidget* parent) {
            ++made;
            browser = new FakeBrowser(parent);
            return browser;
        });
        window->OnInitDialog();
        if (show) {
            window->show();
            for (int i = 0; i < 5; ++i)
                QApplication::processEvents();
        }
    }
    void Click(ControlId id) { QTest::mouseClick(window->Button(id), Qt::LeftButton); }
    void Click(int number) { Click(ControlFromNumber(number)); }
    bool Visible(ControlId id) const { return window->Button(id)->isVisible(); }
    bool Visible(int number) const { return Visible(ControlFromNumber(number)); }
    QStringList Pages() const { return browser ? browser->pages : QStringList(); }
    // The picture a main-tab button shows: 1 plain, 2 current, 0 neither.
    int Look(ControlId id, PictureId plain, PictureId current) const {
        const auto image = [](const QPixmap& p) {
            return p.toImage().convertToFormat(QImage::Format_RGB32);
        };
        const QImage now = image(window->Button(id)->grab());
        if (now == image(QPixmap(SkinPath(plain))))
            return 1;
        return now == image(QPixmap(SkinPath(current))) ? 2 : 0;
    }
    QString Looks() const {
        return QStringLiteral("%1%2%3%4")
            .arg(
                Look(ControlId::TabChannels, PictureId::TabChannels, PictureId::TabChannelsCurrent))
            .arg(Look(ControlId::TabMusic, PictureId::TabMusic, PictureId::TabMusicCurrent))
            .arg(Look(ControlId::TabMovie, PictureId::TabMovie, PictureId::TabMovieCurrent))
            .arg(Look(ControlId::TabHome, PictureId::TabHome, PictureId::TabHomeCurrent));
    }
};

TEST(WebTabs, TheBrowserIsMadeOnlyWhenAPageIsShown) {
    Window w("1");
    EXPECT_EQ(w.made, 0);
    EXPECT_EQ(w.window->Tabs().Web().Browser(), nullptr);
    w.Click(ControlId::CategoryRadio);
    w.Click(ControlId::TabChannels);
    EXPECT_EQ(w.made, 0);

    w.Click(ControlId::TabMusic);
    w.Click(ControlId::TabMovie);
    w.Click(ControlId::TabMusic);
    EXPECT_EQ(w.made, 1); // one browser for the program's life
    EXPECT_EQ(w.window->Tabs().Web().Browser(), w.browser);
    EXPECT_EQ(w.browser->geometry(), w.window->Layout().Current().browser.box.ToRect());
    EXPECT_EQ(w.browser->geometry(), w.window->ListView()->geometry());
}

TEST(WebTabs, MainTabsShowTheirGroupAndFirstPage) {
    Window w("1");
    w.Click(ControlId::TabMusic);
    EXPECT_EQ(w.window->Session().MainTab(), MainTab::Music);
    EXPECT_EQ(w.Looks(), QStringLiteral("1211"));
    EXPECT_TRUE(w.browser->isVisible());
    EXPECT_FALSE(w.window->ListView()->isVisible());
    for (int id = ControlNumber(ControlId::CategoryTv);
         id <= ControlNumber(ControlId::CategoryUser); ++id)
        EXPECT_FALSE(w.Visible(id)) << id;
    for (int id = 1023; id <= 1026; ++id)
        EXPECT_TRUE(w.Visible(id)) << id;
    for (int id = 1027; id <= 1029; ++id)
        EXPECT_FALSE(w.Visible(id)) << id;

    // Each sub-tab its own page, nothing else changes.
    const QStringList music = Endpoints::MusicPagePaths();
    for (int id = 1023; id <= 1026; ++id)
        w.Click(id);
    EXPECT_EQ(w.Pages(), (QStringList{Page(music[0]), Page(music[0]), Page(music[1]),
                                      Page(music[2]), Page(music[3])}));
    EXPECT_EQ(w.Looks(), QStringLiteral("1211"));

    // The same main tab again starts over at its first page.
    w.Click(ControlId::TabMusic);
    EXPECT_EQ(w.Pages().last(), Page(music[0]));

    w.Click(ControlId::TabMovie);
    const QStringList movie = Endpoints::MoviePagePaths();
    EXPECT_EQ(w.Pages().last(), Page(movie[0]));
    EXPECT_EQ(w.Looks(), QStringLiteral("1121"));
    for (int id = 1023; id <= 1026; ++id)
        EXPECT_FALSE(w.Visible(id)) << id;
    for (int id = 1027; id <= 1029; ++id)
        EXPECT_TRUE(w.Visible(id)) << id;
    w.Click(1028);
    w.Click(1029);
    EXPECT_EQ(w.Pages().mid(w.Pages().size() - 2), (QStringList{Page(movie[1]), Page(movie[2])}));
    EXPECT_EQ(movie[2], QStringLiteral("/zenith/tab/movie/etc.html"));
}

TEST(WebTabs, TheChannelTabAlwaysComesBackOnTv) {
    Window w("1");
    EXPECT_EQ(w.window->Session().ShownCategory(), Category::User);
    w.Click(ControlId::TabMovie);
    w.Click(ControlId::TabChannels);
    EXPECT_EQ(w.window->Session().MainTab(), MainTab::Channels);
    EXPECT_EQ(w.window->Session().Category(), Category::Tv);
    EXPECT_EQ(w.window->Session().ShownCategory(), Category::Tv);
    EXPECT_TRUE(w.window->ListView()->isVisible());
    EXPECT_FALSE(w.browser->isVisible());
    EXPECT_EQ(w.Looks(), QStringLiteral("2111"));
    for (int id = ControlNumber(ControlId::CategoryTv);
         id <= ControlNumber(ControlId::CategoryUser); ++id)
        EXPECT_TRUE(w.Visible(id)) << id;
    for (int id = 1023; id <= 1029; ++id)
        EXPECT_FALSE(w.Visible(id)) << id;
    // The page stays in the browser under the list.
    EXPECT_EQ(w.Pages().size(), 1);

    w.Click(ControlId::CategoryGame);
    w.Click(ControlId::TabChannels);
    EXPECT_EQ(w.window->Session().ShownCategory(), Category::Tv);
}

TEST(WebTabs, TheHomePageButtonLeavesThePanelAsItWas) {
    UrlCatcher catcher;
    Window w("1");
    w.Click(ControlId::TabMusic);
    w.Click(1025);
    w.Click(ControlId::TabHome);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0], QUrl(Endpoints::HomePageAddress()));
    EXPECT_EQ(w.Looks(), QStringLiteral("1112"));
    EXPECT_EQ(w.window->Session().MainTab(), MainTab::Music);
    EXPECT_TRUE(w.browser->isVisible());
    EXPECT_TRUE(w.Visible(1025));
    EXPECT_EQ(w.Pages().last(), Page(Endpoints::MusicPagePaths()[2]));
    EXPECT_EQ(w.Pages().size(), 2);

    // The highlight stays while the list panel is closed and opened again.
    for (bool open : {false, true}) {
        w.Click(ControlId::ListToggle);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        ASSERT_EQ(w.window->Session().IsListPanelOpen(), open);
    }
    EXPECT_EQ(w.Looks(), QStringLiteral("1112"));
    EXPECT_TRUE(w.browser->isVisible());
    EXPECT_TRUE(w.Visible(1025));

    // On the channel tab too; the next main tab takes the highlight back.
    w.Click(ControlId::TabChannels);
    w.Click(ControlId::TabHome);
    EXPECT_TRUE(w.window->ListView()->isVisible());
    EXPECT_TRUE(w.Visible(ControlId::CategoryTv));
    EXPECT_EQ(w.Looks(), QStringLiteral("1112"));
    w.Click(ControlId::TabMovie);
    EXPECT_EQ(w.Looks(), QStringLiteral("1121"));
    EXPECT_EQ(catcher.opened.size(), 2);
}

TEST(WebTabs, WithThePanelClosedOnlyPicturesAndPagesChange) {
    Window w("1");
    w.window->Layout().ToggleListPanel();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    ASSERT_FALSE(w.window->Session().IsListPanelOpen());
    // (The tab buttons sit in the panel: closed, they have no size to draw.)
    w.window->Tabs().OnTabButton(MainTab::Music);
    EXPECT_EQ(w.window->Session().MainTab(), MainTab::Music);
    EXPECT_EQ(w.Pages(), QStringList{Page(Endpoints::MusicPagePaths()[0])});
    EXPECT_FALSE(w.browser->isVisible());
    EXPECT_FALSE(w.window->ListView()->isVisible());
    for (int id = ControlNumber(ControlId::CategoryTv); id <= 1029; ++id) {
        if (id != ControlNumber(ControlId::Hide) && (id < ControlNumber(ControlId::TabChannels) ||
                                                     id > ControlNumber(ControlId::TabHome))) {
            EXPECT_FALSE(w.Visible(id)) << id;
        }
    }
    w.window->Tabs().OnTabButton(MainTab::Channels);
    EXPECT_EQ(w.window->Session().MainTab(), MainTab::Channels);
    EXPECT_FALSE(w.browser->isVisible());
    EXPECT_FALSE(w.window->ListView()->isVisible());

    // Opening the panel again shows the tab's own side.
    w.window->Tabs().OnTabButton(MainTab::Movie);
    w.window->Layout().ToggleListPanel();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_TRUE(w.browser->isVisible());
    EXPECT_FALSE(w.window->ListView()->isVisible());
    EXPECT_EQ(w.browser->geometry(), w.window->Layout().Current().browser.box.ToRect());
    EXPECT_FALSE(w.browser->geometry().isEmpty());
    EXPECT_EQ(w.Looks(), QStringLiteral("1121"));
}

TEST(WebTabs, StartUpRestoresTheWebTabAndSavesIt) {
    {
        Window w("3");
        EXPECT_EQ(w.made, 1);
        EXPECT_EQ(w.window->Session().MainTab(), MainTab::Movie);
        EXPECT_EQ(w.Pages(), QStringList{Page(QStringLiteral("/zenith/tab/movie/movie.html"))});
        EXPECT_TRUE(w.browser->isVisible());
        EXPECT_TRUE(w.Visible(1027));
        EXPECT_FALSE(w.Visible(ControlId::CategoryTv));
        w.Click(ControlId::TabMusic);
        w.window->close();
        EXPECT_EQ(Settings::ReadText(Settings::Menu), QStringLiteral("2"));
    }
    {
        Window w("2");
        EXPECT_EQ(w.Pages(), QStringList{Page(QStringLiteral("/zenith/tab/mp3/new.html"))});
    }
}

TEST(WebBrowserModule, SandboxOffOnlyForRootAndModuleBesideTheProgram) {
    const QByteArray before = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    const bool wasSet = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    WebBrowserModule::PrepareEnvironment(false);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"));
    WebBrowserModule::PrepareEnvironment(true);
    EXPECT_EQ(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("1"));
    // A choice made by hand is left alone.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "0");
    WebBrowserModule::PrepareEnvironment(true);
    EXPECT_EQ(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("0"));
    if (wasSet)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", before);
    else
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");

    const QStringList paths = WebBrowserModule::CandidatePaths();
    ASSERT_EQ(paths.size(), 2);
    EXPECT_EQ(
        paths[0],
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("waveorbit_web.so")));
    EXPECT_TRUE(paths[1].endsWith(QStringLiteral("/waveorbit/waveorbit_web.so")));
    // The widget tests never bring the engine in.
    EXPECT_FALSE(WebBrowserModule::IsLoaded());
}

} // namespace

#include "WebTabsTest.moc"
