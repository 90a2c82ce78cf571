// Inputs the fuzz targets in fuzz/ found, kept as regression cases.
#include "app/IniDocument.h"
#include "app/LegacyText.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/DirectoryAnswerReader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(IniDocumentFindings, CarriageReturnsBeforeALineEndNeverReachAValue) {
    // "\r\r\n" is a line end seen twice through CR LF conversion. The value
    // was "1\r" at first and "1" after the next save: a save changed a value
    // nobody touched.
    const IniDocument doc = IniDocument::Parse("[S]\r\nr=1\r\r\nq=2\r\r\r\n");
    EXPECT_EQ(doc.Value(QStringLiteral("S"), QStringLiteral("r")), QStringLiteral("1"));
    EXPECT_EQ(doc.Value(QStringLiteral("S"), QStringLiteral("q")), QStringLiteral("2"));
    const QByteArray saved = doc.Serialize();
    EXPECT_EQ(IniDocument::Parse(saved).Serialize(), saved);
    EXPECT_EQ(IniDocument::Parse(saved).Value(QStringLiteral("S"), QStringLiteral("r")),
              QStringLiteral("1"));
    // A CR inside a line is text and stays.
    EXPECT_EQ(IniDocument::Parse("[S]\nr=a\rb\n").Value(QStringLiteral("S"), QStringLiteral("r")),
              QStringLiteral("a\rb"));
}

TEST(IniDocumentFindings, AByteOrderMarkIsKeptAndNoMoreOfTheFileIsTaken) {
    // A file that begins with marks lost one more on every save, and with
    // it the first line's meaning changed.
    const QByteArray file = "\xEF\xBB\xBF\xEF\xBB\xBF;[\n[S]\nk=v\n";
    const IniDocument doc = IniDocument::Parse(file);
    EXPECT_EQ(doc.Serialize(), file);
    IniDocument edited = IniDocument::Parse(doc.Serialize());
    ASSERT_TRUE(edited.SetValue(QStringLiteral("S"), QStringLiteral("n"), QStringLiteral("1")));
    EXPECT_TRUE(edited.Serialize().startsWith("\xEF\xBB\xBF\xEF\xBB\xBF;[\n"));
    EXPECT_EQ(
        IniDocument::Parse(edited.Serialize()).Value(QStringLiteral("S"), QStringLiteral("k")),
        QStringLiteral("v"));
    // Marks and no line end: the first one is the file's, the second is text.
    const QByteArray bare = "\xEF\xBB\xBF\xEF\xBB\xBF;[";
    EXPECT_EQ(IniDocument::Parse(bare).Serialize(), bare + "\n");
    EXPECT_EQ(IniDocument::Parse(IniDocument::Parse(bare).Serialize()).Serialize(), bare + "\n");
    // Without a mark none is added.
    EXPECT_EQ(IniDocument::Parse("[S]\nk=v\n").Serialize(), QByteArray("[S]\nk=v\n"));
}

} // namespace

namespace {

ChannelRecord Named(const QString& name) {
    ChannelRecord record;
    record.fields[ChannelRecord::Num] = QStringLiteral("일반등록");
    record.fields[ChannelRecord::Name] = name;
    record.fields[ChannelRecord::Url] = QStringLiteral("http://127.0.0.1/a");
    return record;
}

// Some CP949 text is valid UTF-8 as well: "징" is C2 A1, "¡" in UTF-8. A list
// holding only such text came back with other names after writing.
TEST(UserChannelFindings, Cp949ThatLooksLikeUtf8KeepsItsText) {
    for (const QString& name :
         {QStringLiteral("징"), QStringLiteral("징징 FM"), QStringLiteral("A징")}) {
        const std::vector<ChannelRecord> records = {Named(name)};
        EXPECT_EQ(CUserChannelFile::Parse(CUserChannelFile::Serialize(records)), records)
            << name.toStdString();
    }
}

// CP949 that starts with the bytes EF BB BF (the hanja at EF BB, then a
// syllable led by BF) was taken for UTF-8 behind a byte-order mark; a list
// whose first field began with U+FEFF lost it.
TEST(UserChannelFindings, TextThatLooksLikeAByteOrderMarkKeepsItsText) {
    const QString hanja = LegacyText::DecodeCp949("\xEF\xBB\xBF\xA1");
    ASSERT_EQ(hanja.size(), 2);
    ASSERT_TRUE(LegacyText::FitsCp949(hanja));
    for (const QString& name : {hanja, QStringLiteral("\uFEFF1"), QStringLiteral("\uFEFF\uFEFF")}) {
        ChannelRecord first = Named(QStringLiteral("x"));
        first.fields[ChannelRecord::Num] = name;
        const std::vector<ChannelRecord> records = {first, Named(name)};
        EXPECT_EQ(CUserChannelFile::Parse(CUserChannelFile::Serialize(records)), records)
            << name.toStdString();
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const CUserChannelFile file(dir.path());
        ASSERT_TRUE(file.Append(records[0]));
        ASSERT_TRUE(file.Append(records[1]));
        EXPECT_EQ(file.Load(), records) << name.toStdString();
    }
}

TEST(UserChannelFindings, AppendingSuchTextKeepsEveryLineReadable) {
    for (const QString& before : {QString(), QStringLiteral("plain"), QStringLiteral("가나다")}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const CUserChannelFile file(dir.path());
        std::vector<ChannelRecord> expected;
        if (!before.isEmpty()) {
            expected.push_back(Named(before));
            ASSERT_TRUE(file.Rewrite(expected));
        }
        expected.push_back(Named(QStringLiteral("징")));
        ASSERT_TRUE(file.Append(expected.back()));
        expected.push_back(Named(QStringLiteral("방송")));
        ASSERT_TRUE(file.Append(expected.back()));
        EXPECT_EQ(file.Load(), expected) << "after \"" << before.toStdString() << "\"";
    }
}

} // namespace

namespace {

// One station gave "url" twice and a name that began with a byte-order mark
// and held an escape: the reader dropped the mark, where Qt's reading keeps
// it (Qt drops a raw mark only from a string without escapes). Marks at the
// start of a value are dropped however they are written; of a repeated key
// the last value counts, as in Qt's reading.
TEST(DirectoryAnswerFindings, LeadingMarksAreDroppedAndARepeatedKeyKeepsItsLastValue) {
    const auto stations = ReadDirectoryAnswer(
        QByteArray("[{\"url\":\"http://127.0.0.1/1\",\"name\":\"\xEF\xBB\xBF"
                   "A\\tB\",\"url\":\"http://127.0.0.1/2\"},\n"
                   " {\"url\":\"http://127.0.0.1/"
                   "3\",\"name\":\"\\uFEFF\\uFEFFC\",\"bitrate\":\"\\uFEFF64\"},\n"
                   " {\"url\":\"http://127.0.0.1/4\",\"name\":\"\xEF\xBB\xBF\xEF\xBB\xBF"
                   "D \\u00e9\xEF\xBB\xBF\"}]"));
    ASSERT_TRUE(stations.has_value());
    ASSERT_EQ(stations->size(), 3u);
    EXPECT_EQ(stations->at(0).url, QStringLiteral("http://127.0.0.1/2"));
    EXPECT_EQ(stations->at(0).name, QStringLiteral("A\tB"));
    EXPECT_EQ(stations->at(1).name, QStringLiteral("C"));
    EXPECT_EQ(stations->at(1).bitrate, 64);
    // Only the marks in front go; one inside the text stays.
    EXPECT_EQ(stations->at(2).name, QStringLiteral("D \u00e9\uFEFF"));
}

} // namespace
