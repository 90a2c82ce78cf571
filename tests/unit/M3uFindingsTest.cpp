// Playlists the M3U fuzz target found, kept as regression cases.
#include "catalogue/M3uPlaylist.h"

#include <gtest/gtest.h>

namespace {

TEST(M3uFindings, AByteOrderMarkAloneOnALineIsNoAddress) {
    // " <mark> " was read as an address; written back, the mark stood at the
    // start of its line, the decoder dropped it, and the title above went to
    // the next address instead.
    const QByteArray playlist = "#EXTM3U\n#EXTINF:-1,First\n \xEF\xBB\xBF \nhttp://a\n"
                                "\xEF\xBB\xBFhttp://b\xEF\xBB\xBF\n";
    const std::vector<M3uPlaylist::Entry> entries = M3uPlaylist::Parse(playlist);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, QStringLiteral("First"));
    EXPECT_EQ(entries[0].url, QStringLiteral("http://a"));
    EXPECT_EQ(entries[1].url, QStringLiteral("http://b"));
    EXPECT_EQ(M3uPlaylist::Parse(M3uPlaylist::Write(entries)), entries);
}

} // namespace
