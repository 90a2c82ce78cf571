#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QTimeZone>

#include <memory>
#include <optional>
#include <vector>

// One read guide, kept compactly for the channels of one list: each
// programme is its times and two offsets into one pool of UTF-8 texts
// (titles and descriptions, each kept once however often it repeats).
// Programmes are sorted per guide channel and never overlap; a list channel
// points at its guide channel with its own shift (tvg-shift), so two list
// entries of the same channel share one copy. Immutable once built; the
// reader builds it on a worker and hands it over whole.
class GuideData {
public:
    struct Programme {
        qint64 start = 0; // UTC seconds, inclusive
        qint64 stop = 0;  // UTC seconds, exclusive
        QString title;
        QString description;
    };

    struct NowNext {
        std::optional<Programme> now;
        std::optional<Programme> next;
    };

    // The list channels the guide knows (by the key the list gave them).
    bool Has(const QString& key) const { return bindings_.contains(key); }
    int ChannelCount() const { return static_cast<int>(bindings_.size()); }
    qint64 ProgrammeCount() const { return static_cast<qint64>(slots_.size()); }

    // The programme on at `at` and the one after it.
    NowNext At(const QString& key, qint64 at) const;
    // Every programme that overlaps [from, to).
    std::vector<Programme> Between(const QString& key, qint64 from, qint64 to) const;
    // The programmes of one calendar day in the given zone (the desktop's by default).
    std::vector<Programme> Day(const QString& key, QDate day,
                               const QTimeZone& zone = QTimeZone::systemTimeZone()) const;
    // The first start or stop after `at` on this channel (or on any channel
    // when key is empty), so a view sets one timer instead of polling;
    // nothing when the guide has no later change.
    std::optional<qint64> NextChange(const QString& key, qint64 at) const;

    // Bytes the guide holds (for the measurement of what a guide costs).
    qint64 MemoryBytes() const;

    // The guide as bytes of this machine, and back (GuideCache keeps what a
    // read made). Bytes that do not make a whole guide read as null.
    QByteArray Serialized() const;
    static std::shared_ptr<const GuideData> FromSerialized(const QByteArray& bytes);

private:
    friend class GuideBuilder;

    struct Slot {
        qint64 start;
        qint64 stop;
        quint32 title; // offset into pool_
        quint32 description;
    };
    struct Binding {
        quint32 channel; // index into channelBegin_
        qint32 shiftSeconds;
    };

    Programme Make(const Slot& slot, qint32 shift) const;
    QString Text(quint32 offset) const;
    std::pair<const Slot*, const Slot*> Range(const Binding& binding) const;

    std::vector<Slot> slots_;
    std::vector<quint32> channelBegin_; // one more entry than guide channels
    QByteArray pool_;                   // per text: two bytes of length, then UTF-8
    QHash<QString, Binding> bindings_;
};
