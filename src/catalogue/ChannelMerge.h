#pragma once

#include "catalogue/ChannelRecord.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

// Public lists and providers keep a channel's spare addresses as separate
// entries ("Arirang (720p)" four times). The tab shows one row per channel
// that keeps every address, so a dead address is not a dead channel.
namespace ChannelMerge {

// Whether somebody else's list may hand this address to the player: only
// the schemes streams use (http, https, rtmp, rtmps, rtsp, rtsps, mms,
// mmsh, mmst, udp, rtp). file:, av:, lavfi:, edl: and the like would open
// local files and devices, or run filters, on the list's say-so.
bool IsStreamAddress(const QString& address);
// The CONNECT text of a row none of whose addresses may play: "재생불가".
QString RefusedMark();

struct Entry {
    ChannelRecord record;
    // The list's id for the channel (tvg-id); empty when it gives none.
    QString id;
};

// The key under which entries are one channel: the id up to its "@" feed
// ("KBS1.kr@HD" and "KBS1.kr@SD" are one), else the name's match key. Empty
// when neither says anything: such an entry stays a row of its own.
QString KeyOf(const Entry& entry);
// Whether an entry with this id is keyed by it; else by its name.
bool KeyedById(QStringView id);

// Joins entries one at a time, so a reader builds a full row only for the
// first entry of each channel and hands over no more than the address, the
// resolution and the options of the entries that join it. Keys are written
// into one reused buffer and kept in one block: no allocation per entry.
class Joiner {
public:
    explicit Joiner(size_t expectedEntries);
    ~Joiner();
    Joiner(const Joiner&) = delete;
    Joiner& operator=(const Joiner&) = delete;

    // The channel of an entry with this id and name (the name as the row
    // shows it): one listed already, or Channels() for a new one, whose row
    // the next AddChannel must give.
    int ChannelOf(QStringView id, const QString& name);
    int Channels() const { return static_cast<int>(rows_.size()); }
    void AddChannel(ChannelRecord row);
    // A further entry of a channel: its address, its CONNECT text (the
    // resolution the list gave it) and what the list asks for it.
    void AddAddress(int channel, QString url, QString connect,
                    QHash<QString, StreamOptions> options);
    // The rows as Merge describes them; the joiner is empty afterwards.
    std::vector<ChannelRecord> TakeRows();

private:
    struct Spare {
        QString url;
        QString connect;
        QHash<QString, StreamOptions> options;
        int next = -1; // the channel's next spare, in list order
    };
    struct Slot {
        quint32 hash = 0;
        int channel = -1;
        quint32 offset = 0;
        quint32 length = 0;
    };
    void Grow();

    std::vector<ChannelRecord> rows_;
    std::vector<int> firstSpare_;
    std::vector<int> lastSpare_;
    std::vector<Spare> spares_;
    std::vector<Slot> slots_;
    std::vector<char16_t> keys_; // every channel's key, one after the other
    std::vector<char16_t> key_;  // the entry's key, reused
};

// One row per channel, in the order each channel first appears, named and
// described by its first entry. Its addresses are those that may play, the
// list's order kept except that a higher resolution the list gives comes
// first; URL holds the first, CONNECT its resolution, the rest are spares.
// A row with no address that may play keeps its first address, marked
// "재생불가". Every row is marked as coming from a list.
std::vector<ChannelRecord> Merge(std::vector<Entry> entries);

} // namespace ChannelMerge
