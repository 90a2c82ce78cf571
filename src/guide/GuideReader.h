#pragma once

#include "catalogue/PlaylistGuides.h"
#include "guide/GuideData.h"

#include <QString>

#include <memory>
#include <vector>

class QIODevice;

struct GuideReadOptions {
    qint64 now = 0;                      // UTC seconds
    qint64 keepBeforeSeconds = 3 * 3600; // programmes ended before now - this go
    qint64 keepAfterSeconds = 7 * 86400; // programmes starting after now + this go
    qint64 maxTextBytes = 1536ll << 20;  // unpacked: a 2 GB stream stops here
    int maxProgrammesPerChannel = 20000; // a week at one every half minute
    int descriptionChars = 60;           // a tooltip line; keeps a programme near 200 bytes
};

// What became of one read, for the settings page.
struct GuideReport {
    enum class Outcome {
        Read,     // the whole guide was read
        PartKept, // it broke off, but what came before is whole and is used
        Failed,   // nothing of it is used; the previous guide stays
    };
    enum class Fault {
        None,
        CannotOpen,
        ReadFailed,
        NotXmltv,
        Malformed,
        EntityExpansion,
        Truncated,
        Corrupt,
        TooLarge,
    };

    Outcome outcome = Outcome::Failed;
    Fault fault = Fault::None;
    qint64 faultLine = 0;
    int listChannels = 0;
    int matchedChannels = 0;
    qint64 programmes = 0;
    int unknownZones = 0; // read as UTC
    int badTimes = 0;     // programmes dropped for a time that reads as none
    int duplicates = 0;   // exact repeats dropped
    int overlapsTrimmed = 0;
    int overflow = 0; // beyond the per-channel cap
    bool cp949 = false;
    qint64 textBytes = 0;

    bool usable() const { return outcome != Outcome::Failed; }
    // "12 / 40 채널", the warnings, or why the guide was not used.
    QString StatusText() const;
    static QString FaultText(Fault fault, qint64 line = 0);
};

struct GuideReadResult {
    std::shared_ptr<const GuideData> data; // null when the read failed
    GuideReport report;
};

// Reads an XMLTV guide (plain, gzip or xz) from `source`, a slice at a
// time, keeping only what `channels` need. Runs on a worker: it blocks on
// the file.
GuideReadResult ReadGuide(QIODevice* source, const std::vector<GuideChannel>& channels,
                          const GuideReadOptions& options);
GuideReadResult ReadGuideFile(const QString& path, const std::vector<GuideChannel>& channels,
                              const GuideReadOptions& options);

// Text in which entities were escaped twice ("&amp;amp;", "&amp;#39;") after
// the XML reader's own decoding still holds entity references; those are
// decoded once more. A lone "&" ("AT&T") is left as it is.
QString DecodeDoubleEscapes(const QString& text);
