// A process killed with SIGKILL in the middle of its writes never leaves a
// torn settings store or user channel file behind: afterwards the file reads,
// and it is exactly the state after one complete write. Two processes
// writing settings at once lose no value of either.
#include "FaultRecords.h"

#include "app/IniDocument.h"
#include "app/SettingsStore.h"
#include "catalogue/CUserChannelFile.h"

#include "TestFolders.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <random>
#include <thread>

#include <gtest/gtest.h>

namespace {

constexpr int kRuns = 6;
constexpr int kWritesPerRun = 1000;
constexpr int kNames = 10;
const QString kKeepKey = QStringLiteral("SOFTWARE\\WAVEORBIT\\Options");

// The one way a test runs a writer: the writer program as a child process of
// its own, its errors passed through, started before the call returns.
void StartWriter(QProcess& child, const QStringList& arguments) {
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(WAVEORBIT_FAULT_WRITER), arguments);
    EXPECT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
}

// Starts the writer, kills it after a random pause, and says whether it was
// still writing when killed.
bool RunAndKill(const QStringList& arguments, std::mt19937& random) {
    QProcess child;
    StartWriter(child, arguments);
    const int pauseMs = std::uniform_int_distribution<int>(20, 400)(random);
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    const bool running = child.state() == QProcess::Running;
    child.kill(); // SIGKILL
    EXPECT_TRUE(child.waitForFinished(10000));
    if (!running || child.exitStatus() == QProcess::NormalExit) {
        EXPECT_EQ(child.exitCode(), 0) << "the writer failed before it was killed";
    }
    return running && child.exitStatus() == QProcess::CrashExit;
}

int LeftoverFiles(const QString& folder, const QStringList& expected) {
    int count = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (!expected.contains(name))
            ++count;
    }
    return count;
}

// Checks that user.ini holds the state after one whole write of the series
// that started at 0 (or none yet), and returns the number of the last write
// in it (-1 for none).
int CheckSettingsState(const QString& path) {
    const IniDocument doc = IniDocument::Parse(ReadBytes(path));
    EXPECT_EQ(doc.Value(kKeepKey, QStringLiteral("Keep")),
              std::optional<QString>(QStringLiteral("여기 있음")))
        << "a value nobody wrote was lost";
    int last = -1;
    std::vector<QString> values;
    for (int k = 0; k < kNames; ++k) {
        const std::optional<QString> value =
            doc.Value(fault::kSettingsKey, QStringLiteral("N%1").arg(k));
        EXPECT_TRUE(value.has_value()) << "N" << k << " is gone";
        values.push_back(value.value_or(QString()));
        if (value && *value != QLatin1String("old")) {
            const int i = value->section(QLatin1Char('|'), 0, 0).toInt();
            EXPECT_EQ(*value, fault::SettingText(i)) << "N" << k << " is torn";
            EXPECT_EQ(i % kNames, k);
            last = std::max(last, i);
        }
    }
    // Every name holds the newest write at or before the last one: no write
    // in between was lost, none after it half done.
    for (int k = 0; k < kNames; ++k) {
        int newest = last - ((last - k) % kNames + kNames) % kNames;
        const QString expected =
            newest >= 0 && newest <= last ? fault::SettingText(newest) : QStringLiteral("old");
        EXPECT_EQ(values[static_cast<size_t>(k)], expected) << "N" << k << " after write " << last;
    }
    return last;
}

TEST(CrashSafety, SettingsWritesKilledAtRandomPointsLeaveOneWholeState) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SettingsLocations locations{dir.path(), dir.filePath(QStringLiteral("autostart"))};
    SettingsStore store(locations);
    ASSERT_TRUE(store.Write(SettingsRoot::PerUser, kKeepKey, QStringLiteral("Keep"),
                            QStringLiteral("여기 있음")));
    for (int k = 0; k < kNames; ++k)
        ASSERT_TRUE(store.Write(SettingsRoot::PerUser, fault::kSettingsKey,
                                QStringLiteral("N%1").arg(k), QStringLiteral("old")));
    const QString path = store.FilePath(SettingsRoot::PerUser);

    std::mt19937 random(20240611);
    int killed = 0;
    int next = 0;
    for (int run = 0; run < kRuns; ++run) {
        killed += RunAndKill({QStringLiteral("settings"), dir.path(), QStringLiteral("N"),
                              QString::number(next), QString::number(kWritesPerRun),
                              QString::number(kNames)},
                             random);
        const int last = CheckSettingsState(path);
        ASSERT_GE(last, next - 1) << "writes that were done have gone";
        ASSERT_LT(last, next + kWritesPerRun);
        next = last + 1;
    }
    EXPECT_GE(killed, kRuns / 2)
        << "the writer mostly finished before the kill: nothing was tested";
    EXPECT_GT(next, 0) << "no write ever completed";
    // The lock a killed writer held is taken over at once.
    EXPECT_TRUE(
        store.Write(SettingsRoot::PerUser, kKeepKey, QStringLiteral("After"), QStringLiteral("1")));
    std::cout << "[ info ] " << killed << " of " << kRuns << " runs killed mid-write, " << next
              << " writes done\n";
    // Nor is anything of the killed writers left beside the store.
    EXPECT_EQ(LeftoverFiles(dir.path(), {QStringLiteral("user.ini")}), 0);
}

TEST(CrashSafety, UserChannelRewritesKilledAtRandomPointsLeaveOneWholeList) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CUserChannelFile file(dir.path());
    ASSERT_TRUE(file.Rewrite(fault::Generation(0)));

    std::mt19937 random(1234567);
    int killed = 0;
    int last = 0;
    for (int run = 0; run < kRuns; ++run) {
        killed += RunAndKill({QStringLiteral("userdat"), dir.path(), QString::number(last + 1),
                              QString::number(kWritesPerRun)},
                             random);
        const std::vector<ChannelRecord> records =
            CUserChannelFile::Parse(ReadBytes(file.FilePath()));
        ASSERT_FALSE(records.empty()) << "the list was emptied";
        const int generation = records.front().num().toInt();
        EXPECT_GE(generation, last) << "rewrites that were done have gone";
        EXPECT_LE(generation, last + kWritesPerRun);
        EXPECT_EQ(records, fault::Generation(generation)) << "the list is torn or mixed";
        last = generation;
    }
    EXPECT_GE(killed, kRuns / 2)
        << "the writer mostly finished before the kill: nothing was tested";
    EXPECT_TRUE(file.Rewrite(fault::Generation(1)))
        << "the lock of a killed writer is never given up";
    std::cout << "[ info ] " << killed << " of " << kRuns << " runs killed mid-rewrite, generation "
              << last << "\n";
    EXPECT_EQ(LeftoverFiles(dir.path(), {QStringLiteral("user.dat")}), 0);
}

TEST(CrashSafety, TwoProcessesWritingSettingsAtOnceLoseNoValue) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr int kEach = 150;
    QProcess a;
    QProcess b;
    const auto args = [&](const char* prefix) {
        return QStringList{QStringLiteral("settings"),  dir.path(),
                           QString::fromLatin1(prefix), QStringLiteral("0"),
                           QString::number(kEach),      QString::number(1000000)};
    };
    StartWriter(a, args("A"));
    StartWriter(b, args("B"));
    ASSERT_TRUE(a.waitForFinished(120000));
    ASSERT_TRUE(b.waitForFinished(120000));
    EXPECT_EQ(a.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(b.exitCode(), 0);

    const IniDocument doc = IniDocument::Parse(ReadBytes(dir.filePath(QStringLiteral("user.ini"))));
    int lost = 0;
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < kEach; ++i) {
            const auto value =
                doc.Value(fault::kSettingsKey, QString::fromLatin1(prefix) + QString::number(i));
            if (value != std::optional<QString>(fault::SettingText(i)))
                ++lost;
        }
    }
    EXPECT_EQ(lost, 0) << "values lost of " << 2 * kEach;
}

} // namespace
