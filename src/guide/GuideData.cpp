#include "guide/GuideData.h"

#include <QDataStream>
#include <QDateTime>
#include <QIODevice>

#include <algorithm>

QString GuideData::Text(quint32 offset) const {
    if (static_cast<qint64>(offset) + 2 > pool_.size())
        return QString();
    const auto* p = reinterpret_cast<const unsigned char*>(pool_.constData() + offset);
    const int length = p[0] | (p[1] << 8);
    return QString::fromUtf8(pool_.constData() + offset + 2, length);
}

GuideData::Programme GuideData::Make(const Slot& slot, qint32 shift) const {
    return Programme{slot.start + shift, slot.stop + shift, Text(slot.title),
                     Text(slot.description)};
}

std::pair<const GuideData::Slot*, const GuideData::Slot*>
GuideData::Range(const Binding& binding) const {
    const Slot* base = slots_.data();
    return {base + channelBegin_[binding.channel], base + channelBegin_[binding.channel + 1]};
}

GuideData::NowNext GuideData::At(const QString& key, qint64 at) const {
    NowNext result;
    const auto found = bindings_.constFind(key);
    if (found == bindings_.cend())
        return result;
    const auto [begin, end] = Range(*found);
    const qint64 local = at - found->shiftSeconds;
    // The first programme that has not ended by then.
    const Slot* it = std::upper_bound(begin, end, local,
                                      [](qint64 t, const Slot& slot) { return t < slot.stop; });
    if (it == end)
        return result;
    if (it->start <= local) {
        result.now = Make(*it, found->shiftSeconds);
        ++it;
    }
    if (it != end)
        result.next = Make(*it, found->shiftSeconds);
    return result;
}

std::vector<GuideData::Programme> GuideData::Between(const QString& key, qint64 from,
                                                     qint64 to) const {
    std::vector<Programme> result;
    const auto found = bindings_.constFind(key);
    if (found == bindings_.cend())
        return result;
    const auto [begin, end] = Range(*found);
    const qint64 localFrom = from - found->shiftSeconds;
    const qint64 localTo = to - found->shiftSeconds;
    for (const Slot *it = std::upper_bound(begin, end, localFrom,
                                           [](qint64 t, const Slot&slot) { return t < slot.stop; });
         it != end && it->start < localTo; ++it)
        result.push_back(Make(*it, found->shiftSeconds));
    return result;
}

std::vector<GuideData::Programme> GuideData::Day(const QString& key, QDate day,
                                                 const QTimeZone& zone) const {
    const qint64 from = QDateTime(day, QTime(0, 0), zone).toSecsSinceEpoch();
    const qint64 to = QDateTime(day.addDays(1), QTime(0, 0), zone).toSecsSinceEpoch();
    return Between(key, from, to);
}

std::optional<qint64> GuideData::NextChange(const QString& key, qint64 at) const {
    std::optional<qint64> best;
    auto consider = [&](const Binding& binding) {
        const auto [begin, end] = Range(binding);
        const qint64 local = at - binding.shiftSeconds;
        const Slot* it = std::upper_bound(begin, end, local,
                                          [](qint64 t, const Slot& slot) { return t < slot.stop; });
        if (it == end)
            return;
        const qint64 change = (it->start > local ? it->start : it->stop) + binding.shiftSeconds;
        if (!best || change < *best)
            best = change;
    };
    if (!key.isEmpty()) {
        const auto found = bindings_.constFind(key);
        if (found != bindings_.cend())
            consider(*found);
        return best;
    }
    for (const Binding& binding : bindings_)
        consider(binding);
    return best;
}

qint64 GuideData::MemoryBytes() const {
    qint64 bytes = sizeof(*this);
    bytes += static_cast<qint64>(slots_.capacity() * sizeof(Slot));
    bytes += static_cast<qint64>(channelBegin_.capacity() * sizeof(quint32));
    bytes += pool_.capacity();
    for (auto it = bindings_.cbegin(); it != bindings_.cend(); ++it)
        bytes += 32 + it.key().capacity() * 2 + static_cast<qint64>(sizeof(Binding));
    return bytes;
}

QByteArray GuideData::Serialized() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint64(slots_.size());
    out.writeRawData(reinterpret_cast<const char*>(slots_.data()),
                     static_cast<int>(slots_.size() * sizeof(Slot)));
    out << quint64(channelBegin_.size());
    out.writeRawData(reinterpret_cast<const char*>(channelBegin_.data()),
                     static_cast<int>(channelBegin_.size() * sizeof(quint32)));
    out << pool_ << quint64(bindings_.size());
    for (auto it = bindings_.cbegin(); it != bindings_.cend(); ++it)
        out << it.key() << it->channel << it->shiftSeconds;
    return bytes;
}

std::shared_ptr<const GuideData> GuideData::FromSerialized(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    auto guide = std::make_shared<GuideData>();
    // Counts are checked against what the bytes can hold before anything is allocated.
    auto readArray = [&in, &bytes](auto& vector) {
        quint64 count = 0;
        in >> count;
        using Item = typename std::decay_t<decltype(vector)>::value_type;
        if (in.status() != QDataStream::Ok || count > quint64(bytes.size()) / sizeof(Item))
            return false;
        vector.resize(count);
        const int length = static_cast<int>(count * sizeof(Item));
        return in.readRawData(reinterpret_cast<char*>(vector.data()), length) == length;
    };
    if (!readArray(guide->slots_) || !readArray(guide->channelBegin_))
        return nullptr;
    quint64 bindings = 0;
    in >> guide->pool_ >> bindings;
    if (in.status() != QDataStream::Ok || bindings > quint64(bytes.size()))
        return nullptr;
    for (quint64 i = 0; i < bindings; ++i) {
        QString key;
        Binding binding{};
        in >> key >> binding.channel >> binding.shiftSeconds;
        guide->bindings_.insert(key, binding);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return nullptr;
    // Every index and text offset must stay inside what was read.
    const auto& begin = guide->channelBegin_;
    if (begin.empty() || begin.front() != 0 || begin.back() != guide->slots_.size() ||
        !std::is_sorted(begin.cbegin(), begin.cend()))
        return nullptr;
    for (const Binding& binding : guide->bindings_) {
        if (binding.channel + 1 >= begin.size())
            return nullptr;
    }
    const qint64 pool = guide->pool_.size();
    const auto* text = reinterpret_cast<const unsigned char*>(guide->pool_.constData());
    // An offset past the pool is no text (Text gives none); one inside it
    // must hold its whole length.
    auto whole = [pool, text](quint32 offset) {
        return static_cast<qint64>(offset) + 2 > pool ||
               static_cast<qint64>(offset) + 2 + (text[offset] | (text[offset + 1] << 8)) <= pool;
    };
    for (const Slot& slot : guide->slots_) {
        if (!whole(slot.title) || !whole(slot.description))
            return nullptr;
    }
    return guide;
}
