#include "catalogue/ChannelMerge.h"

#include "catalogue/ChannelName.h"

#include <QHash>
#include <QHashSeed>
#include <QUrl>

#include <algorithm>
#include <cstring>

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
    // Most addresses: an ASCII scheme, compared lower-cased without a call
    // per known scheme. Others are compared as Unicode folds them.
    if (scheme.size() <= 5 && std::all_of(scheme.begin(), scheme.end(), [](QChar c) {
            return c.unicode() > 0 && c.unicode() < 0x80;
        })) {
        char lower[6] = {};
        for (qsizetype i = 0; i < scheme.size(); ++i) {
            const char c = static_cast<char>(scheme[i].unicode());
            lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
        }
        return std::any_of(std::begin(kSchemes), std::end(kSchemes),
                           [&lower](const char* known) { return std::strcmp(lower, known) == 0; });
    }
    return std::any_of(std::begin(kSchemes), std::end(kSchemes), [scheme](const char* known) {
        return scheme.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
    });
}

QString RefusedMark() {
    return QStringLiteral("재생불가");
}

namespace {

// Appends text case folded when it is all ASCII (folding is then A-Z to
// a-z); false, with nothing appended, when it is not.
bool AppendFoldedAscii(QStringView text, std::vector<char16_t>* out) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        out->push_back(u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u);
    }
    return true;
}

// ChannelName::PlainMatchKey for an all-ASCII name, which normalisation
// leaves as it is: folded, the quality words and the blanks dropped.
// False, with nothing appended, for a name with other characters.
bool AppendPlainAsciiKey(QStringView name, std::vector<char16_t>* out) {
    const size_t before = out->size();
    if (!AppendFoldedAscii(name, out))
        return false;
    // Compacted in place over what was just appended.
    const auto isWord = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
    };
    const size_t end = out->size();
    size_t write = before;
    size_t i = before;
    while (i < end) {
        const char16_t c = (*out)[i];
        if (!isWord(c)) {
            if (c != u' ' && (c < u'\t' || c > u'\r'))
                (*out)[write++] = c;
            ++i;
            continue;
        }
        size_t wordEnd = i;
        while (wordEnd < end && isWord((*out)[wordEnd]))
            ++wordEnd;
        const QStringView word(out->data() + i, static_cast<qsizetype>(wordEnd - i));
        if (word != u"hd" && word != u"uhd" && word != u"fhd" && word != u"sd") {
            std::copy(out->begin() + static_cast<std::ptrdiff_t>(i),
                      out->begin() + static_cast<std::ptrdiff_t>(wordEnd),
                      out->begin() + static_cast<std::ptrdiff_t>(write));
            write += wordEnd - i;
        }
        i = wordEnd;
    }
    out->resize(write);
    return true;
}

void Append(QStringView text, std::vector<char16_t>* out) {
    out->insert(out->end(), text.utf16(), text.utf16() + text.size());
}

// The key KeyOf gives, written into key (cleared first): "id:" and the id
// up to its feed, folded; else "name:" and the name's match key; nothing
// when neither says anything. Unicode normalisation and folding only for
// text that is not all ASCII.
// The id up to its feed: "KBS1.kr" of "KBS1.kr@HD".
QStringView IdWithoutFeed(QStringView id) {
    if (const qsizetype feed = id.indexOf(QLatin1Char('@')); feed >= 0)
        id = id.left(feed);
    return id.trimmed();
}

void WriteKey(QStringView id, const QString& name, std::vector<char16_t>* key) {
    key->clear();
    id = IdWithoutFeed(id);
    if (!id.isEmpty()) {
        Append(u"id:", key);
        if (!AppendFoldedAscii(id, key))
            Append(id.toString().toCaseFolded(), key);
        return;
    }
    Append(u"name:", key);
    const size_t prefix = key->size();
    // A playlist row's name is already without the list's notes; only a name
    // that may still hold one (a directory station's) is looked at for them.
    const bool mayHoldNotes = name.contains(QLatin1Char('(')) || name.contains(QLatin1Char('['));
    if (mayHoldNotes)
        Append(ChannelName::MatchKey(name), key);
    else if (!AppendPlainAsciiKey(name, key))
        Append(ChannelName::PlainMatchKey(name), key);
    if (key->size() == prefix)
        key->clear();
}

} // namespace

QString KeyOf(const Entry& entry) {
    std::vector<char16_t> key;
    WriteKey(entry.id, entry.record.name(), &key);
    return QString(reinterpret_cast<const QChar*>(key.data()), static_cast<qsizetype>(key.size()));
}

bool KeyedById(QStringView id) {
    return !IdWithoutFeed(id).isEmpty();
}

Joiner::Joiner(size_t expectedEntries) {
    rows_.reserve(expectedEntries);
    firstSpare_.reserve(expectedEntries);
    lastSpare_.reserve(expectedEntries);
    size_t capacity = 16;
    while (capacity < expectedEntries * 2)
        capacity *= 2;
    slots_.resize(capacity);
    // Keys of public lists run to a dozen or two characters.
    keys_.reserve(expectedEntries * 16);
}

Joiner::~Joiner() = default;

void Joiner::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.channel < 0)
            continue;
        size_t i = slot.hash & mask;
        while (slots_[i].channel >= 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

int Joiner::ChannelOf(QStringView id, const QString& name) {
    const int fresh = Channels();
    WriteKey(id, name, &key_);
    if (key_.empty())
        return fresh; // a row of its own
    if ((static_cast<size_t>(fresh) + 1) * 2 > slots_.size())
        Grow();
    const QStringView key(key_.data(), static_cast<qsizetype>(key_.size()));
    const auto hash = static_cast<quint32>(qHash(key, QHashSeed::globalSeed()));
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.channel < 0) {
            slot = {hash, fresh, static_cast<quint32>(keys_.size()),
                    static_cast<quint32>(key_.size())};
            keys_.insert(keys_.end(), key_.begin(), key_.end());
            return fresh;
        }
        if (slot.hash == hash && slot.length == key_.size() &&
            std::equal(key_.begin(), key_.end(), keys_.begin() + slot.offset))
            return slot.channel;
    }
}

void Joiner::AddChannel(ChannelRecord row) {
    rows_.push_back(std::move(row));
    firstSpare_.push_back(-1);
    lastSpare_.push_back(-1);
}

void Joiner::AddAddress(int channel, QString url, QString connect,
                        QHash<QString, StreamOptions> options) {
    const int index = static_cast<int>(spares_.size());
    spares_.push_back({std::move(url), std::move(connect), std::move(options), -1});
    const auto c = static_cast<size_t>(channel);
    if (lastSpare_[c] < 0)
        firstSpare_[c] = index;
    else
        spares_[static_cast<size_t>(lastSpare_[c])].next = index;
    lastSpare_[c] = index;
}

std::vector<ChannelRecord> Joiner::TakeRows() {
    // Reused from channel to channel: most channels have a few entries. A
    // member is a spare's number, or -1 for the row's own first entry.
    std::vector<int> members;
    std::vector<int> playable;
    std::vector<int> resolution;
    std::vector<size_t> order;
    for (size_t c = 0; c < rows_.size(); ++c) {
        ChannelRecord& row = rows_[c];
        row.fromList = true;
        if (firstSpare_[c] < 0) {
            if (!IsStreamAddress(row.url()))
                row.fields[ChannelRecord::Connect] = RefusedMark();
            continue;
        }
        members.assign(1, -1);
        for (int s = firstSpare_[c]; s >= 0; s = spares_[static_cast<size_t>(s)].next)
            members.push_back(s);
        const auto spare = [&](int member) -> Spare& {
            return spares_[static_cast<size_t>(member)];
        };
        const auto urlOf = [&](int member) -> const QString& {
            return member < 0 ? row.url() : spare(member).url;
        };
        playable.clear();
        std::copy_if(members.begin(), members.end(), std::back_inserter(playable),
                     [&](int member) { return IsStreamAddress(urlOf(member)); });
        // Each address keeps what the list asked for it.
        for (size_t m = 1; m < members.size(); ++m) {
            if (!spare(members[m]).options.isEmpty())
                row.options.insert(spare(members[m]).options);
        }
        if (playable.empty()) {
            row.fields[ChannelRecord::Connect] = RefusedMark();
            continue;
        }
        resolution.resize(playable.size());
        for (size_t k = 0; k < playable.size(); ++k)
            resolution[k] =
                ResolutionOf(playable[k] < 0 ? row.connect() : spare(playable[k]).connect);
        order.resize(playable.size());
        for (size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return resolution[a] > resolution[b]; });
        QStringList spares;
        spares.reserve(static_cast<qsizetype>(order.size()) - 1);
        for (size_t k = 1; k < order.size(); ++k) {
            const int member = playable[order[k]];
            spares << (member < 0 ? row.url() : std::move(spare(member).url));
        }
        if (const int best = playable[order[0]]; best >= 0) {
            row.fields[ChannelRecord::Url] = std::move(spare(best).url);
            row.fields[ChannelRecord::Connect] = std::move(spare(best).connect);
        }
        row.spareAddresses = std::move(spares);
    }
    spares_.clear();
    firstSpare_.clear();
    lastSpare_.clear();
    return std::move(rows_);
}

std::vector<ChannelRecord> Merge(std::vector<Entry> entries) {
    Joiner joiner(entries.size());
    for (Entry& entry : entries) {
        const int channel = joiner.ChannelOf(entry.id, entry.record.name());
        if (channel == joiner.Channels()) {
            joiner.AddChannel(std::move(entry.record));
            continue;
        }
        ChannelRecord& r = entry.record;
        joiner.AddAddress(channel, std::move(r.fields[ChannelRecord::Url]),
                          std::move(r.fields[ChannelRecord::Connect]), std::move(r.options));
    }
    return joiner.TakeRows();
}

} // namespace ChannelMerge
