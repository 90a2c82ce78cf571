// Every way a download can go wrong, for a catalogue and for the update
// check: the old catalogue stays byte for byte, nothing is left beside it,
// and the event loop never stalls for more than 100 ms while it happens
// (a 10 ms heartbeat timer measures the longest gap).
#include "app/Endpoints.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/DownloadQueue.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

using demo::HttpResponse;

namespace {

constexpr int kStallTimeoutMs = 700; // short, so a stall test ends quickly
constexpr qint64 kLongestStallMs = 100;

struct Fault {
    const char* name;
    HttpResponse response;
};

std::vector<Fault> AllFaults() {
    return {
        {"refused", HttpResponse::Refuse()},
        {"404", HttpResponse::Status(404, "not here")},
        {"500", HttpResponse::Status(500, "[WORLD]\r\nCOUNT=0\r\n")},
        {"stall", HttpResponse::Stall()},
        {"stall after headers", HttpResponse::StallAfterHeaders(4096)},
        {"truncated", HttpResponse::Truncated("[WORLD]\r\nCOUNT=1\r\n[WORLD1]\r\nNAME=QU", 100000)},
        {"oversized", HttpResponse::Oversized(DownloadQueue::kDefaultSizeCap + 1)},
        {"html with 200", HttpResponse::Html("<html><body>maintenance</body></html>")},
        {"malformed ini", HttpResponse::Ok("[WORLD]\r\nCOUNT=1\r\nthis line is no entry\r\n")},
    };
}

// The longest time the event loop went without serving a 10 ms timer.
class Heartbeat {
public:
    Heartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Beat(); });
        clock_.start();
        timer_.start(kIntervalMs);
    }
    qint64 LongestStallMs() {
        Beat();
        return std::max<qint64>(0, longest_ - kIntervalMs);
    }

private:
    static constexpr int kIntervalMs = 10;
    void Beat() {
        const qint64 now = clock_.elapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

QByteArray Catalogue(const QByteArray& family, int version) {
    return "[" + family + "]\r\nCOUNT=1\r\n[" + family +
           "1]\r\nNUM=MQ==\r\nNAME=6rCA\r\nURL=aHR0cDovLzEyNy4wLjAuMTo4NzMzL2E=\r\n[DB]\r\nVER=" +
           QByteArray::number(version) + "\r\n";
}

class DownloadFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(server.Listen());
        queue.SetStallTimeoutMs(kStallTimeoutMs);
        for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs()) {
            const QByteArray bytes = Catalogue(section.toUtf8(), 1);
            WriteBytes(folder.filePath(fileName), bytes);
            old.push_back({fileName, bytes});
        }
    }
    void TearDown() override { server.Close(); }

    // The folder holds exactly the old catalogues, unchanged.
    void ExpectOldCataloguesOnly(const char* fault) {
        for (const auto& [fileName, bytes] : old)
            EXPECT_EQ(ReadBytes(folder.filePath(fileName)), bytes)
                << fault << ": " << fileName.toStdString();
        QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        QStringList expected;
        for (const auto& entry : old)
            expected << entry.first;
        expected.sort();
        EXPECT_EQ(names, expected) << fault << ": something was left in the data folder";
    }

    QTemporaryDir folder;
    demo::LoopbackHttpServer server;
    DownloadQueue queue;
    std::vector<std::pair<QString, QByteArray>> old;
};

TEST_F(DownloadFaultTest, ACatalogueDownloadThatFailsKeepsTheOldOneAndNeverFreezes) {
    for (const Fault& fault : AllFaults()) {
        server.SetRoute(QStringLiteral("/ver/live/file/world.ini"), fault.response);
        Heartbeat heartbeat;
        bool done = false;
        DownloadQueue::Result result;
        queue.Enqueue(QUrl(server.Url(QStringLiteral("/ver/live/file/world.ini"))),
                      folder.filePath(QStringLiteral("world.ini")), DownloadQueue::Check::IniFile,
                      [&](const DownloadQueue::Result& r) {
                          result = r;
                          done = true;
                      });
        ASSERT_TRUE(WaitFor([&] { return done; }, 30000))
            << fault.name << ": the download never ended";
        EXPECT_FALSE(result.saved()) << fault.name;
        EXPECT_LE(heartbeat.LongestStallMs(), kLongestStallMs) << fault.name;
        ExpectOldCataloguesOnly(fault.name);
    }
}

// Runs the update check to its end: it must report the failure as what it
// was, never as an update or as "up to date", and never hold up the event loop.
void ExpectUpdateFailsWithoutFreezing(CatalogueUpdater& updater, const char* faultName,
                                      UpdateOutcome::Kind expected) {
    Heartbeat heartbeat;
    bool done = false;
    UpdateOutcome outcome;
    updater.RunCatalogueUpdate([&](const UpdateOutcome& o) {
        outcome = o;
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done; }, 60000))
        << faultName << ": the update check never ended";
    EXPECT_FALSE(outcome.updated()) << faultName;
    EXPECT_EQ(outcome.kind(), expected) << faultName;
    EXPECT_LE(heartbeat.LongestStallMs(), kLongestStallMs) << faultName;
}

TEST_F(DownloadFaultTest, AFailingVersionListKeepsEveryCatalogueAndNeverFreezes) {
    CatalogueUpdater updater(&queue, folder.path(), server.BaseUrl());
    for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs())
        server.SetRoute(Endpoints::CataloguePath(fileName),
                        HttpResponse::Ok(Catalogue(section.toUtf8(), 9)));
    for (const Fault& fault : AllFaults()) {
        server.SetRoute(QString::fromLatin1(Endpoints::kVersionListPath), fault.response);
        ASSERT_NO_FATAL_FAILURE(
            ExpectUpdateFailsWithoutFreezing(updater, fault.name, UpdateOutcome::Kind::NotChecked));
        ExpectOldCataloguesOnly(fault.name);
        for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs())
            EXPECT_EQ(server.RequestCount(Endpoints::CataloguePath(fileName)), 0) << fault.name;
    }
}

TEST_F(DownloadFaultTest, FailingNewerCataloguesKeepTheOldOnesAndNeverFreeze) {
    CatalogueUpdater updater(&queue, folder.path(), server.BaseUrl());
    server.SetRoute(QString::fromLatin1(Endpoints::kVersionListPath),
                    HttpResponse::Ok("[TV]\r\nVER=2\r\n[WORLD]\r\nVER=2\r\n[GAME]\r\nVER=2\r\n"
                                     "[RADIO]\r\nVER=2\r\n[MUSIC]\r\nVER=2\r\n"));
    for (const Fault& fault : AllFaults()) {
        for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs())
            server.SetRoute(Endpoints::CataloguePath(fileName), fault.response);
        server.ClearRequests();
        ASSERT_NO_FATAL_FAILURE(
            ExpectUpdateFailsWithoutFreezing(updater, fault.name, UpdateOutcome::Kind::NotUpdated));
        ExpectOldCataloguesOnly(fault.name); // the version list is gone too
        // Each catalogue is tried (Qt asks once more when a connection closes
        // before any answer) and given up.
        for (const auto& [section, fileName] : CatalogueUpdater::CataloguePairs()) {
            const int asked = server.RequestCount(Endpoints::CataloguePath(fileName));
            EXPECT_GE(asked, 1) << fault.name << ": " << fileName.toStdString() << " never tried";
            EXPECT_LE(asked, 2) << fault.name << ": " << fileName.toStdString() << " asked "
                                << asked << " times";
        }
    }
}

} // namespace
