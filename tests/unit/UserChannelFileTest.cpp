#include "app/LegacyText.h"
#include "catalogue/CUserChannelFile.h"

#include "RecordNames.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

ChannelRecord Record(const QString& name,
                     const QString& url = QStringLiteral("mms://127.0.0.1/x")) {
    ChannelRecord r;
    r.fields = {QStringLiteral("일반등록"),
                name,
                QStringLiteral("정보"),
                QStringLiteral("연결대기"),
                url,
                QStringLiteral("N"),
                QStringLiteral("http://127.0.0.1:8730")};
    return r;
}

class UserChannelFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("waveorbit")); }
    CUserChannelFile file{folder()};
};

} // namespace

TEST_F(UserChannelFileTest, LoadCreatesAMissingFileEmpty) {
    EXPECT_TRUE(file.Load().empty());
    ASSERT_TRUE(QFile::exists(file.FilePath()));
    EXPECT_EQ(QFileInfo(file.FilePath()).size(), 0);
    EXPECT_TRUE(file.Load().empty());
}

TEST_F(UserChannelFileTest, AppendWritesCp949LinesWithCrLf) {
    ASSERT_TRUE(file.Append(Record(QStringLiteral("서울"))));
    ASSERT_TRUE(file.Append(Record(QStringLiteral("B"))));
    const QByteArray bytes = ReadBytes(file.FilePath());
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 2);
    EXPECT_FALSE(LegacyText::IsValidUtf8(bytes)); // Korean in the legacy code page
    const auto records = file.Load();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], Record(QStringLiteral("서울")));
}

TEST_F(UserChannelFileTest, DeletingFromTheListKeepsTheStoredOrder) {
    for (const char* name : {"A", "B", "C"})
        file.Append(Record(QString::fromLatin1(name)));
    auto rows = file.Load();
    EXPECT_EQ(Names(rows),
              (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    // The list shows the last line on top: C, B, A. Delete B there...
    std::vector<ChannelRecord> listRows(rows.rbegin(), rows.rend());
    listRows.erase(listRows.begin() + 1);
    ASSERT_TRUE(file.Rewrite(CUserChannelFile::ListRowsToFileOrder(listRows)));
    // ...and the file still lists A before C, so the list still shows C above A.
    EXPECT_EQ(Names(file.Load()), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));
}

TEST_F(UserChannelFileTest, ParsesShortLongAndEmptyLines) {
    const auto records = CUserChannelFile::Parse("a#b#c\r\n\r\n1#2#3#4#5#6#7#8#9\nlast");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].info(), QStringLiteral("c"));
    EXPECT_TRUE(records[0].url().isEmpty());
    EXPECT_EQ(records[1], ChannelRecord());
    EXPECT_EQ(records[2].webUrl(), QStringLiteral("7")); // text after a seventh "#" is ignored
    EXPECT_EQ(records[3].num(), QStringLiteral("last"));
    EXPECT_TRUE(CUserChannelFile::Parse(QByteArray()).empty());
}

TEST_F(UserChannelFileTest, FieldsAreCutAt259BytesWithoutBreakingACharacter) {
    file.Append(Record(QString(300, QLatin1Char('n'))));
    file.Append(Record(QStringLiteral("x") + QString(150, QChar(0xAC00)))); // 1 + 300 bytes
    const auto records = file.Load();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name().size(), 259);
    EXPECT_EQ(records[1].name(), QStringLiteral("x") + QString(129, QChar(0xAC00)));
}

TEST_F(UserChannelFileTest, TextCp949CannotHoldSwitchesTheFileToUtf8) {
    file.Append(Record(QStringLiteral("서울")));
    file.Append(Record(QStringLiteral("音楽 🎵 Ελληνικά")));
    file.Append(Record(QStringLiteral("부산")));
    const QByteArray bytes = ReadBytes(file.FilePath());
    EXPECT_TRUE(LegacyText::IsValidUtf8(bytes));
    EXPECT_EQ(Names(file.Load()),
              (QStringList{QStringLiteral("서울"), QStringLiteral("音楽 🎵 Ελληνικά"),
                           QStringLiteral("부산")}));
    // Rewriting without the odd one goes back to the legacy code page.
    auto records = file.Load();
    records.erase(records.begin() + 1);
    file.Rewrite(records);
    EXPECT_FALSE(LegacyText::IsValidUtf8(ReadBytes(file.FilePath())));
    EXPECT_EQ(Names(file.Load()), (QStringList{QStringLiteral("서울"), QStringLiteral("부산")}));
}

TEST_F(UserChannelFileTest, ASeparatorInsideAFieldIsRefusedOrReplacedNeverShifted) {
    EXPECT_FALSE(file.Append(Record(QStringLiteral("my#channel"))));
    EXPECT_FALSE(file.Append(Record(QStringLiteral("two\nlines"))));
    EXPECT_TRUE(file.Load().empty());
    const ChannelRecord storable =
        CUserChannelFile::MakeStorable(Record(QStringLiteral("my#channel")));
    ASSERT_TRUE(file.Append(storable));
    const auto records = file.Load();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name(), QStringLiteral("my＃channel"));
    EXPECT_EQ(records[0].url(), QStringLiteral("mms://127.0.0.1/x"));
    EXPECT_FALSE(LegacyText::IsValidUtf8(ReadBytes(file.FilePath()))); // ＃ fits CP949
}

TEST_F(UserChannelFileTest, AFailedRewriteLeavesTheOldFileWhole) {
    file.Append(Record(QStringLiteral("A")));
    file.Append(Record(QStringLiteral("B")));
    const QByteArray before = ReadBytes(file.FilePath());
    // A file size limit makes every write past 64 bytes fail, as a full disk
    // does (and it holds for root too). The rewrite must fail and leave the
    // list on disk as it was, with no temporary file behind.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 64;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool rewritten =
        file.Rewrite(std::vector<ChannelRecord>(20, Record(QStringLiteral("C"))));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(rewritten);
    EXPECT_EQ(ReadBytes(file.FilePath()), before);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{QStringLiteral("user.dat")});
}

TEST_F(UserChannelFileTest, NextWriteRemovesWhatAKilledWriterLeftAndKeepsTheRest) {
    ASSERT_TRUE(file.Append(Record(QStringLiteral("A"))));
    ASSERT_TRUE(
        QFile::setPermissions(file.FilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QDir folder(this->folder());
    // A writer killed mid-write leaves its temporary file; the user's own
    // files beside the list are none of the program's business.
    WriteBytes(folder.filePath(QStringLiteral("user.dat.waveorbit-Ab3xQz")), "half a li");
    WriteBytes(folder.filePath(QStringLiteral("user.dat.backup")), "mine");
    WriteBytes(folder.filePath(QStringLiteral("user.dat.waveorbit-notes.txt")), "mine too");

    ASSERT_TRUE(file.Append(Record(QStringLiteral("B"))));
    EXPECT_EQ(Names(file.Load()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QStringList left = folder.entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("user.dat"), QStringLiteral("user.dat.backup"),
                                 QStringLiteral("user.dat.waveorbit-notes.txt")}));
    // The replaced file keeps the permissions it had.
    EXPECT_EQ(QFileInfo(file.FilePath()).permissions() & 0x7077, // owner, group, others
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(UserChannelFileTest, DeleteAllThenAddLeavesOneLine) {
    file.Append(Record(QStringLiteral("A")));
    EXPECT_TRUE(file.Remove());
    EXPECT_FALSE(QFile::exists(file.FilePath()));
    EXPECT_TRUE(file.Remove()); // already gone is fine
    file.Append(Record(QStringLiteral("B")));
    EXPECT_EQ(ReadBytes(file.FilePath()).count("\r\n"), 1);
}

TEST_F(UserChannelFileTest, AppendAfterALineWithoutLineEndStartsANewLine) {
    QDir().mkpath(folder());
    WriteBytes(file.FilePath(), "a#A");
    file.Append(Record(QStringLiteral("B")));
    EXPECT_EQ(Names(file.Load()), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}
