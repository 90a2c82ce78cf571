#include "catalogue/CUserChannelFile.h"

#include "app/AtomicFile.h"
#include "app/Endpoints.h"
#include "app/LegacyText.h"
#include "app/Paths.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool IsAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString LineOf(const ChannelRecord& record) {
    QStringList fields;
    for (const QString& field : record.fields)
        fields << field;
    return fields.join(QLatin1Char('#')) + QStringLiteral("\r\n");
}

// The file's text in the encoding it is kept in: CP949 when it all fits and
// cannot be taken for UTF-8 on reading, UTF-8 otherwise. Some CP949 text is
// valid UTF-8 too ("징" is C2 A1, which UTF-8 reads as "¡"), and the reader
// takes valid UTF-8 as UTF-8.
QByteArray Utf8File(const QString& text) {
    return text.startsWith(QChar(0xFEFF)) ? kUtf8Bom + text.toUtf8() : text.toUtf8();
}

// CP949 that begins with the bytes of a UTF-8 byte-order mark (a hanja, EF
// BB, then BF ..) would be read as UTF-8 too. A text that begins with U+FEFF
// is written behind a mark of its own, as the reader takes one off.
QByteArray Encode(const QString& text) {
    bool ok = false;
    QByteArray bytes = LegacyText::EncodeCp949(text, &ok);
    if (ok && (IsAscii(bytes) || (!LegacyText::IsValidUtf8(bytes) && !bytes.startsWith(kUtf8Bom))))
        return bytes;
    return Utf8File(text);
}

QString DecodeFile(QByteArray contents) {
    if (contents.startsWith(kUtf8Bom)) {
        // Exactly one mark comes off (QString::fromUtf8 would take a second).
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless |
                                   QStringConverter::Flag::ConvertInitialBom);
        return decoder(contents.mid(kUtf8Bom.size()));
    }
    return LegacyText::Decode(contents);
}

} // namespace

CUserChannelFile::CUserChannelFile(QString folder) : folder_(std::move(folder)) {}

QString CUserChannelFile::FilePath() const {
    return QDir(folder_).filePath(QString::fromLatin1(Endpoints::kUserChannelFileName));
}

std::vector<ChannelRecord> CUserChannelFile::Parse(const QByteArray& contents) {
    std::vector<ChannelRecord> records;
    const QString text = DecodeFile(contents);
    if (text.isEmpty())
        return records;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not an empty line
    records.reserve(static_cast<size_t>(lines.size()));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        ChannelRecord record;
        const QStringList parts = line.split(QLatin1Char('#'));
        for (int i = 0; i < ChannelRecord::FieldCount && i < parts.size(); ++i)
            record.fields[static_cast<size_t>(i)] = parts.at(i);
        records.push_back(std::move(record));
    }
    return records;
}

QByteArray CUserChannelFile::Serialize(const std::vector<ChannelRecord>& records) {
    QString text;
    for (const ChannelRecord& record : records)
        text += LineOf(CutFields(record));
    return Encode(text);
}

std::vector<ChannelRecord> CUserChannelFile::Load() const {
    const QString path = FilePath();
    QByteArray contents;
    if (!ReadWholeFile(path, &contents)) {
        // The empty list is made under the lock, and only if no other copy of
        // the program wrote the file meanwhile: its channels must not be
        // replaced by nothing.
        if (!QFile::exists(path) && Paths::EnsureFolder(folder_)) {
            FileLockGuard lock(path);
            if (lock.locked() && !QFile::exists(path))
                WriteFileAtomically(path, QByteArray());
            else if (ReadWholeFile(path, &contents))
                return Parse(contents);
        }
        return {};
    }
    return Parse(contents);
}

bool CUserChannelFile::WriteAll(const QByteArray& contents) const {
    return WriteFileAtomically(FilePath(), contents);
}

bool CUserChannelFile::Append(const ChannelRecord& record) const {
    return AppendAll({record});
}

bool CUserChannelFile::AppendAll(const std::vector<ChannelRecord>& records) const {
    if (!std::all_of(records.begin(), records.end(), IsStorable))
        return false;
    if (!Paths::EnsureFolder(folder_))
        return false;
    const QString path = FilePath();
    FileLockGuard lock(path);
    if (!lock.locked())
        return false;
    QByteArray existing;
    if (!ReadWholeFile(path, &existing) && QFile::exists(path))
        return false; // never replace a list we could not read

    QString added;
    for (const ChannelRecord& record : records)
        added += LineOf(CutFields(record));

    const bool existingIsUtf8 =
        existing.startsWith(kUtf8Bom) || (!IsAscii(existing) && LegacyText::IsValidUtf8(existing));
    QByteArray contents;
    if (existingIsUtf8) {
        contents = existing;
        if (!contents.isEmpty() && !contents.endsWith('\n'))
            contents += "\r\n";
        contents += added.toUtf8();
    } else if (LegacyText::FitsCp949(added)) {
        contents = existing;
        if (!contents.isEmpty() && !contents.endsWith('\n'))
            contents += "\r\n";
        // Beside CP949 text the new lines are CP949 too (the file as a whole
        // is not UTF-8, so it reads as CP949); after ASCII alone they take
        // the encoding a whole file of them would have.
        QByteArray tail =
            IsAscii(existing) ? Encode(added) : LegacyText::EncodeCp949(added, nullptr);
        if (!existing.isEmpty() && tail.startsWith(kUtf8Bom) && added.startsWith(QChar(0xFEFF)))
            tail.remove(0, kUtf8Bom.size()); // a mark only at the start of a file
        contents += tail;
    } else {
        // The new text needs UTF-8: the whole file changes encoding with it.
        QString text = DecodeFile(existing);
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QStringLiteral("\r\n");
        contents = Utf8File(text + added);
    }
    return WriteAll(contents);
}

bool CUserChannelFile::Rewrite(const std::vector<ChannelRecord>& records) const {
    if (!std::all_of(records.begin(), records.end(), IsStorable))
        return false;
    if (!Paths::EnsureFolder(folder_))
        return false;
    FileLockGuard lock(FilePath());
    return lock.locked() && WriteAll(Serialize(records));
}

bool CUserChannelFile::Remove() const {
    const QString path = FilePath();
    FileLockGuard lock(path);
    if (!QFile::exists(path))
        return true;
    return QFile::remove(path);
}

bool CUserChannelFile::IsStorable(const ChannelRecord& record) {
    return std::none_of(record.fields.begin(), record.fields.end(), [](const QString& field) {
        return field.contains(QLatin1Char('#')) || field.contains(QLatin1Char('\n')) ||
               field.contains(QLatin1Char('\r'));
    });
}

ChannelRecord CUserChannelFile::MakeStorable(ChannelRecord record) {
    for (QString& field : record.fields) {
        field.replace(QLatin1Char('#'), QChar(0xFF03));
        field.replace(QLatin1Char('\r'), QLatin1Char(' '));
        field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return record;
}

ChannelRecord CUserChannelFile::CutFields(ChannelRecord record) {
    for (QString& field : record.fields) {
        const bool asUtf8 = !LegacyText::FitsCp949(field);
        field = LegacyText::CutToBytes(field, kFieldBytes, asUtf8);
    }
    return record;
}

std::vector<ChannelRecord>
CUserChannelFile::ListRowsToFileOrder(const std::vector<ChannelRecord>& rows) {
    return std::vector<ChannelRecord>(rows.rbegin(), rows.rend());
}
