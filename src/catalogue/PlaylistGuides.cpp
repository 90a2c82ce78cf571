#include "catalogue/PlaylistGuides.h"

#include "catalogue/M3uPlaylist.h"

#include <cmath>

std::vector<GuideChannel> GuideChannelsOf(const std::vector<M3uPlaylist::Entry>& entries) {
    std::vector<GuideChannel> channels;
    channels.reserve(entries.size());
    for (const M3uPlaylist::Entry& entry : entries) {
        GuideChannel channel;
        channel.key = entry.url;
        channel.id = entry.Attribute("tvg-id");
        channel.name = entry.name;
        channel.tvgName = entry.Attribute("tvg-name");
        bool ok = false;
        const double shift = entry.Attribute("tvg-shift").toDouble(&ok);
        if (ok && std::isfinite(shift) && std::abs(shift) <= 24)
            channel.shiftHours = shift;
        channels.push_back(std::move(channel));
    }
    return channels;
}

PlaylistGuides PlaylistGuidesOf(const QByteArray& playlist, const QUrl& base) {
    return PlaylistGuides{GuideChannelsOf(M3uPlaylist::Parse(playlist, base)),
                          M3uPlaylist::GuideAddresses(playlist)};
}
