// Loads a 100,000-entry tv.ini the way the TV tab does and prints the time.
// Usage: waveorbit-bench-catalogue [entries]
#include "app/LegacyText.h"
#include "catalogue/CatalogueLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QByteArray Field(const QString& text) {
    bool ok = false;
    return LegacyText::EncodeCp949(text, &ok).toBase64();
}

QByteArray MakeTvIni(int entries) {
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tv.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(MakeTvIni(entries));
    file.close();

    QTextStream out(stdout);
    for (const QString& region : {QStringLiteral(""), QStringLiteral("서울")}) {
        qint64 best = -1;
        size_t rows = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            rows = LoadCatalogueFile(path, QStringLiteral("tv.ini"), region).size();
            const qint64 ms = timer.elapsed();
            if (best < 0 || ms < best)
                best = ms;
        }
        out << "catalogue load: " << entries << " entries, region \"" << region << "\": " << rows
            << " rows in " << best << " ms (best of 5)\n";
    }
    return 0;
}
