#pragma once

#include "catalogue/ChannelRecord.h"

#include <QString>

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

// One row per channel, in the order each channel first appears, named and
// described by its first entry. Its addresses are those that may play, the
// list's order kept except that a higher resolution the list gives comes
// first; URL holds the first, CONNECT its resolution, the rest are spares.
// A row with no address that may play keeps its first address, marked
// "재생불가". Every row is marked as coming from a list.
std::vector<ChannelRecord> Merge(std::vector<Entry> entries);

} // namespace ChannelMerge
