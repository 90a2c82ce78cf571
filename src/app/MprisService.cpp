#include "app/MprisService.h"

#include "app/SessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

const char* const kPlayerInterface = "org.mpris.MediaPlayer2.Player";
const char* const kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// Stream addresses the player takes from a controller's OpenUri.
const QStringList& UriSchemes() {
    static const QStringList schemes = {
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mms"),
        QStringLiteral("mmsh"), QStringLiteral("rtsp"),  QStringLiteral("rtmp"),
    };
    return schemes;
}

} // namespace

MprisService::MprisService(MprisPlayerHost& host, QObject* parent) : QObject(parent), host_(host) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    last_ = host_.CurrentNowPlaying();
    lastStatus_ = PlaybackStatus();
    lastMetadata_ = Metadata();
    lastVolume_ = Volume();
}

MprisService::~MprisService() {
    if (!IsRegistered())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(serviceName_);
    bus.unregisterObject(QString::fromLatin1(kObjectPath));
}

bool MprisService::Register() {
    if (IsRegistered())
        return true;
    if (!SessionBus::Expected())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), this,
                            QDBusConnection::ExportAdaptors))
        return false;
    QString name = QString::fromLatin1(kServiceName);
    if (!bus.registerService(name)) {
        name += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(name)) {
            bus.unregisterObject(QString::fromLatin1(kObjectPath));
            return false;
        }
    }
    serviceName_ = name;
    return true;
}

QString MprisService::PlaybackStatus() const {
    return host_.CurrentNowPlaying().state == NowPlaying::State::Playing
               ? QStringLiteral("Playing")
               : QStringLiteral("Stopped");
}

QVariantMap MprisService::MetadataFor(const NowPlaying& now, quint64 track) const {
    QVariantMap map;
    if (now.state == NowPlaying::State::Stopped || now.channel.isEmpty()) {
        map.insert(QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kNoTrack))));
        return map;
    }
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(
                   QDBusObjectPath(QStringLiteral("/io/github/waveorbit/channel/%1").arg(track))));
    if (now.streamTitle.isEmpty() && !now.programme.isEmpty()) {
        // A TV channel with a guide: the programme is the track, the channel
        // its artist.
        map.insert(QStringLiteral("xesam:title"), now.programme);
        map.insert(QStringLiteral("xesam:artist"), QStringList{now.channel});
        return map;
    }
    map.insert(QStringLiteral("xesam:title"), now.channel);
    // A radio's title is the song and its artist as the station words it;
    // controllers show it on the line under the channel.
    if (!now.streamTitle.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{now.streamTitle});
    return map;
}

QVariantMap MprisService::Metadata() const {
    return MetadataFor(host_.CurrentNowPlaying(), track_);
}

double MprisService::Volume() const {
    return std::clamp(host_.Volume(), 0, 100) / 100.0;
}

void MprisService::SetVolume(double volume) {
    if (std::isnan(volume))
        return;
    const int target = static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
    // The keys step by five: stop at the step nearest the wish. Every step
    // changes the volume, so the loops end (at the latest at 0 or 100).
    for (int guard = 0; guard < 64; ++guard) {
        const int now = host_.Volume();
        if (target > now + 2 && now < 100)
            host_.StepVolume(true);
        else if (target < now - 2 && now > 0)
            host_.StepVolume(false);
        else
            break;
    }
    Refresh();
}

void MprisService::Play() {
    // Queued: the play command may open a message box, and a controller's
    // call should have its answer at once.
    QTimer::singleShot(0, this, [this] {
        host_.Play();
        Refresh();
    });
}

void MprisService::Pause() {
    if (host_.CurrentNowPlaying().state != NowPlaying::State::Stopped)
        Stop();
}

void MprisService::PlayPause() {
    if (host_.CurrentNowPlaying().state == NowPlaying::State::Stopped)
        Play();
    else
        Stop();
}

void MprisService::Stop() {
    QTimer::singleShot(0, this, [this] {
        host_.Stop();
        Refresh();
    });
}

void MprisService::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isValid() || !UriSchemes().contains(url.scheme().toLower()))
        return;
    QTimer::singleShot(0, this, [this, uri] {
        host_.PlayAddress(uri);
        Refresh();
    });
}

void MprisService::Raise() {
    QTimer::singleShot(0, this, [this] { host_.Raise(); });
}

void MprisService::Quit() {
    QTimer::singleShot(0, this, [this] { host_.Quit(); });
}

void MprisService::Refresh() {
    const NowPlaying now = host_.CurrentNowPlaying();
    if (now.channel != last_.channel ||
        (last_.state == NowPlaying::State::Stopped && now.state != NowPlaying::State::Stopped))
        ++track_; // a new channel is a new track for controllers
    last_ = now;

    QVariantMap changed;
    const QString status = PlaybackStatus();
    if (status != lastStatus_) {
        lastStatus_ = status;
        changed.insert(QStringLiteral("PlaybackStatus"), status);
    }
    const QVariantMap metadata = MetadataFor(now, track_);
    if (metadata != lastMetadata_) {
        lastMetadata_ = metadata;
        changed.insert(QStringLiteral("Metadata"), metadata);
    }
    const double volume = Volume();
    if (volume != lastVolume_) {
        lastVolume_ = volume;
        changed.insert(QStringLiteral("Volume"), volume);
    }
    if (changed.isEmpty())
        return;
    emit playerPropertiesChanged(changed);
    if (!IsRegistered())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QStringList MprisRootAdaptor::SupportedUriSchemes() const {
    return UriSchemes();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {
    // Properties change through PropertiesChanged, sent by the service.
    setAutoRelaySignals(false);
}
