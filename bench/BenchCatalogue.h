#pragma once

// A large tv.ini for the benchmarks: four groups, Base64 of CP949 fields,
// regions spread over the entries.
#include "app/LegacyText.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace bench {

inline QByteArray Field(const QString& text) {
    bool ok = false;
    return LegacyText::EncodeCp949(text, &ok).toBase64();
}

inline QByteArray MakeTvIni(int entries) {
    const QStringList regions = {QStringLiteral("서울"), QStringLiteral("부산"),
                                 QStringLiteral("대구"), QStringLiteral("광주")};
    const QStringList groups = {QStringLiteral("MBC"), QStringLiteral("KBS"), QStringLiteral("SBS"),
                                QStringLiteral("ETC")};
    QByteArray out;
    out.reserve(entries * 220);
    const int perGroup = entries / static_cast<int>(groups.size());
    for (const QString& group : groups) {
        out += "[" + group.toUtf8() + "]\r\nCOUNT=" + QByteArray::number(perGroup) + "\r\n";
        for (int i = 1; i <= perGroup; ++i) {
            out += "[" + group.toUtf8() + QByteArray::number(i) + "]\r\n";
            out += "NUM=" + Field(QString::number(i)) + "\r\n";
            out += "NAME=" + Field(group + QStringLiteral(" 채널 %1").arg(i)) + "\r\n";
            out +=
                "INFO=" + Field(regions.at(i % regions.size()) + QStringLiteral(" 방송")) + "\r\n";
            out += "CONNECT=" + Field(QStringLiteral("연결대기")) + "\r\n";
            out += "URL=" + Field(QStringLiteral("http://127.0.0.1:8733/tv%1/index.m3u8").arg(i)) +
                   "\r\n";
            out += "WEBSITE=" + Field(QStringLiteral("N")) + "\r\n";
            out += "WEBURL=" + Field(QString()) + "\r\n";
        }
    }
    out += "[DB]\r\nVER=1\r\n";
    return out;
}

// Writes the catalogue as tv.ini into the folder; returns its path, or an
// empty text when it cannot be written.
inline QString WriteTvIni(const QString& folder, int entries) {
    const QString path = folder + QStringLiteral("/tv.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(MakeTvIni(entries)) < 0)
        return {};
    return path;
}

} // namespace bench
