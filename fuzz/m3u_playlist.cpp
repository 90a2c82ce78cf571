// The M3U reader on arbitrary playlists: nothing crashes, every entry has an
// address and a name, a playlist read, written and read again gives the same
// entries, and every entry becomes a user channel that user.dat stores and
// gives back.

#include "FuzzCheck.h"

#include "catalogue/CUserChannelFile.h"
#include "catalogue/M3uPlaylist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const std::vector<M3uPlaylist::Entry> entries = M3uPlaylist::Parse(bytes);
    for (const M3uPlaylist::Entry& entry : entries) {
        FUZZ_CHECK(!entry.url.isEmpty(), "an entry without an address");
        FUZZ_CHECK(!entry.name.isEmpty(), "an entry without a name");
        FUZZ_CHECK(!entry.url.startsWith(QLatin1Char('#')), "a directive read as an address");
    }

    // Written playlists quote the group, so a double quote in it becomes a
    // single one; everything else comes back as it was.
    std::vector<M3uPlaylist::Entry> expected = entries;
    for (M3uPlaylist::Entry& entry : expected)
        entry.group.replace(QLatin1Char('"'), QLatin1Char('\''));
    FUZZ_CHECK(M3uPlaylist::Parse(M3uPlaylist::Write(entries)) == expected,
               "a playlist read and written reads differently");

    const std::vector<ChannelRecord> records =
        M3uPlaylist::ToUserRecords(entries, QStringLiteral("http://127.0.0.1/"));
    FUZZ_CHECK(records.size() == entries.size(), "entries lost on the way to user channels");
    for (const ChannelRecord& record : records)
        FUZZ_CHECK(CUserChannelFile::IsStorable(record), "an imported channel user.dat refuses");
    FUZZ_CHECK(CUserChannelFile::Parse(CUserChannelFile::Serialize(records)) == records,
               "an imported channel does not survive user.dat");
    return 0;
}
