#include "catalogue/DownloadQueue.h"
#include "catalogue/CatalogueUpdater.h"

#include "../../tools/demo/LoopbackHttpServer.h"
#include "EventLoopWait.h"
#include "TestFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

using demo::HttpResponse;
using demo::LoopbackHttpServer;

namespace {

const QByteArray kOldCatalogue = "[WORLD]\r\nCOUNT=0\r\n[DB]\r\nVER=12\r\n";
const QByteArray kNewCatalogue =
    "[WORLD]\r\nCOUNT=1\r\n[WORLD1]\r\nNAME=QUJD\r\n[DB]\r\nVER=13\r\n";

QByteArray VersionList(int tv, int world, int game, int radio, int music) {
    return "[TV]\r\nVER=" + QByteArray::number(tv) +
           "\r\n[WORLD]\r\nVER=" + QByteArray::number(world) +
           "\r\n[GAME]\r\nVER=" + QByteArray::number(game) +
           "\r\n[RADIO]\r\nVER=" + QByteArray::number(radio) +
           "\r\n[MUSIC]\r\nVER=" + QByteArray::number(music) + "\r\n";
}

QByteArray Catalogue(const QByteArray& family, int version) {
    return "[" + family + "]\r\nCOUNT=0\r\n[DB]\r\nVER=" + QByteArray::number(version) + "\r\n";
}

class DownloadQueueTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.Listen()); }

    DownloadQueue::Result Fetch(const QString& target, DownloadQueue::Check check,
                                const DownloadQueue::Validators& kept = {}) {
        bool done = false;
        DownloadQueue::Result result;
        queue.Enqueue(DownloadQueue::Request{QUrl(server.Url(target)), path, check, kept},
                      [&](const DownloadQueue::Result& r) {
                          result = r;
                          done = true;
                      });
        EXPECT_TRUE(WaitFor([&] { return done; }));
        return result;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("world.ini"));
    LoopbackHttpServer server;
    DownloadQueue queue;
};

} // namespace

TEST_F(DownloadQueueTest, AWholeIniBodyReplacesTheTarget) {
    WriteBytes(path, kOldCatalogue);
    server.SetRoute(QStringLiteral("/w"), HttpResponse::Ok(kNewCatalogue));
    EXPECT_TRUE(Fetch(QStringLiteral("/w"), DownloadQueue::Check::IniFile).saved());
    EXPECT_EQ(ReadBytes(path), kNewCatalogue);
    EXPECT_TRUE(queue.IsIdle());
}

// A list of megabytes from a server that sends faster than the window reads
// (on a thread of its own) arrives in a few large notifications, often with
// the end of the transfer, and is read over several turns of the event loop:
// still whole, in order, and held to the cap to the byte.
TEST_F(DownloadQueueTest, ABodyOfMegabytesArrivesWholeAndWithinTheCap) {
    QByteArray ini = "[TV]\r\n";
    for (int i = 0; ini.size() < 5 * 1024 * 1024; ++i)
        ini += "NAME" + QByteArray::number(i) + "=" + QByteArray(40, char('a' + i % 26)) + "\r\n";
    QThread serverThread;
    serverThread.start();
    auto* fast = new LoopbackHttpServer;
    fast->SetRoute(QStringLiteral("/big"), HttpResponse::Ok(ini));
    fast->moveToThread(&serverThread);
    bool listening = false;
    QMetaObject::invokeMethod(
        fast, [&] { listening = fast->Listen(); }, Qt::BlockingQueuedConnection);
    const QUrl url(fast->Url(QStringLiteral("/big")));
    const auto fetch = [&](DownloadQueue::Check check) {
        bool done = false;
        DownloadQueue::Result result;
        queue.Enqueue(url, path, check, [&](const DownloadQueue::Result& r) {
            result = r;
            done = true;
        });
        // The window is busy while the whole body and the end arrive.
        QTimer::singleShot(5, [] { QThread::msleep(300); });
        EXPECT_TRUE(WaitFor([&] { return done; }));
        return result;
    };
    if (listening) {
        for (const DownloadQueue::Check check :
             {DownloadQueue::Check::IniFile, DownloadQueue::Check::None}) {
            WriteBytes(path, kOldCatalogue);
            queue.SetSizeCap(ini.size());
            EXPECT_TRUE(fetch(check).saved());
            EXPECT_TRUE(ReadBytes(path) == ini);
        }
        WriteBytes(path, kOldCatalogue);
        queue.SetSizeCap(ini.size() - 1);
        EXPECT_EQ(fetch(DownloadQueue::Check::None).outcome, DownloadQueue::Outcome::TooLarge);
        EXPECT_EQ(ReadBytes(path), kOldCatalogue);
        EXPECT_TRUE(queue.IsIdle());
    }
    QMetaObject::invokeMethod(
        fast, [fast] { delete fast; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();
    ASSERT_TRUE(listening);
}

TEST_F(DownloadQueueTest, EveryFaultLeavesThePreviousFileByteForByte) {
    queue.SetStallTimeoutMs(300);
    queue.SetSizeCap(64 * 1024);
    const struct {
        const char* name;
        HttpResponse response;
        DownloadQueue::Outcome outcome;
    } faults[] = {
        {"404", HttpResponse::Status(404, "not here"), DownloadQueue::Outcome::HttpError},
        {"500", HttpResponse::Status(500, "[A]\nB=1\n"), DownloadQueue::Outcome::HttpError},
        {"refused", HttpResponse::Refuse(), DownloadQueue::Outcome::NetworkError},
        {"stall", HttpResponse::Stall(), DownloadQueue::Outcome::TimedOut},
        {"stall after headers", HttpResponse::StallAfterHeaders(1000),
         DownloadQueue::Outcome::TimedOut},
        {"truncated", HttpResponse::Truncated(kNewCatalogue.left(20), kNewCatalogue.size()),
         DownloadQueue::Outcome::NetworkError},
        {"oversized", HttpResponse::Oversized(1024 * 1024), DownloadQueue::Outcome::TooLarge},
        {"html", HttpResponse::Html("<html><body>[maintenance]</body></html>"),
         DownloadQueue::Outcome::Malformed},
        {"empty", HttpResponse::Ok(QByteArray()), DownloadQueue::Outcome::Malformed},
    };
    WriteBytes(path, kOldCatalogue);
    for (const auto& fault : faults) {
        server.SetRoute(QStringLiteral("/w"), fault.response);
        const DownloadQueue::Result result =
            Fetch(QStringLiteral("/w"), DownloadQueue::Check::IniFile);
        EXPECT_EQ(result.outcome, fault.outcome) << fault.name;
        EXPECT_EQ(ReadBytes(path), kOldCatalogue) << fault.name;
        // Nothing half-written is left beside it.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("world.ini")})
            << fault.name;
    }
    // A closed port fails the same way.
    const QString closed = server.Url(QStringLiteral("/w"));
    server.Close();
    bool done = false;
    queue.Enqueue(QUrl(closed), path, DownloadQueue::Check::IniFile,
                  [&](const DownloadQueue::Result& r) {
                      EXPECT_FALSE(r.saved());
                      done = true;
                  });
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_EQ(ReadBytes(path), kOldCatalogue);
}

// A catalogue small enough to sit in the file's write buffer reached the
// disk only at the end; a full disk refused it there, and the empty file
// was put in place all the same.
TEST_F(DownloadQueueTest, AFullDiskLeavesTheTargetAsItWas) {
    server.SetRoute(QStringLiteral("/w"), HttpResponse::Ok(kNewCatalogue));
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit full = old;
    full.rlim_cur = 0; // every byte written is refused, as by a full disk
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    for (const bool kept : {false, true}) {
        if (kept)
            WriteBytes(path, kOldCatalogue);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
        const DownloadQueue::Result result =
            Fetch(QStringLiteral("/w"), DownloadQueue::Check::IniFile);
        setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_EQ(result.outcome, DownloadQueue::Outcome::WriteFailed) << kept;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  kept ? QStringList{QStringLiteral("world.ini")} : QStringList())
            << kept;
        if (kept) {
            EXPECT_EQ(ReadBytes(path), kOldCatalogue);
        }
    }
    signal(SIGXFSZ, oldHandler);
}

TEST_F(DownloadQueueTest, JobsRunOneAtATimeInTheOrderAsked) {
    server.SetRoute(QStringLiteral("/a"), HttpResponse::Slow("[A]\nX=1\n", 40));
    server.SetRoute(QStringLiteral("/b"), HttpResponse::Ok("[B]\nX=1\n"));
    QStringList finished;
    queue.Enqueue(QUrl(server.Url(QStringLiteral("/a"))), dir.filePath(QStringLiteral("a.ini")),
                  DownloadQueue::Check::IniFile,
                  [&](const auto&) { finished << QStringLiteral("a"); });
    queue.Enqueue(QUrl(server.Url(QStringLiteral("/b"))), dir.filePath(QStringLiteral("b.ini")),
                  DownloadQueue::Check::IniFile,
                  [&](const auto&) { finished << QStringLiteral("b"); });
    EXPECT_TRUE(queue.IsPending(dir.filePath(QStringLiteral("b.ini"))));
    ASSERT_TRUE(WaitFor([&] { return finished.size() == 2; }));
    EXPECT_EQ(finished, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(server.RequestedTargets(), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));
}

TEST_F(DownloadQueueTest, ASlowDownloadKeepsTheEventLoopTurning) {
    server.SetRoute(QStringLiteral("/slow"),
                    HttpResponse::Slow(
                        "[S]\n" + QByteArray(6000, 'x').replace('x', "K=1\n").left(6000), 20000));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    const auto result = Fetch(QStringLiteral("/slow"), DownloadQueue::Check::None);
    EXPECT_TRUE(result.saved());
    // The timer kept firing while the body trickled in.
    EXPECT_GT(ticks, 5);
}

// A server that gives its body's validators answers "not modified" to a
// request that carries them: the target stays as it was, and is no failure.
TEST_F(DownloadQueueTest, NotModifiedKeepsTheTargetOnlyForAConditionalRequest) {
    const QByteArray etag = "\"v1\"";
    const QByteArray date = "Wed, 09 Dec 2026 21:30:00 GMT";
    HttpResponse notModified;
    notModified.status = 304;
    server.SetHandler(QStringLiteral("/g"), [&](const demo::HttpRequest& request) {
        HttpResponse answer =
            request.header("If-None-Match") == etag ? notModified : HttpResponse::Ok(kNewCatalogue);
        answer.extraHeaders = {{"ETag", etag}, {"Last-Modified", date}};
        return answer;
    });
    const DownloadQueue::Result first = Fetch(QStringLiteral("/g"), DownloadQueue::Check::None);
    ASSERT_TRUE(first.saved());
    EXPECT_EQ(first.validators, (DownloadQueue::Validators{etag, date}));
    ASSERT_TRUE(DownloadQueue::Validators::WriteBeside(path, first.validators));
    const DownloadQueue::Validators kept = DownloadQueue::Validators::ReadBeside(path);
    EXPECT_EQ(kept, first.validators);

    WriteBytes(path, kOldCatalogue);
    const DownloadQueue::Result again =
        Fetch(QStringLiteral("/g"), DownloadQueue::Check::None, kept);
    EXPECT_TRUE(again.unchanged());
    EXPECT_EQ(again.httpStatus, 304);
    EXPECT_EQ(ReadBytes(path), kOldCatalogue);
    EXPECT_EQ(server.Requests().last().header("If-Modified-Since"), date);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("world.ini"), QStringLiteral("world.ini.validators")}));

    // 304 to a request that named no copy is not an answer to have.
    server.SetRoute(QStringLiteral("/g"), notModified);
    const DownloadQueue::Result unasked = Fetch(QStringLiteral("/g"), DownloadQueue::Check::None);
    EXPECT_EQ(unasked.outcome, DownloadQueue::Outcome::HttpError);
    EXPECT_EQ(ReadBytes(path), kOldCatalogue);
    // Values that could not be sent back safely are not kept.
    EXPECT_TRUE(DownloadQueue::Validators::Usable("\"a\"\r\nX-Evil: 1").isEmpty());
}

// Held to a rate, the queue reads no more than the pace allows on its own
// clock (frozen here: one burst), reads on as the clock moves, and at full
// speed once the cap is lifted; the body arrives whole.
TEST_F(DownloadQueueTest, ARateCapPacesTheReadingOnTheQueuesClock) {
    const QByteArray body(1024 * 1024, 'g');
    server.SetRoute(QStringLiteral("/big"), HttpResponse::Ok(body));
    qint64 now = 0;
    queue.SetClock([&now] { return now; });
    constexpr qint64 kRate = 64 * 1024;
    const qint64 burst = ReadPacer::BurstOf(kRate, ReadPacer::kMinimumBurst);
    queue.SetRateCap(kRate);
    bool done = false;
    DownloadQueue::Result result;
    queue.Enqueue(QUrl(server.Url(QStringLiteral("/big"))), path, DownloadQueue::Check::None,
                  [&](const DownloadQueue::Result& r) {
                      result = r;
                      done = true;
                  });
    ASSERT_TRUE(WaitFor([&] { return queue.Received() == burst; }));
    RunEventsFor(300);
    EXPECT_EQ(queue.Received(), burst);
    now += 10000; // a long wait still allows one burst, not ten seconds' worth
    ASSERT_TRUE(WaitFor([&] { return queue.Received() == 2 * burst; }));
    RunEventsFor(300);
    EXPECT_EQ(queue.Received(), 2 * burst);
    EXPECT_FALSE(done);

    queue.SetRateCap(0);
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_TRUE(result.saved());
    EXPECT_TRUE(ReadBytes(path) == body);
}

TEST(ReadPacer, HoldsReadingToTheRateWithoutBacklog) {
    ReadPacer pacer;
    constexpr qint64 kRate = 100 * 1024;
    const qint64 burst = ReadPacer::BurstOf(kRate, ReadPacer::kMinimumBurst);
    pacer.SetRate(kRate, 1000);
    // Reading in slices of 8 KB as often as allowed, over ten simulated seconds.
    qint64 read = 0;
    for (qint64 t = 1000; t <= 11000; t += 5) {
        const qint64 n = std::min<qint64>(pacer.Allowance(t), 8192);
        pacer.Took(n);
        read += n;
    }
    EXPECT_LE(read, 10 * kRate + burst);
    EXPECT_GE(read, 10 * kRate - 8192);
    // After a long pause one burst at most, then the wait for the next slice.
    EXPECT_EQ(pacer.Allowance(60000), burst);
    pacer.Took(burst);
    EXPECT_EQ(pacer.WaitMs(60000, 10240), 100);
    EXPECT_EQ(pacer.Allowance(60100), 10240);
    // Not paced: everything at once.
    pacer.SetRate(0, 60100);
    EXPECT_EQ(pacer.WaitMs(60100, 1 << 30), 0);
    EXPECT_GE(pacer.Allowance(60100), qint64(1) << 40);
}

TEST(LooksLikeIni, TellsIniFromOtherBodies) {
    EXPECT_TRUE(DownloadQueue::LooksLikeIni("[A]\r\nB=1\r\n; note\r\n\r\n[C]\r\n"));
    EXPECT_FALSE(DownloadQueue::LooksLikeIni(""));
    EXPECT_FALSE(DownloadQueue::LooksLikeIni("B=1\n[A]\n"));
    EXPECT_FALSE(DownloadQueue::LooksLikeIni("<!DOCTYPE html>\n<html>\n"));
    EXPECT_FALSE(DownloadQueue::LooksLikeIni(QByteArray("[A]\nB=\0\n", 8)));
}

class CatalogueUpdaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listen());
        for (const auto& [section, file] : CatalogueUpdater::CataloguePairs())
            server.SetRoute(QStringLiteral("/ver/live/file/") + file,
                            HttpResponse::Ok(Catalogue(section.toUtf8(), 13)));
        updater = std::make_unique<CatalogueUpdater>(&queue, dir.path(), server.BaseUrl());
    }

    UpdateOutcome Run() {
        bool done = false;
        UpdateOutcome outcome;
        updater->RunCatalogueUpdate([&](const UpdateOutcome& o) {
            outcome = o;
            done = true;
        });
        EXPECT_TRUE(WaitFor([&] { return done; }));
        return outcome;
    }

    QString Path(const QString& file) const { return dir.filePath(file); }

    QTemporaryDir dir;
    LoopbackHttpServer server;
    DownloadQueue queue;
    std::unique_ptr<CatalogueUpdater> updater;
};

TEST_F(CatalogueUpdaterTest, ReplacesOnlyCataloguesBehindTheServer) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Ok(VersionList(13, 12, 13, 0, 5)));
    WriteBytes(Path(QStringLiteral("tv.ini")), Catalogue("TV", 12));       // behind: replaced
    WriteBytes(Path(QStringLiteral("world.ini")), Catalogue("WORLD", 12)); // equal: kept
    WriteBytes(Path(QStringLiteral("game.ini")), Catalogue("GAME", 14));   // ahead: kept
    WriteBytes(Path(QStringLiteral("music.ini")), "[MUSIC]\nCOUNT=0\n");   // no VER: fetched
    const UpdateOutcome outcome = Run();
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::Updated);
    EXPECT_EQ(outcome.Replaced(),
              (QStringList{QStringLiteral("tv.ini"), QStringLiteral("music.ini")}));
    EXPECT_EQ(outcome.Message(), QStringLiteral("최신버전으로 업데이트 되었습니다."));
    EXPECT_EQ(CatalogueUpdater::LocalVersion(Path(QStringLiteral("tv.ini"))), 13);
    EXPECT_EQ(CatalogueUpdater::LocalVersion(Path(QStringLiteral("world.ini"))), 12);
    EXPECT_EQ(CatalogueUpdater::LocalVersion(Path(QStringLiteral("game.ini"))), 14);
    EXPECT_EQ(CatalogueUpdater::LocalVersion(Path(QStringLiteral("music.ini"))), 13);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("radio.ini")))); // server version 0
    // The version list was asked for once and is gone afterwards.
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 1);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("live_update.ini"))));
    EXPECT_EQ(server.RequestedTargets(), (QStringList{QStringLiteral("/ver/5.0/live/update.php"),
                                                      QStringLiteral("/ver/live/file/tv.ini"),
                                                      QStringLiteral("/ver/live/file/music.ini")}));
}

// A tab still fetching a catalogue puts it in place before it is compared:
// the check neither takes it for missing nor fetches it a second time.
TEST_F(CatalogueUpdaterTest, ACatalogueIsComparedOnlyOnceItIsSettled) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Ok(VersionList(12, 0, 0, 0, 0)));
    std::function<void()> held;
    updater->SetSettle([&held](const QString& file, std::function<void()> then) {
        if (file == QStringLiteral("tv.ini"))
            held = std::move(then);
        else
            then();
    });
    bool done = false;
    UpdateOutcome outcome;
    updater->RunCatalogueUpdate([&](const UpdateOutcome& o) {
        outcome = o;
        done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return bool(held); }));
    WriteBytes(Path(QStringLiteral("tv.ini")), Catalogue("TV", 12));
    EXPECT_FALSE(done);
    held();
    ASSERT_TRUE(WaitFor([&] { return done; }));
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::UpToDate);
    EXPECT_EQ(server.RequestedTargets(), QStringList{QStringLiteral("/ver/5.0/live/update.php")});
}

TEST_F(CatalogueUpdaterTest, NothingNewMeansNotUpdated) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Ok(VersionList(12, 0, 0, 0, 0)));
    WriteBytes(Path(QStringLiteral("tv.ini")), Catalogue("TV", 12));
    const UpdateOutcome outcome = Run();
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::UpToDate);
    EXPECT_EQ(outcome.Message(), QStringLiteral("현재 버전이 최신버전입니다."));
    EXPECT_EQ(server.RequestedTargets(), QStringList{QStringLiteral("/ver/5.0/live/update.php")});
}

TEST_F(CatalogueUpdaterTest, AFailedReplacementKeepsTheOldCatalogueAndIsNotAnUpdate) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Ok(VersionList(13, 0, 0, 0, 0)));
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"),
                    HttpResponse::Html("<html>oops</html>"));
    const QByteArray old = Catalogue("TV", 12);
    WriteBytes(Path(QStringLiteral("tv.ini")), old);
    const UpdateOutcome outcome = Run();
    EXPECT_FALSE(outcome.updated());
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::NotUpdated);
    EXPECT_EQ(outcome.Failed(), QStringList{QStringLiteral("tv.ini")});
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("tv.ini"))), old);

    // The same with 404, and world.ini newer as well and arriving: partly
    // updated, and the next check fetches tv.ini again.
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"),
                    HttpResponse::Ok(VersionList(13, 13, 0, 0, 0)));
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"), HttpResponse::Status(404));
    const UpdateOutcome partly = Run();
    EXPECT_EQ(partly.kind(), UpdateOutcome::Kind::PartlyUpdated);
    EXPECT_EQ(partly.Replaced(), QStringList{QStringLiteral("world.ini")});
    EXPECT_EQ(partly.Failed(), QStringList{QStringLiteral("tv.ini")});
    EXPECT_TRUE(partly.Message().contains(QStringLiteral("다시")));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("tv.ini"))), old);
    server.SetRoute(QStringLiteral("/ver/live/file/tv.ini"), HttpResponse::Ok(Catalogue("TV", 13)));
    EXPECT_EQ(Run().Replaced(), QStringList{QStringLiteral("tv.ini")});
    EXPECT_EQ(CatalogueUpdater::LocalVersion(Path(QStringLiteral("tv.ini"))), 13);
}

// The kinds as other sources' results merge into them: anything missed after
// a replacement is "partly"; nothing replaced and something unchecked is
// "could not check", whatever else failed.
TEST(UpdateOutcomeTest, MergedResultsDecideTheKind) {
    UpdateOutcome ours;
    ours.AddCurrent(QStringLiteral("tv.ini"));
    EXPECT_EQ(ours.kind(), UpdateOutcome::Kind::UpToDate);
    EXPECT_EQ(UpdateOutcome().kind(), UpdateOutcome::Kind::UpToDate);

    UpdateOutcome other;
    other.AddUnchecked(QStringLiteral("radio directory"));
    UpdateOutcome merged = ours;
    merged.Merge(other);
    EXPECT_EQ(merged.kind(), UpdateOutcome::Kind::NotChecked);
    merged.AddFailed(QStringLiteral("game.ini"));
    EXPECT_EQ(merged.kind(), UpdateOutcome::Kind::NotChecked);
    merged.AddReplaced(QStringLiteral("world.ini"));
    EXPECT_EQ(merged.kind(), UpdateOutcome::Kind::PartlyUpdated);

    // Each kind has its own words.
    QStringList texts;
    for (auto kind : {UpdateOutcome::Kind::UpToDate, UpdateOutcome::Kind::Updated,
                      UpdateOutcome::Kind::PartlyUpdated, UpdateOutcome::Kind::NotUpdated,
                      UpdateOutcome::Kind::NotChecked})
        texts.append(UpdateOutcome::MessageFor(kind));
    texts.removeDuplicates();
    EXPECT_EQ(texts.size(), 5);
}

TEST_F(CatalogueUpdaterTest, AMissingVersionListIsAskedForAgainByEachCatalogue) {
    server.SetRoute(QStringLiteral("/ver/5.0/live/update.php"), HttpResponse::Status(500));
    const UpdateOutcome outcome = Run();
    EXPECT_EQ(outcome.kind(), UpdateOutcome::Kind::NotChecked);
    EXPECT_EQ(outcome.Unchecked().size(), 5);
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/5.0/live/update.php")), 5);
    EXPECT_EQ(server.RequestCount(QStringLiteral("/ver/live/file/tv.ini")), 0);
}
