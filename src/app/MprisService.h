#pragma once

#include "app/NowPlaying.h"

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// What media controllers act on: the main window in the program, a
// stand-in in tests.
class MprisPlayerHost {
public:
    virtual ~MprisPlayerHost() = default;
    virtual NowPlaying CurrentNowPlaying() const = 0;
    // The program's own volume, 0..100 (a stored value may lie outside).
    virtual int Volume() const = 0;
    // One step of the volume keys, with their caption line and level bar.
    virtual void StepVolume(bool up) = 0;
    virtual void Play() = 0; // the play command
    virtual void Stop() = 0;
    virtual void PlayAddress(const QString& address) = 0;
    virtual void Raise() = 0;
    virtual void Quit() = 0;
};

// The player on the session bus as a media player (MPRIS 2): the desktop's
// media keys, sound menus and tools such as playerctl see what plays and
// can play, stop and set the volume. A live broadcast has no pause, no
// position and no next or previous: pausing stops it.
class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.waveorbit";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kDesktopEntry = "waveorbit";

    explicit MprisService(MprisPlayerHost& host, QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the bus name and exports the interfaces when a session bus is
    // already running (never starts one); false, quietly, otherwise. A
    // second running copy takes "<name>.instance<pid>".
    bool Register();
    bool IsRegistered() const { return !serviceName_.isEmpty(); }
    const QString& ServiceName() const { return serviceName_; }

    // Looks at the host again and tells controllers what changed.
    void Refresh();

    // org.mpris.MediaPlayer2.Player, as the adaptor hands it on.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    double Volume() const;
    // 0..1 becomes 0..100 through volume steps, so the window shows it as
    // it shows a key press.
    void SetVolume(double volume);
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void OpenUri(const QString& uri);
    // org.mpris.MediaPlayer2.
    void Raise();
    void Quit();

signals:
    // Properties of the player interface that changed, with their values
    // (sent on the bus as PropertiesChanged).
    void playerPropertiesChanged(const QVariantMap& changed);

private:
    QVariantMap MetadataFor(const NowPlaying& now, quint64 track) const;

    MprisPlayerHost& host_;
    QString serviceName_;
    NowPlaying last_;
    quint64 track_ = 0;
    QString lastStatus_;
    QVariantMap lastMetadata_;
    double lastVolume_ = -1.0;
};

// org.mpris.MediaPlayer2 on the service's object.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool CanSetFullscreen READ CanSetFullscreen)
    Q_PROPERTY(bool Fullscreen READ Fullscreen)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisService* service);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool CanSetFullscreen() const { return false; }
    bool Fullscreen() const { return false; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("WAVEORBIT"); }
    QString DesktopEntry() const { return QString::fromLatin1(MprisService::kDesktopEntry); }
    QStringList SupportedUriSchemes() const;
    QStringList SupportedMimeTypes() const { return {}; }

public slots:
    void Raise() { service_->Raise(); }
    void Quit() { service_->Quit(); }

private:
    MprisService* service_;
};

// org.mpris.MediaPlayer2.Player on the service's object.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ No)
    Q_PROPERTY(bool CanGoPrevious READ No)
    Q_PROPERTY(bool CanPlay READ Yes)
    Q_PROPERTY(bool CanPause READ Yes)
    Q_PROPERTY(bool CanSeek READ No)
    Q_PROPERTY(bool CanControl READ Yes)
public:
    explicit MprisPlayerAdaptor(MprisService* service);

    QString PlaybackStatus() const { return service_->PlaybackStatus(); }
    double Rate() const { return 1.0; }
    void SetRate(double) {}
    QVariantMap Metadata() const { return service_->Metadata(); }
    double Volume() const { return service_->Volume(); }
    void SetVolume(double volume) { service_->SetVolume(volume); }
    qlonglong Position() const { return 0; }
    bool Yes() const { return true; }
    bool No() const { return false; }

public slots:
    void Next() {}
    void Previous() {}
    void Pause() { service_->Pause(); }
    void PlayPause() { service_->PlayPause(); }
    void Stop() { service_->Stop(); }
    void Play() { service_->Play(); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString& uri) { service_->OpenUri(uri); }

signals:
    void Seeked(qlonglong position);

private:
    MprisService* service_;
};
