#pragma once

#include "catalogue/ChannelRecord.h"

#include <QStringList>

#include <vector>

// The rows' names in order: what a list shows, as one value a test can compare.
inline QStringList Names(const std::vector<ChannelRecord>& records) {
    QStringList names;
    for (const ChannelRecord& r : records)
        names << r.name();
    return names;
}
