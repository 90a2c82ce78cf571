// The user channel file on arbitrary bytes and arbitrary records: reading
// never crashes and never makes more records than lines, a file read and
// written again reads the same, and every storable record survives writing
// and reading (each field cut to 259 bytes without splitting a character).
//
// Input: a file, then fields of records (split at 0xFF, seven a record).

#include "FuzzCheck.h"

#include "app/LegacyText.h"
#include "catalogue/CUserChannelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const QByteArray file = in.Piece();

    const std::vector<ChannelRecord> read = CUserChannelFile::Parse(file);
    FUZZ_CHECK(read.size() <= static_cast<size_t>(file.count('\n')) + 1, "more records than lines");
    std::vector<ChannelRecord> storable;
    for (const ChannelRecord& record : read) {
        if (CUserChannelFile::IsStorable(record))
            storable.push_back(CUserChannelFile::CutFields(record));
    }
    FUZZ_CHECK(CUserChannelFile::Parse(CUserChannelFile::Serialize(storable)) == storable,
               "records read from a file do not survive writing");

    std::vector<ChannelRecord> records;
    while (!in.empty() && records.size() < 16) {
        ChannelRecord record;
        for (QString& field : record.fields)
            field = in.Text();
        records.push_back(CUserChannelFile::MakeStorable(record));
    }
    std::vector<ChannelRecord> expected;
    for (const ChannelRecord& record : records) {
        FUZZ_CHECK(CUserChannelFile::IsStorable(record), "MakeStorable left a separator");
        const ChannelRecord cut = CUserChannelFile::CutFields(record);
        for (size_t f = 0; f < cut.fields.size(); ++f) {
            FUZZ_CHECK(record.fields[f].startsWith(cut.fields[f]), "a cut field is not a prefix");
            FUZZ_CHECK(LegacyText::LegacyByteLength(cut.fields[f]) <= CUserChannelFile::kFieldBytes,
                       "a cut field is longer than 259 bytes");
        }
        expected.push_back(cut);
    }
    FUZZ_CHECK(CUserChannelFile::Parse(CUserChannelFile::Serialize(records)) == expected,
               "a storable record does not survive writing and reading");
    return 0;
}
