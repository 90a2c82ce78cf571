#pragma once

#include <QByteArray>
#include <QString>

// Conversions at the edges where the program meets Korean legacy text: the
// catalogue values (CP949 after Base64) and the user channel file on disk.
// CP949 goes through glibc iconv, whose "CP949" is the Windows code page
// (Unified Hangul Code); Qt 6.4's codec of that name is a different table.
namespace LegacyText {

// True when the bytes are well-formed UTF-8 (plain ASCII is).
bool IsValidUtf8(QByteArrayView bytes);

// Bytes to text: valid UTF-8 is taken as UTF-8, anything else as CP949.
// Bytes that CP949 cannot map become U+FFFD; nothing is dropped silently.
QString Decode(const QByteArray& bytes);

// CP949 bytes to text (U+FFFD for invalid sequences).
QString DecodeCp949(const QByteArray& bytes);

// Text to CP949. When a character has no CP949 form, *ok is set to false and
// the result is empty; callers then fall back to UTF-8.
QByteArray EncodeCp949(const QString& text, bool* ok);

// True when every character of the text has a CP949 form.
bool FitsCp949(const QString& text);

// The longest prefix of the text whose encoding (CP949 when asUtf8 is false,
// else UTF-8) is at most maxBytes long. Never splits a character.
QString CutToBytes(const QString& text, int maxBytes, bool asUtf8);

// Length of the text in bytes as the legacy store would hold it: CP949 where
// the text fits, UTF-8 otherwise.
int LegacyByteLength(const QString& text);

} // namespace LegacyText
