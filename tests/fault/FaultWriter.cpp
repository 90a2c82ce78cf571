// A child process for the crash and concurrency tests: it changes the
// settings store or the user channel file in a loop, the way the program
// does, until it is done or killed.
//
//   waveorbit-fault-writer settings <config folder> <prefix> <first> <count> <names>
//       writes "<prefix><i % names>" = "<i>|<padding>" for i in [first, first + count)
//   waveorbit-fault-writer userdat <data folder> <first> <count>
//       rewrites user.dat with generation i for i in [first, first + count)
#include "FaultRecords.h"

#include "app/SettingsStore.h"
#include "catalogue/CUserChannelFile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "settings" && argc == 7) {
        SettingsLocations locations;
        locations.configFolder = QString::fromLocal8Bit(argv[2]);
        locations.autostartFolder = locations.configFolder + QStringLiteral("/autostart");
        SettingsStore store(locations);
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        const int first = QByteArray(argv[4]).toInt();
        const int count = QByteArray(argv[5]).toInt();
        const int names = QByteArray(argv[6]).toInt();
        for (int i = first; i < first + count; ++i) {
            if (!store.Write(SettingsRoot::PerUser, fault::kSettingsKey,
                             prefix + QString::number(i % names), fault::SettingText(i))) {
                std::fprintf(stderr, "write %d failed\n", i);
                return 1;
            }
        }
        return 0;
    }
    if (mode == "userdat" && argc == 5) {
        const CUserChannelFile file(QString::fromLocal8Bit(argv[2]));
        const int first = QByteArray(argv[3]).toInt();
        const int count = QByteArray(argv[4]).toInt();
        for (int g = first; g < first + count; ++g) {
            if (!file.Rewrite(fault::Generation(g))) {
                std::fprintf(stderr, "rewrite %d failed\n", g);
                return 1;
            }
        }
        return 0;
    }
    std::fprintf(stderr, "usage: see the top of FaultWriter.cpp\n");
    return 2;
}
