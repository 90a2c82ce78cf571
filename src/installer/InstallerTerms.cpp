#include "installer/InstallerTerms.h"

#include "app/LegacyText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace InstallerTerms {

const char* const kFileName = "nimbuskit.txt";

namespace {

// Cuts a UTF-8 text that was cut at a byte limit back to its last whole
// character, so a big UTF-8 file is not mistaken for CP949.
QByteArray WithoutTornUtf8Tail(const QByteArray& bytes) {
    int end = static_cast<int>(bytes.size());
    int back = 0;
    while (end > 0 && back < 4 && (static_cast<unsigned char>(bytes[end - 1]) & 0xC0) == 0x80) {
        --end;
        ++back;
    }
    if (end > 0 && (static_cast<unsigned char>(bytes[end - 1]) & 0x80) != 0)
        return bytes.left(end - 1);
    return bytes;
}

} // namespace

QString Decode(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QString text = LegacyText::Decode(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString Load(const QString& folder) {
    QFile file(QDir(folder).filePath(QString::fromLatin1(kFileName)));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.read(kMaxBytes);
    if (!file.atEnd()) {
        const QByteArray whole = WithoutTornUtf8Tail(bytes);
        if (LegacyText::IsValidUtf8(whole))
            bytes = whole;
    }
    return Decode(bytes);
}

} // namespace InstallerTerms
