#pragma once

#include "catalogue/ChannelRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The user's own channel list, "user.dat": one record a line, oldest first,
// seven fields joined by "#", each line ending in CR LF. The file is CP949
// when every character fits, UTF-8 otherwise (so no text is ever lost); the
// encoding is recognised on reading. Every change replaces the whole file
// atomically under a lock, so a crash, a full disk or a second running copy
// never loses or mixes up the list.
//
// "#" is the separator and cannot stand inside a field: the component refuses
// a record holding "#" or a line break rather than shift its fields. Places
// that copy text from elsewhere make it storable first with MakeStorable
// (which writes "#" as the full-width "＃"); the add dialog asks the user.
class CUserChannelFile {
public:
    static constexpr int kFieldBytes = 259;

    explicit CUserChannelFile(QString folder);

    QString FilePath() const;

    // The records in file order. A missing file is created empty.
    std::vector<ChannelRecord> Load() const;
    // Adds records at the end of the file (creating it when missing).
    bool Append(const ChannelRecord& record) const;
    bool AppendAll(const std::vector<ChannelRecord>& records) const;
    // Replaces the file with these records, in this order.
    bool Rewrite(const std::vector<ChannelRecord>& records) const;
    // Deletes the file; true when it is gone.
    bool Remove() const;

    // True when no field holds "#", CR or LF.
    static bool IsStorable(const ChannelRecord& record);
    // "#" becomes "＃" (U+FF03, which CP949 holds); CR and LF become blanks.
    static ChannelRecord MakeStorable(ChannelRecord record);
    // Each field cut to 259 bytes (CP949 where it fits, else UTF-8) without
    // splitting a character.
    static ChannelRecord CutFields(ChannelRecord record);

    // The list shows the file's last line on top; this turns the list's rows,
    // top row first, back into file order for Rewrite.
    static std::vector<ChannelRecord> ListRowsToFileOrder(const std::vector<ChannelRecord>& rows);

    static std::vector<ChannelRecord> Parse(const QByteArray& contents);
    static QByteArray Serialize(const std::vector<ChannelRecord>& records);

private:
    bool WriteAll(const QByteArray& contents) const;

    QString folder_;
};
