#pragma once

#include "guide/GuideReader.h"

#include <QByteArray>
#include <QString>

#include <vector>

// What a read of a kept guide made, kept beside it, so a start shows the
// guide without parsing its XML again (a guide of 15 MB takes most of a
// second to parse; its reading reads back in milliseconds). A kept reading
// holds for the same guide bytes, the same list channels and read options,
// and for three days after the read (the reader keeps a week from the time it
// reads: one three days old still has four days ahead, as a guide that
// old has itself). Anything else, or a file that does not check out, reads
// as none.
namespace GuideCache {

constexpr qint64 kHoldsSeconds = 3 * 86400;

// Where the reading of the guide kept at keptPath is kept.
QString PathFor(const QString& keptPath);
// What one read depends on: the guide file's size and its first and last
// 64 KB (a gzip file ends with its whole text's checksum and length), the
// channels, the read options but their clock. Empty when the file cannot be read.
QByteArray StampOf(const QString& guidePath, const std::vector<GuideChannel>& channels,
                   const GuideReadOptions& options);
// Keeps a usable read, written atomically.
bool Write(const QString& path, const QByteArray& stamp, qint64 readAt,
           const GuideReadResult& result);
// The read kept at `path` for this stamp, made within kHoldsSeconds before
// now; a null guide when there is none.
GuideReadResult Read(const QString& path, const QByteArray& stamp, qint64 now);

} // namespace GuideCache
