#include "catalogue/M3uPlaylist.h"
#include "app/LegacyText.h"
#include "app/NowPlaying.h"
#include "catalogue/CUserChannelFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using M3uPlaylist::Entry;

const QString kHome = QStringLiteral("http://127.0.0.1:8730");

std::vector<Entry> ParseText(const QString& text) {
    return M3uPlaylist::Parse(text.toUtf8());
}

} // namespace

TEST(M3uPlaylist, ReadsExtinfNamesGroupsAndPlainAddresses) {
    const QByteArray file =
        "\xEF\xBB\xBF#EXTM3U x-tvg-url=\"http://127.0.0.1/epg.xml\"\r\n"
        "#EXTINF:-1 tvg-id=\"a\" tvg-name=\"Alpha TV\" group-title=\"News, Korea\",Alpha, live\r\n"
        "http://127.0.0.1:8000/alpha.m3u8\r\n"
        "\r\n"
        "# a comment between entries\r\n"
        "#EXTINF:0 tvg-name=\"Only tvg\",\r\n"
        "#EXTVLCOPT:network-caching=1000\r\n"
        "  rtsp://127.0.0.1/beta  \r\n"
        "mms://127.0.0.1/plain\r\n"
        "#EXTGRP:Radio\n"
        "#EXTINF:-1,Gamma FM\n"
        "http://127.0.0.1:8000/gamma.mp3\r"
        "#EXTINF:-1,Lost, no address follows\n"
        "#EXTINF:-1 group-title=Music,Delta\n"
        "http://127.0.0.1:8000/delta.mp3";
    const std::vector<Entry> entries = M3uPlaylist::Parse(file);
    ASSERT_EQ(entries.size(), 5u);
    // The title is everything after the first comma outside quotes.
    EXPECT_EQ(entries[0], (Entry{QStringLiteral("Alpha, live"), QStringLiteral("News, Korea"),
                                 QStringLiteral("http://127.0.0.1:8000/alpha.m3u8")}));
    // No title: tvg-name; other directives between EXTINF and address are skipped.
    EXPECT_EQ(entries[1], (Entry{QStringLiteral("Only tvg"), QString(),
                                 QStringLiteral("rtsp://127.0.0.1/beta")}));
    // A bare address is named by itself.
    EXPECT_EQ(entries[2], (Entry{QStringLiteral("mms://127.0.0.1/plain"), QString(),
                                 QStringLiteral("mms://127.0.0.1/plain")}));
    // #EXTGRP gives the group; a lone CR ends a line too.
    EXPECT_EQ(entries[3], (Entry{QStringLiteral("Gamma FM"), QStringLiteral("Radio"),
                                 QStringLiteral("http://127.0.0.1:8000/gamma.mp3")}));
    // An EXTINF without an address is dropped; unquoted attributes count.
    EXPECT_EQ(entries[4], (Entry{QStringLiteral("Delta"), QStringLiteral("Music"),
                                 QStringLiteral("http://127.0.0.1:8000/delta.mp3")}));
}

TEST(M3uPlaylist, ReadsKoreanInUtf8AndCp949) {
    const QString text = QStringLiteral("#EXTM3U\n#EXTINF:-1 group-title=\"라디오\",똠방 FM\n"
                                        "http://127.0.0.1/ddom.mp3\n");
    const Entry expected{QStringLiteral("똠방 FM"), QStringLiteral("라디오"),
                         QStringLiteral("http://127.0.0.1/ddom.mp3")};
    const std::vector<Entry> fromUtf8 = M3uPlaylist::Parse(text.toUtf8());
    ASSERT_EQ(fromUtf8.size(), 1u);
    EXPECT_EQ(fromUtf8[0], expected);

    bool ok = true;
    QByteArray cp949 = LegacyText::EncodeCp949(text, &ok);
    ASSERT_TRUE(ok);
    cp949.replace("\n", "\r\n");
    ASSERT_FALSE(LegacyText::IsValidUtf8(cp949));
    const std::vector<Entry> fromCp949 = M3uPlaylist::Parse(cp949);
    ASSERT_EQ(fromCp949.size(), 1u);
    EXPECT_EQ(fromCp949[0], expected);
}

TEST(M3uPlaylist, EntriesBecomeStorableUserChannels) {
    const ChannelRecord r =
        M3uPlaylist::ToUserRecord(Entry{QStringLiteral("#1 채널#"), QStringLiteral("그룹#A"),
                                        QStringLiteral("http://127.0.0.1/a#b")},
                                  kHome);
    EXPECT_EQ(r.num(), QStringLiteral("일반등록"));
    EXPECT_EQ(r.name(), QStringLiteral("＃1 채널＃"));
    EXPECT_EQ(r.info(), QStringLiteral("그룹＃A"));
    EXPECT_EQ(r.connect(), QStringLiteral("연결대기"));
    EXPECT_EQ(r.url(), QStringLiteral("http://127.0.0.1/a＃b"));
    EXPECT_EQ(r.website(), QStringLiteral("N"));
    EXPECT_EQ(r.webUrl(), kHome);
    EXPECT_TRUE(CUserChannelFile::IsStorable(r));

    // Names longer than a list cell are cut on a character boundary.
    const ChannelRecord longName = M3uPlaylist::ToUserRecord(
        Entry{QString(200, QChar(0xAC00)), QString(), QStringLiteral("x")}, kHome);
    EXPECT_EQ(longName.name(), QString(129, QChar(0xAC00))); // 2 bytes each in CP949
}

TEST(M3uPlaylist, WrittenPlaylistReadsBackToTheSameChannels) {
    std::vector<ChannelRecord> rows =
        M3uPlaylist::ToUserRecords({Entry{QStringLiteral("KBS 1라디오"), QStringLiteral("라디오"),
                                          QStringLiteral("http://127.0.0.1/1")},
                                    Entry{QStringLiteral("Bar＃2, with comma"), QString(),
                                          QStringLiteral("http://127.0.0.1/2")},
                                    Entry{QStringLiteral("Quoted"), QStringLiteral("say \"hi\""),
                                          QStringLiteral("rtsp://127.0.0.1/3")}},
                                   kHome);
    ChannelRecord noAddress = rows[0];
    noAddress.fields[ChannelRecord::Url].clear();
    rows.push_back(noAddress);

    const QByteArray written = M3uPlaylist::Write(M3uPlaylist::FromRecords(rows));
    EXPECT_TRUE(written.startsWith("#EXTM3U\n#EXTINF:-1 group-title=\""));
    EXPECT_TRUE(LegacyText::IsValidUtf8(written));
    EXPECT_TRUE(written.contains(QStringLiteral("#EXTINF:-1 group-title=\"라디오\",KBS 1라디오\n"
                                                "http://127.0.0.1/1\n")
                                     .toUtf8()));

    const std::vector<ChannelRecord> again =
        M3uPlaylist::ToUserRecords(M3uPlaylist::Parse(written), kHome);
    // The row without an address has nothing to play and is left out; a
    // quote in a group would end the attribute and is written as '.
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[0], rows[0]);
    EXPECT_EQ(again[1], rows[1]);
    ChannelRecord quoted = rows[2];
    quoted.fields[ChannelRecord::Info] = QStringLiteral("say 'hi'");
    EXPECT_EQ(again[2], quoted);
}

TEST(M3uPlaylist, ThreeEntriesStoreAsThreeUserLines) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CUserChannelFile file(dir.path() + QLatin1Char('/'));
    ASSERT_TRUE(file.Append(M3uPlaylist::ToUserRecord(
        Entry{QStringLiteral("existing"), QString(), QStringLiteral("http://127.0.0.1/0")},
        kHome)));
    const std::vector<Entry> entries = ParseText(
        QStringLiteral("#EXTM3U\n#EXTINF:-1 group-title=\"A\",Ch #1\nhttp://127.0.0.1/1\n"
                       "#EXTINF:-1,한국어 채널\nhttp://127.0.0.1/2\nhttp://127.0.0.1/3\n"));
    ASSERT_TRUE(file.AppendAll(M3uPlaylist::ToUserRecords(entries, kHome)));
    const std::vector<ChannelRecord> stored = file.Load();
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[1].name(), QStringLiteral("Ch ＃1"));
    EXPECT_EQ(stored[1].info(), QStringLiteral("A"));
    EXPECT_EQ(stored[1].webUrl(), kHome); // no field shifted
    EXPECT_EQ(stored[2].name(), QStringLiteral("한국어 채널"));
    EXPECT_EQ(stored[3].url(), QStringLiteral("http://127.0.0.1/3"));
}

TEST(NowPlaying, TrayToolTipNamesTheChannelAndTheRadioTitle) {
    NowPlaying now;
    EXPECT_EQ(now.TrayToolTip(), QStringLiteral("WAVEORBIT"));
    now.channel = QStringLiteral("KBS 1라디오");
    EXPECT_EQ(now.TrayToolTip(), QStringLiteral("WAVEORBIT")); // stopped
    now.state = NowPlaying::State::Connecting;
    EXPECT_EQ(now.TrayToolTip(), QStringLiteral("WAVEORBIT\nKBS 1라디오 (연결중)"));
    now.state = NowPlaying::State::Playing;
    EXPECT_EQ(now.TrayToolTip(), QStringLiteral("WAVEORBIT\nKBS 1라디오"));
    now.streamTitle = QStringLiteral("Artist - 노래");
    EXPECT_EQ(now.TrayToolTip(), QStringLiteral("WAVEORBIT\nKBS 1라디오\nArtist - 노래"));
}
