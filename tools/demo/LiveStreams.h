#pragma once

#include "demo/DemoStreams.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QNetworkAccessManager;
class QProcess;
class QTemporaryDir;
class QTimer;

namespace demo {

class LoopbackHttpServer;

struct LiveStreamOptions {
    quint16 audioPort = kAudioStreamPort;
    quint16 videoPort = kVideoStreamPort;
    bool audio = true;
    bool video = true;
    // How often the radio titles change.
    int titleIntervalMs = 5000;
};

// The demo's live broadcasts, on 127.0.0.1 only:
// - radio: an Icecast server fed by one ffmpeg with a test tone per mount
//   (mp3, /radio1.mp3 .. /radio<kAudioStreamCount>.mp3), whose stream titles
//   change every few seconds through Icecast's metadata update;
// - TV: one ffmpeg encoding a moving test picture with a running clock into
//   a live HLS playlist, served by a loopback HTTP server at /tv<k>/index.m3u8.
//
// Every process is a child of this object, lives in a temporary folder of its
// own, dies with this process (parent-death signal), and is stopped by Stop().
class LiveStreams : public QObject {
    Q_OBJECT
public:
    explicit LiveStreams(QObject* parent = nullptr);
    ~LiveStreams() override;

    // The programs that are missing from PATH ("icecast2", "ffmpeg"); empty
    // when everything is there.
    static QStringList MissingTools();

    // Starts what the options ask for and waits (a few seconds at most) until
    // each stream can be played. False, with a reason, when something did not
    // come up; whatever did start is stopped again.
    bool Start(const LiveStreamOptions& options, QString* error);
    void Stop();

    // The radio server alone goes away (as a crash would: killed, no goodbye)
    // and comes back on the same port, for tests of broken broadcasts.
    void KillAudioServer();
    bool RestartAudioServer(QString* error);
    bool AudioServerRunning() const;
    // The radio server, or the TV encoder, stops answering while its
    // connections stay open, as a hung server would (SIGSTOP), and goes on
    // again where it stood (SIGCONT). Stopped processes are continued by Stop().
    void PauseAudioServer(bool paused);
    void PauseVideoFeed(bool paused);

    QString AudioUrl(int n) const;
    QString VideoUrl(int n) const;
    // The title last sent for a mount (n from 1).
    QString CurrentTitle(int n) const;
    // Whether the running clock is drawn on the picture (needs a font file).
    bool ClockOverlay() const { return clockOverlay_; }

signals:
    void warning(const QString& text);

private:
    bool StartAudio(QString* error);
    void StopAudio();
    bool StartVideo(QString* error);
    void StopVideo();
    bool WriteIcecastConfig(QString* error);
    void SendTitles();
    QProcess* Launch(const QString& program, const QStringList& arguments, const QString& name);
    void Terminate(QProcess*& process);
    static void Signal(QProcess* process, int signal);

    LiveStreamOptions options_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString icecastConfig_;
    QString adminPassword_;
    QString sourcePassword_;
    QProcess* icecast_ = nullptr;
    QProcess* audioFeed_ = nullptr;
    QProcess* videoFeed_ = nullptr;
    LoopbackHttpServer* videoServer_ = nullptr;
    QNetworkAccessManager* network_ = nullptr;
    QTimer* titleTimer_ = nullptr;
    int titleRound_ = 0;
    QStringList titles_;
    bool clockOverlay_ = false;
};

} // namespace demo
