#include "catalogue/ServiceCatalogueCheck.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/DownloadQueue.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using demo::HttpResponse;
using demo::LoopbackHttpServer;

namespace {

// Every section at one version, so a service asked for a catalogue that is
// not its own would hand it out.
QByteArray VersionList(int version) {
    QByteArray out;
    for (const auto& [section, file] : CatalogueUpdater::CataloguePairs())
        out += "[" + section.toUtf8() + "]\r\nVER=" + QByteArray::number(version) + "\r\n";
    return out;
}

// A catalogue that names the service it came from.
QByteArray Catalogue(const QByteArray& service, int version) {
    return "[" + service + "]\r\nCOUNT=0\r\n[DB]\r\nVER=" + QByteArray::number(version) + "\r\n";
}

class ServiceCatalogueCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(first.Listen());
        ASSERT_TRUE(second.Listen());
        Serve(first, "FIRST", 13);
        Serve(second, "SECOND", 20);
    }

    static void Serve(LoopbackHttpServer& server, const QByteArray& name, int version) {
        server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                        HttpResponse::Ok(VersionList(version)));
        for (const auto& [section, file] : CatalogueUpdater::CataloguePairs())
            server.SetRoute(QStringLiteral("/ver/live/file/") + file,
                            HttpResponse::Ok(Catalogue(name, version)));
    }

    // TV and 해외 on the first service, 라디오 on the second; the second one
    // listed first when secondFirst.
    std::vector<ServiceCatalogueCheck::Service> Services(bool secondFirst = false) const {
        ServiceCatalogueCheck::Service one{first.BaseUrl(),
                                           {QStringLiteral("tv.ini"), QStringLiteral("world.ini")}};
        ServiceCatalogueCheck::Service two{second.BaseUrl(), {QStringLiteral("radio.ini")}};
        return secondFirst ? std::vector{two, one} : std::vector{one, two};
    }

    UpdateOutcome Run(std::vector<ServiceCatalogueCheck::Service> services) {
        bool done = false;
        UpdateOutcome outcome;
        check.Run(std::move(services), [&](const UpdateOutcome& o) {
            outcome = o;
            done = true;
        });
        EXPECT_TRUE(WaitFor([&] { return done; }));
        return outcome;
    }

    QString Path(const char* file) const { return dir.filePath(QString::fromLatin1(file)); }

    QTemporaryDir dir;
    LoopbackHttpServer first;
    LoopbackHttpServer second;
    DownloadQueue queue;
    ServiceCatalogueCheck check{&queue, dir.path()};
};

} // namespace

TEST_F(ServiceCatalogueCheckTest, EachServiceGivesOnlyItsOwnTabsCatalogues) {
    WriteBytes(Path("tv.ini"), Catalogue("OLD", 12));
    WriteBytes(Path("world.ini"), Catalogue("OLD", 13)); // current on the first service
    WriteBytes(Path("radio.ini"), Catalogue("OLD", 13)); // current there, behind the second
    const UpdateOutcome outcome = Run(Services());
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::Updated);
    EXPECT_EQ(outcome.Replaced(),
              (QStringList{QStringLiteral("tv.ini"), QStringLiteral("radio.ini")}));
    EXPECT_EQ(outcome.Current(), QStringList{QStringLiteral("world.ini")});
    EXPECT_EQ(ReadBytes(Path("tv.ini")), Catalogue("FIRST", 13));
    EXPECT_EQ(ReadBytes(Path("radio.ini")), Catalogue("SECOND", 20));
    // Each was asked for its own version list once, and nothing of the other's.
    EXPECT_EQ(first.RequestedTargets(), (QStringList{QStringLiteral("/ver/5.0/live/update.php"),
                                                     QStringLiteral("/ver/live/file/tv.ini")}));
    EXPECT_EQ(second.RequestedTargets(), (QStringList{QStringLiteral("/ver/5.0/live/update.php"),
                                                      QStringLiteral("/ver/live/file/radio.ini")}));
    EXPECT_FALSE(QFile::exists(Path("live_update.ini")));
    EXPECT_FALSE(QFile::exists(Path("game.ini")));
}

TEST_F(ServiceCatalogueCheckTest, AServiceThatIsDownLeavesOnlyItsOwnCataloguesUnchecked) {
    const QByteArray keptRadio = Catalogue("OLD", 13);
    WriteBytes(Path("tv.ini"), Catalogue("OLD", 12));
    WriteBytes(Path("world.ini"), Catalogue("OLD", 13));
    WriteBytes(Path("radio.ini"), keptRadio);
    second.Close();
    // The service that is down comes first: the one after it is not hurt.
    const UpdateOutcome outcome = Run(Services(true));
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::PartlyUpdated);
    EXPECT_EQ(outcome.Unchecked(), QStringList{QStringLiteral("radio.ini")});
    EXPECT_EQ(outcome.Replaced(), QStringList{QStringLiteral("tv.ini")});
    EXPECT_EQ(outcome.Current(), QStringList{QStringLiteral("world.ini")});
    EXPECT_EQ(ReadBytes(Path("radio.ini")), keptRadio);
    EXPECT_EQ(ReadBytes(Path("tv.ini")), Catalogue("FIRST", 13));
    EXPECT_EQ(first.RequestCount(QStringLiteral("/ver/live/file/radio.ini")), 0);
    EXPECT_FALSE(QFile::exists(Path("live_update.ini")));
}

TEST_F(ServiceCatalogueCheckTest, ASecondRunJoinsTheOneUnderWay) {
    second.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Slow(VersionList(20), 200));
    int calls = 0;
    UpdateOutcome firstOutcome;
    UpdateOutcome joinedOutcome;
    check.Run(Services(), [&](const UpdateOutcome& o) {
        firstOutcome = o;
        ++calls;
    });
    ASSERT_TRUE(check.IsRunning());
    // Joins: its services are not asked again, and it hears the same outcome.
    check.Run({{second.BaseUrl(), {QStringLiteral("game.ini")}}}, [&](const UpdateOutcome& o) {
        joinedOutcome = o;
        ++calls;
    });
    ASSERT_TRUE(WaitFor([&] { return calls == 2; }));
    EXPECT_FALSE(check.IsRunning());
    EXPECT_EQ(joinedOutcome.Replaced(), firstOutcome.Replaced());
    EXPECT_EQ(firstOutcome.Replaced().size(), 3);
    EXPECT_EQ(first.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
    EXPECT_EQ(second.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
    EXPECT_EQ(second.RequestCount(QStringLiteral("/ver/live/file/game.ini")), 0);
}
