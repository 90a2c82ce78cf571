// Loads a 100,000-entry tv.ini the way the TV tab does and prints the time.
// Usage: waveorbit-bench-catalogue [entries]
#include "BenchCatalogue.h"
#include "catalogue/CatalogueLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString path = bench::WriteTvIni(dir.path(), entries);
    if (path.isEmpty())
        return 1;

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
