// What the installer's Next does: open the partner setup, count, record the
// version — and nothing at all when the user did not agree or the desktop's
// opener (here a stand-in that exits as told) did not open the setup.
#include "installer/InstallerFlow.h"
#include "EventLoopWait.h"
#include "TestFolders.h"
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "demo/LoopbackHttpServer.h"
#include "installer/CountRequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kCountTarget = QString::fromLatin1(Endpoints::kCountPath);

// A loopback address where nothing listens.
QString ClosedPortAddress() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

class InstallerFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(tools.isValid());
        server.SetRoute(kCountTarget, demo::HttpResponse::Ok("OK\r\n"));
        ASSERT_TRUE(server.Listen());
    }

    void PlaceSetup() {
        WriteBytes(QDir(folder.path()).filePath(QStringLiteral("QDXInst_HLM0030001.exe")),
                   "MZ setup");
    }

    QString Opener(int exitStatus = 0) { return WriteOpenerStandIn(tools.path(), exitStatus); }
    QStringList Opened() const { return OpenedByStandIn(tools.path()); }

    QString Recorded() const {
        QString text;
        SettingsStore().Read(SettingsRoot::MachineWide, QString::fromUtf8(Settings::kKeyUpdate),
                             QStringLiteral("vernimbuskit"), QStringLiteral("<none>"), &text);
        return text;
    }

    ScopedXdgHome home;
    QTemporaryDir folder;
    QTemporaryDir tools; // the opener stand-ins and what they were asked
    demo::LoopbackHttpServer server;
};

} // namespace

TEST_F(InstallerFlowTest, WithoutAgreementOrWithoutASetupNothingHappens) {
    PlaceSetup();
    InstallerFlow declined(folder.path(), server.BaseUrl(), Opener());
    EXPECT_EQ(declined.Next(false), InstallerFlow::Step::Declined);

    QTemporaryDir empty;
    InstallerFlow missing(empty.path(), server.BaseUrl(), Opener());
    EXPECT_EQ(missing.Next(true), InstallerFlow::Step::SetupMissing);

    QCoreApplication::processEvents();
    EXPECT_FALSE(declined.Busy() || missing.Busy());
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_EQ(server.Requests().size(), 0);
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
}

TEST_F(InstallerFlowTest, AnOpenerThatFailsOrIsMissingCountsAndRecordsNothing) {
    PlaceSetup();
    // As xdg-open exits on a desktop with no handler for the file; and a
    // desktop without the opener at all.
    for (const QString& opener : {Opener(3), tools.filePath(QStringLiteral("no-such-opener"))}) {
        SCOPED_TRACE(opener.toStdString());
        InstallerFlow flow(folder.path(), server.BaseUrl(), opener);
        int failed = 0, installed = 0;
        QObject::connect(&flow, &InstallerFlow::setupFailed, [&failed] { ++failed; });
        QObject::connect(&flow, &InstallerFlow::installed, [&installed] { ++installed; });
        ASSERT_EQ(flow.Next(true), InstallerFlow::Step::Opening);
        EXPECT_TRUE(flow.Busy()); // the outcome is not known before the opener ends
        ASSERT_TRUE(WaitFor([&] { return failed == 1; }));
        RunEventsFor(100);
        EXPECT_EQ(failed, 1);
        EXPECT_EQ(installed, 0);
        EXPECT_FALSE(flow.Busy());
    }
    EXPECT_EQ(Opened().size(), 1); // the stand-in that exists was asked once
    EXPECT_EQ(server.Requests().size(), 0);
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
}

TEST_F(InstallerFlowTest, AgreedOpensTheSetupCountsOnceThenRecordsTheVersion) {
    PlaceSetup();
    InstallerFlow flow(folder.path(), server.BaseUrl(), Opener(0));
    int installed = 0;
    QObject::connect(&flow, &InstallerFlow::installed, [&installed] { ++installed; });
    ASSERT_EQ(flow.Next(true), InstallerFlow::Step::Opening);
    // Presses while the opener or the count runs start nothing more.
    EXPECT_EQ(flow.Next(true), InstallerFlow::Step::Opening);
    EXPECT_EQ(flow.Next(false), InstallerFlow::Step::Opening);
    // The version is recorded only once the count has ended.
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
    ASSERT_TRUE(WaitFor([&] { return installed == 1; }));
    ASSERT_EQ(Opened().size(), 1);
    EXPECT_EQ(QFileInfo(Opened()[0]).canonicalFilePath(),
              QFileInfo(QDir(folder.path()).filePath(QStringLiteral("QDXInst_HLM0030001.exe")))
                  .canonicalFilePath());
    EXPECT_EQ(server.RequestCount(kCountTarget), 1);
    EXPECT_EQ(server.Requests().size(), 1);
    EXPECT_EQ(server.Requests()[0].method, QByteArray("GET"));
    EXPECT_EQ(Recorded(), QStringLiteral("20100804"));
    EXPECT_FALSE(flow.Busy());
}

TEST_F(InstallerFlowTest, ACountServerThatIsDownOrBrokenStillEndsInTheRecord) {
    PlaceSetup();
    struct Case {
        const char* name;
        QString base;
    };
    demo::LoopbackHttpServer broken;
    ASSERT_TRUE(broken.Listen());
    broken.SetRoute(kCountTarget, demo::HttpResponse::Stall());
    demo::LoopbackHttpServer failing;
    ASSERT_TRUE(failing.Listen());
    failing.SetRoute(kCountTarget, demo::HttpResponse::Status(500, "down"));
    const Case cases[] = {{"closed port", ClosedPortAddress()},
                          {"stalls", broken.BaseUrl()},
                          {"error status", failing.BaseUrl()},
                          {"no address", QString()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SettingsStore().FilePath(SettingsRoot::MachineWide), QByteArray());
        InstallerFlow flow(folder.path(), c.base, Opener());
        flow.SetCountTimeout(300);
        int installed = 0;
        QObject::connect(&flow, &InstallerFlow::installed, [&installed] { ++installed; });
        ASSERT_EQ(flow.Next(true), InstallerFlow::Step::Opening);
        ASSERT_TRUE(WaitFor([&] { return installed == 1; }));
        EXPECT_EQ(Recorded(), QStringLiteral("20100804"));
    }
    EXPECT_EQ(broken.RequestCount(kCountTarget), 1);
    EXPECT_EQ(failing.RequestCount(kCountTarget), 1);
}

TEST(CountRequest, AsksTheCountPathOnceAndEndsOnceWhateverTheAnswer) {
    QCoreApplication::setApplicationName(QStringLiteral("NIMBUSKIT"));
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(kCountTarget, demo::HttpResponse::Oversized(8 * 1024 * 1024));
    CountRequest count;
    int finished = 0;
    QObject::connect(&count, &CountRequest::finished, [&finished] { ++finished; });
    ASSERT_TRUE(count.Send(server.BaseUrl() + QStringLiteral("/")));
    EXPECT_FALSE(count.Send(server.BaseUrl())); // one at a time
    ASSERT_TRUE(WaitFor([&] { return finished == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(count.Running());
    ASSERT_EQ(server.RequestedTargets(), QStringList{kCountTarget});
    EXPECT_EQ(server.Requests()[0].header("User-Agent"), QByteArray("NIMBUSKIT"));
    EXPECT_EQ(CountRequest::Address(QStringLiteral("http://127.0.0.1:8731")),
              QStringLiteral("http://127.0.0.1:8731/log/count.php?mode=a&key=nimbuskit2"));
}
