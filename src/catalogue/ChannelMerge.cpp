#include "catalogue/ChannelMerge.h"

#include "catalogue/ChannelName.h"

#include <QHash>
#include <QUrl>

#include <algorithm>

namespace ChannelMerge {

namespace {

// "1080p" -> 1080; 0 for a CONNECT text that names no resolution.
int ResolutionOf(const QString& connect) {
    int lines = 0;
    for (const QChar c : connect) {
        if (!c.isDigit())
            break;
        lines = lines * 10 + c.digitValue();
    }
    const bool named = lines > 0 && connect.size() <= 6 &&
                       (connect.endsWith(QLatin1Char('p')) || connect.endsWith(QLatin1Char('i')));
    return named ? lines : 0;
}

} // namespace

bool IsStreamAddress(const QString& address) {
    static const char* const kSchemes[] = {"http", "https", "rtmp", "rtmps", "rtsp", "rtsps",
                                           "mms",  "mmsh",  "mmst", "udp",   "rtp"};
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon <= 0 || !QStringView(address).mid(colon + 1).startsWith(u"//"))
        return false;
    const QStringView scheme = QStringView(address).left(colon);
    return std::any_of(std::begin(kSchemes), std::end(kSchemes), [scheme](const char* known) {
        return scheme.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
    });
}

QString RefusedMark() {
    return QStringLiteral("재생불가");
}

QString KeyOf(const Entry& entry) {
    // Called once per entry of lists of tens of thousands: views, no splits.
    QStringView id(entry.id);
    if (const qsizetype feed = id.indexOf(QLatin1Char('@')); feed >= 0)
        id = id.left(feed);
    id = id.trimmed();
    if (!id.isEmpty()) {
        QString key;
        key.reserve(3 + id.size());
        key.append(u"id:").append(id);
        return std::move(key).toCaseFolded(); // folded in place
    }
    // A playlist row's name is already without the list's notes; only a name
    // that may still hold one (a directory station's) is looked at for them.
    const QString& shown = entry.record.name();
    const bool mayHoldNotes = shown.contains(QLatin1Char('(')) || shown.contains(QLatin1Char('['));
    const QString name =
        mayHoldNotes ? ChannelName::MatchKey(shown) : ChannelName::PlainMatchKey(shown);
    return name.isEmpty() ? QString() : QStringLiteral("name:") + name;
}

std::vector<ChannelRecord> Merge(std::vector<Entry> entries) {
    // Each entry's channel, numbered in the order channels first appear.
    std::vector<int> channelOf(entries.size());
    std::vector<int> firstEntry;
    std::vector<int> sizeOf;
    QHash<QString, int> channelByKey;
    channelByKey.reserve(static_cast<qsizetype>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString key = KeyOf(entries[i]);
        int channel = static_cast<int>(firstEntry.size());
        if (!key.isEmpty()) {
            const auto found = channelByKey.constFind(key);
            if (found != channelByKey.constEnd())
                channel = *found;
            else
                channelByKey.insert(key, channel);
        }
        if (channel == static_cast<int>(firstEntry.size())) {
            firstEntry.push_back(static_cast<int>(i));
            sizeOf.push_back(0);
        }
        channelOf[i] = channel;
        ++sizeOf[static_cast<size_t>(channel)];
    }

    // The entries of each channel, in list order, one flat array.
    std::vector<int> start(firstEntry.size() + 1, 0);
    for (size_t c = 0; c < firstEntry.size(); ++c)
        start[c + 1] = start[c] + sizeOf[c];
    std::vector<int> members(entries.size());
    std::vector<int> filled(start.begin(), start.end() - 1);
    for (size_t i = 0; i < entries.size(); ++i)
        members[static_cast<size_t>(filled[static_cast<size_t>(channelOf[i])]++)] =
            static_cast<int>(i);

    std::vector<ChannelRecord> rows;
    rows.reserve(firstEntry.size());
    // Reused from channel to channel: most channels have a few entries.
    std::vector<int> playable;
    std::vector<int> resolution;
    std::vector<size_t> order;
    for (size_t c = 0; c < firstEntry.size(); ++c) {
        const auto begin = members.begin() + start[c];
        const auto end = members.begin() + start[c + 1];
        ChannelRecord row = std::move(entries[static_cast<size_t>(firstEntry[c])].record);
        row.fromList = true;
        if (end - begin == 1) {
            if (!IsStreamAddress(row.url()))
                row.fields[ChannelRecord::Connect] = RefusedMark();
            rows.push_back(std::move(row));
            continue;
        }
        // The first entry's record was moved into the row: its own address
        // and resolution are read from the row.
        const auto recordOf = [&](int entry) -> const ChannelRecord& {
            return entry == firstEntry[c] ? row : entries[static_cast<size_t>(entry)].record;
        };
        playable.clear();
        std::copy_if(begin, end, std::back_inserter(playable),
                     [&](int entry) { return IsStreamAddress(recordOf(entry).url()); });
        // Each address keeps what the list asked for it.
        for (auto member = begin; member != end; ++member) {
            if (*member != firstEntry[c])
                row.options.insert(entries[static_cast<size_t>(*member)].record.options);
        }
        if (playable.empty()) {
            row.fields[ChannelRecord::Connect] = RefusedMark();
            rows.push_back(std::move(row));
            continue;
        }
        resolution.resize(playable.size());
        for (size_t k = 0; k < playable.size(); ++k)
            resolution[k] = ResolutionOf(recordOf(playable[k]).connect());
        order.resize(playable.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return resolution[a] > resolution[b]; });
        QStringList spares;
        spares.reserve(static_cast<qsizetype>(order.size()) - 1);
        for (size_t k = 1; k < order.size(); ++k)
            spares << recordOf(playable[order[k]]).url();
        const ChannelRecord& best = recordOf(playable[order[0]]);
        const QString url = best.url();
        const QString connect = best.connect();
        row.fields[ChannelRecord::Url] = url;
        row.fields[ChannelRecord::Connect] = connect;
        row.spareAddresses = std::move(spares);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace ChannelMerge
