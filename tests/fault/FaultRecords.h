#pragma once

// What the fault writer writes, so the tests can tell exactly which complete
// state a file is in after the writer was killed.

#include "catalogue/ChannelRecord.h"

#include <QString>

#include <vector>

namespace fault {

inline const QString kSettingsKey = QStringLiteral("SOFTWARE\\WAVEORBIT\\Fault");

// The text of write i: its number, then padding that makes a torn write show.
inline QString SettingText(int i) {
    return QString::number(i) + QLatin1Char('|') + QString(120, QChar(u'가' + i % 50));
}

// The whole list of generation g: 1 to 7 records, in CP949 mostly and in
// UTF-8 (a snowman has no CP949 form) every third generation, so the file
// changes its encoding as it is rewritten.
inline std::vector<ChannelRecord> Generation(int g) {
    std::vector<ChannelRecord> records;
    const int count = g % 7 + 1;
    for (int n = 0; n < count; ++n) {
        ChannelRecord r;
        r.fields[ChannelRecord::Num] = QString::number(g);
        r.fields[ChannelRecord::Name] =
            (g % 3 == 0 ? QStringLiteral("☃ 채널 %1-%2") : QStringLiteral("채널 %1-%2"))
                .arg(g)
                .arg(n);
        r.fields[ChannelRecord::Info] = QString(60, QChar(u'방'));
        r.fields[ChannelRecord::Url] = QStringLiteral("http://127.0.0.1:8733/%1/%2").arg(g).arg(n);
        r.fields[ChannelRecord::Website] = QStringLiteral("N");
        records.push_back(r);
    }
    return records;
}

} // namespace fault
