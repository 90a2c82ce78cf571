#include "guide/GuideCache.h"

#include "app/AtomicFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>

#include <algorithm>

namespace {

const QByteArray kMagic = "WAVEORBIT guide reading 1\n";
constexpr qint64 kEdgeBytes = 64 * 1024;

QDataStream& operator<<(QDataStream& out, const GuideReport& r) {
    return out << qint32(r.outcome) << qint32(r.fault) << r.faultLine << qint32(r.listChannels)
               << qint32(r.matchedChannels) << r.programmes << qint32(r.unknownZones)
               << qint32(r.badTimes) << qint32(r.duplicates) << qint32(r.overlapsTrimmed)
               << qint32(r.overflow) << r.cp949 << r.textBytes;
}

QDataStream& operator>>(QDataStream& in, GuideReport& r) {
    qint32 outcome = 0, fault = 0, list = 0, matched = 0, zones = 0, times = 0, repeats = 0,
           overlaps = 0, overflow = 0;
    in >> outcome >> fault >> r.faultLine >> list >> matched >> r.programmes >> zones >> times >>
        repeats >> overlaps >> overflow >> r.cp949 >> r.textBytes;
    r.outcome = static_cast<GuideReport::Outcome>(outcome);
    r.fault = static_cast<GuideReport::Fault>(fault);
    r.listChannels = list;
    r.matchedChannels = matched;
    r.unknownZones = zones;
    r.badTimes = times;
    r.duplicates = repeats;
    r.overlapsTrimmed = overlaps;
    r.overflow = overflow;
    return in;
}

QByteArray Digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

} // namespace

namespace GuideCache {

QString PathFor(const QString& keptPath) {
    return keptPath + QStringLiteral(".read");
}

QByteArray StampOf(const QString& guidePath, const std::vector<GuideChannel>& channels,
                   const GuideReadOptions& options) {
    QFile file(guidePath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const qint64 size = file.size();
    hash.addData(QByteArray::number(size) + '\n');
    hash.addData(file.read(kEdgeBytes));
    if (size > kEdgeBytes && file.seek(std::max(kEdgeBytes, size - kEdgeBytes)))
        hash.addData(file.readAll());
    QByteArray rest;
    QDataStream out(&rest, QIODevice::WriteOnly);
    out << options.keepBeforeSeconds << options.keepAfterSeconds << options.maxTextBytes
        << qint32(options.maxProgrammesPerChannel) << qint32(options.descriptionChars);
    for (const GuideChannel& c : channels)
        out << c.key << c.id << c.name << c.tvgName << c.shiftHours;
    hash.addData(rest);
    return hash.result();
}

bool Write(const QString& path, const QByteArray& stamp, qint64 readAt,
           const GuideReadResult& result) {
    if (!result.data || stamp.isEmpty())
        return false;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << stamp << readAt << result.report << result.data->Serialized();
    return WriteFileAtomically(path, kMagic + Digest(payload) + payload);
}

GuideReadResult Read(const QString& path, const QByteArray& stamp, qint64 now) {
    GuideReadResult none;
    QByteArray bytes;
    const qint64 head = kMagic.size() + 20;
    if (stamp.isEmpty() || !ReadWholeFile(path, &bytes) || bytes.size() < head ||
        !bytes.startsWith(kMagic))
        return none;
    const QByteArray payload = bytes.mid(head);
    if (Digest(payload) != bytes.mid(kMagic.size(), 20))
        return none;
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    QByteArray kept;
    qint64 readAt = 0;
    GuideReadResult result;
    QByteArray guide;
    in >> kept >> readAt >> result.report >> guide;
    if (in.status() != QDataStream::Ok || kept != stamp || now < readAt ||
        now - readAt >= kHoldsSeconds)
        return none;
    result.data = GuideData::FromSerialized(guide);
    return result.data ? result : none;
}

} // namespace GuideCache
