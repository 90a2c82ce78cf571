#include "playback/PlayedAddresses.h"

#include "app/AtomicFile.h"
#include "catalogue/ChannelName.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Far more channels than anyone plays; a file that grew past it starts over.
constexpr qsizetype kMaxChannels = 5000;
} // namespace

void PlayedAddresses::Load() {
    if (loaded_)
        return;
    loaded_ = true;
    QByteArray bytes;
    if (!ReadWholeFile(path_, &bytes))
        return;
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString address = it.value().toString();
        if (!address.isEmpty())
            byChannel_.insert(it.key(), address);
    }
}

QString PlayedAddresses::For(const QString& channel) {
    Load();
    return byChannel_.value(channel);
}

void PlayedAddresses::Remember(const QString& channel, const QString& address) {
    Load();
    if (channel.isEmpty() || address.isEmpty() || byChannel_.value(channel) == address)
        return;
    if (byChannel_.size() >= kMaxChannels)
        byChannel_.clear();
    byChannel_.insert(channel, address);
    QJsonObject object;
    for (auto it = byChannel_.constBegin(); it != byChannel_.constEnd(); ++it)
        object.insert(it.key(), it.value());
    WriteFileAtomically(path_, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString PlayedAddresses::ChannelKey(int tab, const QString& name) {
    return QString::number(tab) + QLatin1Char('/') + ChannelName::MatchKey(name);
}
