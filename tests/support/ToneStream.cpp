#include "ToneStream.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

QByteArray ToneStream(int seconds) {
    QTemporaryDir dir;
    const QString media = dir.filePath(QStringLiteral("tone.ts"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                  QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                  QStringLiteral("sine=frequency=440:sample_rate=44100"), QStringLiteral("-t"),
                  QString::number(seconds), QStringLiteral("-c:a"), QStringLiteral("mp2"), media});
    if (!ffmpeg.waitForFinished(30000))
        return {};
    QFile file(media);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
