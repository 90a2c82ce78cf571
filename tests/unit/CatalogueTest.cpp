#include "app/LegacyText.h"
#include "catalogue/Base64Decoder.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/CatalogueLoader.h"

#include "RecordNames.h"
#include "TestFolders.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray B64(const QString& text) {
    bool ok = false;
    const QByteArray bytes = LegacyText::EncodeCp949(text, &ok);
    return (ok ? bytes : text.toUtf8()).toBase64();
}

// One numbered or fallback entry in catalogue form.
QByteArray Entry(const QByteArray& section, const QString& num, const QString& name,
                 const QString& info, const QString& url = QStringLiteral("http://127.0.0.1/s"),
                 const QByteArray& extraLines = QByteArray()) {
    return "[" + section + "]\r\n" + extraLines + "NUM=" + B64(num) + "\r\nNAME=" + B64(name) +
           "\r\nINFO=" + B64(info) + "\r\nCONNECT=" + B64(QStringLiteral("연결대기")) +
           "\r\nURL=" + B64(url) + "\r\nWEBSITE=" + B64(QStringLiteral("N")) +
           "\r\nWEBURL=" + B64(QString()) + "\r\n";
}

} // namespace

TEST(Base64Decoder, DecodesStandardPaddedAndUnpaddedInput) {
    EXPECT_EQ(Base64Decoder::DecodeText("YWJj"), QByteArray("abc"));
    EXPECT_EQ(Base64Decoder::DecodeText("YQ=="), QByteArray("a"));
    EXPECT_EQ(Base64Decoder::DecodeText("YWI="), QByteArray("ab"));
    // Unpadded: the trailing incomplete group is dropped.
    EXPECT_EQ(Base64Decoder::DecodeText("YWJjYQ"), QByteArray("abc"));
    EXPECT_EQ(Base64Decoder::DecodeText("YWJjYWI"), QByteArray("abc"));
    EXPECT_EQ(Base64Decoder::DecodeText("YQ"), QByteArray());
    // Blanks, line breaks and high bytes are skipped.
    EXPECT_EQ(Base64Decoder::DecodeText("YW Jj\r\n"), QByteArray("abc"));
    EXPECT_EQ(Base64Decoder::DecodeText("Y\xB0WJ\x80j"), QByteArray("abc"));
    EXPECT_EQ(Base64Decoder::DecodeText("+/+/"), QByteArray("\xFB\xFF\xBF"));
    // The text ends at its first NUL byte.
    EXPECT_EQ(Base64Decoder::DecodeText(QByteArray("a\0bc", 4).toBase64()), QByteArray("a"));
    EXPECT_EQ(Base64Decoder::DecodeText("0"), QByteArray());
    EXPECT_EQ(Base64Decoder::DecodeText(""), QByteArray());
}

TEST(Base64Decoder, HoldsTheLastDecodingOnly) {
    Base64Decoder decoder;
    EXPECT_TRUE(decoder.Result().isEmpty());
    decoder.Decode("YWJj");
    EXPECT_EQ(decoder.Result(), QByteArray("abc"));
    decoder.Decode("YQ==");
    EXPECT_EQ(decoder.Result(), QByteArray("a"));
}

TEST(LegacyText, Cp949AndUtf8AreTellApartAndRoundTrip) {
    const QString korean = QStringLiteral("서울 똠방각하 KBS");
    bool ok = false;
    const QByteArray cp949 = LegacyText::EncodeCp949(korean, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(cp949.left(2), QByteArray("\xBC\xAD")); // 서 in the Windows code page
    EXPECT_FALSE(LegacyText::IsValidUtf8(cp949));
    EXPECT_EQ(LegacyText::Decode(cp949), korean);
    EXPECT_EQ(LegacyText::Decode(korean.toUtf8()), korean);
    // 똠 is one of the extended syllables that only the Windows table has.
    EXPECT_EQ(LegacyText::DecodeCp949(QByteArray("\x8C\x63")), QStringLiteral("똠"));
    // Characters CP949 does not hold are reported, not mangled.
    LegacyText::EncodeCp949(QStringLiteral("emoji 🎵"), &ok);
    EXPECT_FALSE(ok);
    // An invalid sequence shows as a replacement character and decoding goes on.
    EXPECT_EQ(LegacyText::DecodeCp949(QByteArray("a\xFF"
                                                 "b")),
              QStringLiteral("a\uFFFDb"));
}

TEST(LegacyText, CutsNeverSplitACharacter) {
    const QString text = QStringLiteral("가나다"); // two bytes each in CP949, three in UTF-8
    EXPECT_EQ(LegacyText::CutToBytes(text, 5, false), QStringLiteral("가나"));
    EXPECT_EQ(LegacyText::CutToBytes(text, 5, true), QStringLiteral("가"));
    EXPECT_EQ(LegacyText::CutToBytes(QStringLiteral("a🎵b"), 4, true), QStringLiteral("a"));
    EXPECT_EQ(LegacyText::CutToBytes(QStringLiteral("a🎵b"), 5, true), QStringLiteral("a🎵"));
}

TEST(CatalogueIni, ReadsLikeTheProfileReader) {
    const CatalogueIni ini = CatalogueIni::Parse(
        "; comment\r\n[mbc1]\r\n  name =  value with blanks  \r\nKey=first\r\nKEY=second\r\n"
        "[MBC1]\r\nNAME=from repeated section\r\n[Empty]\r\n[DB]\nVER=12\n");
    EXPECT_EQ(ini.Value("MBC1", "NAME"), QByteArray("value with blanks"));
    EXPECT_EQ(ini.Value("Mbc1", "key"), QByteArray("first"));
    EXPECT_EQ(ini.Value("MBC1", "MISSING"), QByteArray("0"));
    EXPECT_EQ(ini.Value("NOPE", "NAME"), QByteArray("0"));
    EXPECT_EQ(ini.Value("DB", "VER"), QByteArray("12"));
    EXPECT_EQ(CatalogueVersion(ini), 12);
    EXPECT_EQ(CatalogueVersion(CatalogueIni()), 0);
}

TEST(CatalogueIni, UsesAtMost259BytesOfAValue) {
    const QByteArray longValue = QByteArray("QUFB").repeated(75); // "AAA" 75 times
    const CatalogueIni ini = CatalogueIni::Parse("[S]\nK=" + longValue + "\n");
    EXPECT_EQ(ini.Value("S", "K").size(), 259);
    // 259 symbols decode as 64 whole groups; the cut last group is dropped.
    EXPECT_EQ(DecodeCatalogueField(ini.Value("S", "K")).size(), 192);
}

class RegionalLoaderTest : public ::testing::Test {
protected:
    CatalogueIni tv = CatalogueIni::Parse(
        Entry("MBC", QStringLiteral("MBC"), QStringLiteral("MBC 대표"), QStringLiteral("전국"),
              QStringLiteral("http://127.0.0.1/s"), "COUNT=3\r\n") +
        Entry("MBC1", QStringLiteral("1"), QStringLiteral("부산MBC"), QStringLiteral("부산")) +
        Entry("mbc2", QStringLiteral("2"), QStringLiteral("서울MBC"), QStringLiteral("서울")) +
        Entry("MBC3", QStringLiteral("3"), QStringLiteral("대구MBC"), QStringLiteral("대구")) +
        Entry("KBS", QStringLiteral("K"), QStringLiteral("KBS 대표"), QStringLiteral("전국"),
              QStringLiteral("http://127.0.0.1/s"), "COUNT=2\r\n") +
        Entry("KBS1", QStringLiteral("1"), QStringLiteral("KBS1"), QStringLiteral("부산")) +
        Entry("KBS2", QStringLiteral("2"), QStringLiteral("KBS2"), QStringLiteral("대구")) +
        "[SBS]\r\nCOUNT=0\r\n" + "[ETC]\r\nCOUNT=1\r\n" +
        Entry("ETC1", QStringLiteral("1"), QStringLiteral("ETC1"), QStringLiteral("부산")));
};

TEST_F(RegionalLoaderTest, FiltersByRegionWithFallback) {
    EXPECT_EQ(Names(LoadRegionalGroup(tv, QStringLiteral("MBC"), QStringLiteral("서울"))),
              QStringList{QStringLiteral("서울MBC")});
    EXPECT_EQ(Names(LoadRegionalGroup(tv, QStringLiteral("MBC"), QStringLiteral("광주"))),
              QStringList{QStringLiteral("MBC 대표")});
    EXPECT_EQ(Names(LoadRegionalGroup(tv, QStringLiteral("MBC"), QString())),
              (QStringList{QStringLiteral("부산MBC"), QStringLiteral("서울MBC"),
                           QStringLiteral("대구MBC")}));
    // KBS and ETC are never filtered.
    EXPECT_EQ(LoadRegionalGroup(tv, QStringLiteral("KBS"), QStringLiteral("서울")).size(), 2u);
    EXPECT_EQ(LoadRegionalGroup(tv, QStringLiteral("ETC"), QStringLiteral("서울")).size(), 1u);
    // COUNT 0 and a group with no sections at all give the fallback, maybe empty.
    const auto sbs = LoadRegionalGroup(tv, QStringLiteral("SBS"), QStringLiteral("서울"));
    ASSERT_EQ(sbs.size(), 1u);
    EXPECT_EQ(sbs[0], ChannelRecord());
}

TEST_F(RegionalLoaderTest, RecordsCarryEveryFieldInOrder) {
    const auto records = LoadRegionalGroup(tv, QStringLiteral("MBC"), QStringLiteral("서울"));
    ASSERT_EQ(records.size(), 1u);
    const ChannelRecord& r = records[0];
    EXPECT_EQ(r.num(), QStringLiteral("2"));
    EXPECT_EQ(r.info(), QStringLiteral("서울"));
    EXPECT_EQ(r.connect(), QStringLiteral("연결대기"));
    EXPECT_EQ(r.url(), QStringLiteral("http://127.0.0.1/s"));
    EXPECT_EQ(r.website(), QStringLiteral("N"));
    EXPECT_FALSE(r.IsWebPage());
    // "0" stored as a value, like a missing key, is an empty field.
    EXPECT_TRUE(r.webUrl().isEmpty());
}

TEST(CatalogueLoader, CountIsReadLikeAtoiAndBounded) {
    const QByteArray body = Entry("GAME1", QStringLiteral("1"), QStringLiteral("G1"), QString()) +
                            Entry("GAME2", QStringLiteral("2"), QStringLiteral("G2"), QString()) +
                            Entry("GAME3", QStringLiteral("3"), QStringLiteral("G3"), QString());
    EXPECT_EQ(LoadCatalogueSection(CatalogueIni::Parse("[GAME]\nCOUNT=3abc\n" + body),
                                   QStringLiteral("GAME"))
                  .size(),
              3u);
    EXPECT_TRUE(LoadCatalogueSection(CatalogueIni::Parse("[GAME]\nCOUNT=-1\n" + body),
                                     QStringLiteral("GAME"))
                    .empty());
    EXPECT_TRUE(LoadCatalogueSection(CatalogueIni::Parse("[GAME]\nCOUNT=abc\n" + body),
                                     QStringLiteral("GAME"))
                    .empty());
    // A missing numbered entry is a row of empty fields...
    const auto gap = LoadCatalogueSection(CatalogueIni::Parse("[GAME]\nCOUNT=4\n" + body),
                                          QStringLiteral("GAME"));
    ASSERT_EQ(gap.size(), 4u);
    EXPECT_EQ(gap[3], ChannelRecord());
    // ...but a garbled COUNT cannot make more rows than the file has sections.
    EXPECT_LE(LoadCatalogueSection(CatalogueIni::Parse("[GAME]\nCOUNT=2147483647\n" + body),
                                   QStringLiteral("GAME"))
                  .size(),
              4u);
}

TEST(CatalogueLoader, MissingFilesGiveFallbackRowsOnlyForRegionalCatalogues) {
    QTemporaryDir dir;
    EXPECT_EQ(LoadCatalogueFile(dir.filePath(QStringLiteral("tv.ini")), QStringLiteral("tv.ini"),
                                QStringLiteral("자동"))
                  .size(),
              4u);
    EXPECT_EQ(LoadCatalogueFile(dir.filePath(QStringLiteral("radio.ini")),
                                QStringLiteral("radio.ini"), QStringLiteral("자동"))
                  .size(),
              6u);
    EXPECT_TRUE(LoadCatalogueFile(dir.filePath(QStringLiteral("world.ini")),
                                  QStringLiteral("world.ini"), QStringLiteral("자동"))
                    .empty());
    EXPECT_TRUE(
        LoadCatalogueSection(dir.filePath(QStringLiteral("music.ini")), QStringLiteral("MUSIC"))
            .empty());
}

TEST(CatalogueLoader, AWholeFileLoadsFamiliesInOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tv.ini"));
    WriteBytes(path,
               "[MBC]\nCOUNT=1\n" +
                   Entry("MBC1", QStringLiteral("1"), QStringLiteral("M"), QStringLiteral("서울")) +
                   "[KBS]\nCOUNT=1\n" +
                   Entry("KBS1", QStringLiteral("1"), QStringLiteral("K"), QStringLiteral("부산")) +
                   "[SBS]\nCOUNT=1\n" +
                   Entry("SBS1", QStringLiteral("1"), QStringLiteral("S"), QStringLiteral("서울")) +
                   "[ETC]\nCOUNT=1\n" +
                   Entry("ETC1", QStringLiteral("1"), QStringLiteral("E"), QStringLiteral("제주")));
    EXPECT_EQ(Names(LoadCatalogueFile(path, QStringLiteral("tv.ini"), QStringLiteral("서울"))),
              (QStringList{QStringLiteral("M"), QStringLiteral("K"), QStringLiteral("S"),
                           QStringLiteral("E")}));
    // A UTF-8 value is taken as UTF-8.
    const CatalogueIni utf8 = CatalogueIni::Parse(
        "[WORLD]\nCOUNT=1\n[WORLD1]\nNAME=" + QStringLiteral("세계").toUtf8().toBase64() + "\n");
    EXPECT_EQ(LoadCatalogueSection(utf8, QStringLiteral("WORLD"))[0].name(),
              QStringLiteral("세계"));
}
