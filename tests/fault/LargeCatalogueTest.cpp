// Catalogues with absurd values: every value 1 MB long, a COUNT of billions,
// a megabyte without a line break. They load, every field is read from its
// first 259 bytes only, and memory stays within a small multiple of the file.
#include "app/LegacyText.h"
#include "catalogue/Base64Decoder.h"
#include "catalogue/CatalogueLoader.h"

#include "TestFolders.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <climits>

#include <gtest/gtest.h>

namespace {

constexpr int kValueBytes = 1024 * 1024;

long PeakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A Base64 run of 1 MB whose first 259 bytes decode to "가나다..." (UTF-8).
QByteArray HugeValue(char seed) {
    QByteArray text;
    while (text.size() < kValueBytes)
        text += QString(QChar(u'가' + seed)).toUtf8();
    return text.toBase64().left(kValueBytes);
}

TEST(LargeCatalogue, MegabyteValuesLoadCutAt259BytesWithoutBlowingUp) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray world = "[WORLD]\r\nCOUNT=2147483647\r\n";
    for (int n = 1; n <= 3; ++n) {
        world += "[WORLD" + QByteArray::number(n) + "]\r\n";
        for (const char* key : {"NUM", "NAME", "INFO", "CONNECT", "URL", "WEBSITE", "WEBURL"})
            world += QByteArray(key) + "=" + HugeValue(static_cast<char>(n)) + "\r\n";
    }
    world += "[DB]\r\nVER=" + QByteArray(kValueBytes, '7') + "\r\n";
    world += "[NOISE]\r\n" + QByteArray(kValueBytes, 'x'); // no line break at all
    const QString path = dir.filePath(QStringLiteral("world.ini"));
    WriteBytes(path, world);

    const long before = PeakRssKb();
    QElapsedTimer clock;
    clock.start();
    const std::vector<ChannelRecord> records =
        LoadCatalogueFile(path, QStringLiteral("world.ini"), QString());
    const qint64 ms = clock.elapsed();
    const long grownMb = (PeakRssKb() - before) / 1024;

    // COUNT is bounded by the sections there are (six), of which three are entries.
    ASSERT_EQ(records.size(), 6u);
    const QString expected = LegacyText::Decode(Base64Decoder::DecodeText(HugeValue(1).left(259)));
    EXPECT_EQ(expected.size(), 64); // 259 bytes of Base64 hold 192 bytes: 64 characters
    EXPECT_EQ(records[0].name(), expected);
    EXPECT_EQ(records[0].webUrl(), expected);
    EXPECT_TRUE(records[3].name().isEmpty());
    EXPECT_TRUE(records[5].url().isEmpty());
    EXPECT_EQ(CatalogueVersion(CatalogueIni::Load(path)), INT_MAX); // digits clamp, no overflow
    EXPECT_LT(grownMb, 4 * world.size() / (1024 * 1024))
        << "a " << world.size() / (1024 * 1024) << " MB file took " << grownMb << " MB more";
    EXPECT_LT(ms, 5000) << "loading took " << ms << " ms";
}

TEST(LargeCatalogue, MegabyteRegionalValuesLoadLikeShortOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // INFO holds the region in its first 259 bytes only for the first entry.
    const QByteArray seoul = QStringLiteral("서울 방송 ").toUtf8().toBase64();
    QByteArray tv = "[MBC]\r\nCOUNT=99999999999\r\n";
    tv += "[MBC1]\r\nNAME=" + HugeValue(1) + "\r\nINFO=" + seoul + HugeValue(2) + "\r\n";
    tv += "[MBC2]\r\nNAME=" + HugeValue(3) + "\r\nINFO=" + HugeValue(2) + seoul + "\r\n";
    const QString path = dir.filePath(QStringLiteral("tv.ini"));
    WriteBytes(path, tv);
    const std::vector<ChannelRecord> mbc =
        LoadRegionalGroup(path, QStringLiteral("MBC"), QStringLiteral("서울"));
    ASSERT_EQ(mbc.size(), 1u);
    EXPECT_EQ(mbc[0].name(), LegacyText::Decode(Base64Decoder::DecodeText(HugeValue(1).left(259))));
}

} // namespace
