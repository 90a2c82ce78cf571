#include "playback/ChannelHistory.h"

#include "app/AtomicFile.h"
#include "catalogue/ChannelName.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// Far more channels than anyone plays; a table that grew past it starts over.
constexpr qsizetype kMaxChannels = 5000;

const QString kPlayed = QStringLiteral("played");
const QString kFailed = QStringLiteral("failed");
} // namespace

ChannelHistory::ChannelHistory(QString path, QObject* parent)
    : QObject(parent), path_(std::move(path)),
      now_([] { return QDateTime::currentSecsSinceEpoch(); }) {}

void ChannelHistory::Load() {
    if (loaded_)
        return;
    loaded_ = true;
    QByteArray bytes;
    if (!ReadWholeFile(path_, &bytes))
        return;
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    // Files written before failures were kept hold the played addresses
    // alone, as the top level.
    const bool nested = object.value(kPlayed).isObject() || object.value(kFailed).isObject();
    const QJsonObject played = nested ? object.value(kPlayed).toObject() : object;
    for (auto it = played.constBegin(); it != played.constEnd(); ++it) {
        const QString address = it.value().toString();
        if (!address.isEmpty())
            played_.insert(it.key(), address);
    }
    const QJsonObject failed = object.value(kFailed).toObject();
    for (auto it = failed.constBegin(); it != failed.constEnd(); ++it) {
        const qint64 at = it.value().toInteger();
        if (at > 0)
            failed_.insert(it.key(), at);
    }
}

void ChannelHistory::Save() const {
    QJsonObject played;
    for (auto it = played_.constBegin(); it != played_.constEnd(); ++it)
        played.insert(it.key(), it.value());
    QJsonObject failed;
    for (auto it = failed_.constBegin(); it != failed_.constEnd(); ++it)
        failed.insert(it.key(), it.value());
    const QJsonObject object{{kPlayed, played}, {kFailed, failed}};
    WriteFileAtomically(path_, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString ChannelHistory::PlayedAddress(const QString& channel) {
    Load();
    return played_.value(channel);
}

void ChannelHistory::RememberPlayed(const QString& channel, const QString& address) {
    Load();
    if (channel.isEmpty() || address.isEmpty() || played_.value(channel) == address)
        return;
    if (played_.size() >= kMaxChannels)
        played_.clear();
    played_.insert(channel, address);
    Save();
}

qint64 ChannelHistory::FailedAt(const QString& channel) {
    Load();
    return failed_.value(channel);
}

bool ChannelHistory::HasFailures() {
    Load();
    return !failed_.isEmpty();
}

void ChannelHistory::RememberFailed(const QString& channel) {
    Load();
    if (channel.isEmpty())
        return;
    if (failed_.size() >= kMaxChannels)
        failed_.clear();
    failed_.insert(channel, now_());
    Save();
    emit failuresChanged();
}

void ChannelHistory::ForgetFailed(const QString& channel) {
    Load();
    if (failed_.remove(channel) == 0)
        return;
    Save();
    emit failuresChanged();
}

QString ChannelHistory::ChannelKey(int tab, const QString& name) {
    return QString::number(tab) + QLatin1Char('/') + ChannelName::MatchKey(name);
}
