#include "app/Launcher.h"
#include "app/Endpoints.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Recorder {
    QList<QUrl> opened;
    QList<QPair<QString, QStringList>> started;
    bool answer = true;
    Launcher launcher() {
        return Launcher({[this](const QUrl& url) {
                             opened << url;
                             return answer;
                         },
                         [this](const QString& program, const QStringList& args) {
                             started << qMakePair(program, args);
                             return answer;
                         }});
    }
};

} // namespace

TEST(Launcher, OpensOnlyWebAddressesAsOneArgument) {
    Recorder r;
    const Launcher launcher = r.launcher();
    // Blanks and quotes stay inside the one address; nothing reaches a shell.
    ASSERT_TRUE(launcher.OpenInBrowser(QStringLiteral("http://127.0.0.1/a page?q=\"x\" & calc")));
    ASSERT_EQ(r.opened.size(), 1);
    EXPECT_EQ(r.opened[0].host(), QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(r.opened[0].toEncoded().contains(' '));
    EXPECT_FALSE(r.opened[0].toEncoded().contains('"'));
    // A bare host is taken as http.
    ASSERT_TRUE(launcher.OpenInBrowser(QStringLiteral("www.example.test/live")));
    EXPECT_EQ(r.opened.last().scheme(), QStringLiteral("http"));
    EXPECT_TRUE(launcher.OpenInBrowser(Endpoints::HomePageAddress()));
    // "host:port" is a host with its port, not a scheme named after the
    // host: a row's WEBURL stored that way opens as http too.
    for (const auto& [bare, full] :
         {std::pair{QStringLiteral("localhost:8730"), QStringLiteral("http://localhost:8730")},
          std::pair{QStringLiteral("tv.example.test:8080/live/page.html?ch=3"),
                    QStringLiteral("http://tv.example.test:8080/live/page.html?ch=3")}}) {
        ASSERT_TRUE(launcher.OpenInBrowser(bare)) << bare.toStdString();
        EXPECT_EQ(r.opened.last(), QUrl(full));
    }
    // Everything that is not a web address is refused.
    for (const QString& bad :
         {QStringLiteral(""), QStringLiteral("file:///etc/passwd"),
          QStringLiteral("javascript:alert(1)"), QStringLiteral("/bin/sh -c id"),
          QStringLiteral("mms://127.0.0.1/stream"), QStringLiteral("http://")}) {
        EXPECT_FALSE(launcher.OpenInBrowser(bad)) << bad.toStdString();
    }
    EXPECT_EQ(r.opened.size(), 5);
    // A desktop that cannot open it is reported.
    r.answer = false;
    EXPECT_FALSE(launcher.OpenInBrowser(QStringLiteral("http://127.0.0.1/")));
}

TEST(Launcher, StartsTheUpdaterOnlyWhenPresent) {
    Recorder r;
    const Launcher launcher = r.launcher();
    QTemporaryDir dir;
    EXPECT_FALSE(launcher.StartUpdater(dir.path()));
    EXPECT_TRUE(r.started.isEmpty());
    EXPECT_TRUE(r.opened.isEmpty());

    QFile updater(dir.filePath(QStringLiteral("WAVEORBITUPDATE")));
    ASSERT_TRUE(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\n");
    updater.close();
    // Present but not executable: nothing to start.
    EXPECT_FALSE(launcher.StartUpdater(dir.path()));
    updater.setPermissions(updater.permissions() | QFileDevice::ExeOwner);
    ASSERT_TRUE(launcher.StartUpdater(dir.path()));
    ASSERT_EQ(r.started.size(), 1);
    EXPECT_EQ(r.started[0].first, dir.filePath(QStringLiteral("WAVEORBITUPDATE")));
    EXPECT_EQ(r.started[0].second, QStringList{QStringLiteral("boot")});
}

TEST(Endpoints, AddressesAreTheBaseFollowedByTheFixedPaths) {
    const QString base = Endpoints::ServiceBaseAddress();
    EXPECT_TRUE(base.startsWith(QStringLiteral("http://")));
    EXPECT_FALSE(base.endsWith(QLatin1Char('/')));
    EXPECT_EQ(Endpoints::HomePageAddress(), base);
    EXPECT_EQ(Endpoints::CatalogueAddress(QStringLiteral("tv.ini")),
              base + QStringLiteral("/ver/live/file/tv.ini"));
    EXPECT_EQ(Endpoints::VersionListAddress(), base + QStringLiteral("/ver/5.0/live/update.php"));
    EXPECT_EQ(Endpoints::MusicPagePaths().size(), 4);
    EXPECT_EQ(Endpoints::MoviePagePaths().size(), 3);
    EXPECT_TRUE(
        Endpoints::CountAddress().endsWith(QStringLiteral("/log/count.php?mode=a&key=nimbuskit2")));
    EXPECT_NE(Endpoints::CountBaseAddress(), base);
}
