// The terms file beside the installer: whatever its encoding and line ends,
// the text box shows the same lines.
#include "installer/InstallerTerms.h"
#include "TestFolders.h"
#include "app/LegacyText.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Terms(const QTemporaryDir& dir) {
    return InstallerTerms::Load(dir.path());
}

void WriteTerms(const QTemporaryDir& dir, const QByteArray& bytes) {
    WriteBytes(QDir(dir.path()).filePath(QStringLiteral("nimbuskit.txt")), bytes);
}

} // namespace

TEST(InstallerTerms, LineEndsOfEveryKindShowTheSameLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString expected = QStringLiteral("제1조 (목적)\n\n개인정보를 검사합니다.\n끝");
    const QByteArray lf = expected.toUtf8();
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace("\n", "\r");
    for (const QByteArray& bytes : {lf, crlf, cr}) {
        WriteTerms(dir, bytes);
        EXPECT_EQ(Terms(dir), expected);
    }
    // A file mixing both (edited on two systems) still has no stray breaks.
    WriteTerms(dir, "a\r\nb\nc\r\n\r\nd");
    EXPECT_EQ(Terms(dir), QStringLiteral("a\nb\nc\n\nd"));
}

TEST(InstallerTerms, KoreanCodePageAndUtf8BothDecode) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 똠 and 햏 exist only in the Windows code page's extension, not in EUC-KR.
    const QString text = QStringLiteral("사용권 계약\r\n똠방각하 햏 동의 합니다.");
    bool ok = false;
    const QByteArray cp949 = LegacyText::EncodeCp949(text, &ok);
    ASSERT_TRUE(ok);
    ASSERT_NE(cp949, text.toUtf8());
    WriteTerms(dir, cp949);
    EXPECT_EQ(Terms(dir), QStringLiteral("사용권 계약\n똠방각하 햏 동의 합니다."));

    WriteTerms(dir, "\xEF\xBB\xBF" + text.toUtf8()); // with a byte order mark
    EXPECT_EQ(Terms(dir), QStringLiteral("사용권 계약\n똠방각하 햏 동의 합니다."));
}

TEST(InstallerTerms, NoReadableFileGivesAnEmptyBox) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(Terms(dir).isEmpty());
    // A folder of that name is not a terms file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("nimbuskit.txt")));
    EXPECT_TRUE(Terms(dir).isEmpty());
    EXPECT_TRUE(InstallerTerms::Load(dir.filePath(QStringLiteral("no-such-folder"))).isEmpty());
}

TEST(InstallerTerms, AnOversizedFileIsCutOnAWholeCharacter) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Three-byte characters that straddle the limit: the cut must not turn
    // the whole UTF-8 file into code-page garbage.
    const QByteArray line = QStringLiteral("가나다라마바사\n").toUtf8();
    QByteArray big = "x"; // shifts the characters off the limit
    while (big.size() <= InstallerTerms::kMaxBytes)
        big += line;
    WriteTerms(dir, big);
    const QString text = Terms(dir);
    EXPECT_TRUE(text.startsWith(QStringLiteral("x가나다라마바사\n가나")));
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    EXPECT_LE(text.toUtf8().size(), InstallerTerms::kMaxBytes);
    EXPECT_GT(text.toUtf8().size(), InstallerTerms::kMaxBytes - 4);
}
