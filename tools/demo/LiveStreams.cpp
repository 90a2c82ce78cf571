#include "demo/LiveStreams.h"

#include "demo/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrlQuery>

#include <csignal>
#include <functional>
#include <sys/prctl.h>
#include <unistd.h>

namespace demo {

namespace {

constexpr int kStartTimeoutMs = 8000;
// One tone per radio mount, so the channels can be told apart by ear.
constexpr int kToneHz[kAudioStreamCount] = {440, 660, 880};
const char* const kClockFont = "/usr/share/fonts/truetype/nanum/NanumGothicBold.ttf";

bool WaitFor(const std::function<bool()>& ready, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (ready())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(30);
    }
    return ready();
}

bool PortAnswers(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

// True when the mount answers 200: its source is connected and it plays.
bool MountIsLive(quint16 port, const QString& path) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(200))
        return false;
    socket.write("GET " + path.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray head;
    QElapsedTimer clock;
    clock.start();
    while (!head.contains('\n') && clock.elapsed() < 1000) {
        if (!socket.waitForReadyRead(200) && socket.state() != QAbstractSocket::ConnectedState)
            break;
        head += socket.readAll();
    }
    socket.abort();
    const QByteArray statusLine = head.left(head.indexOf('\n'));
    return statusLine.contains(" 200 ");
}

QString RandomSecret() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// A filter-graph value in single quotes: only the quote itself needs care.
QString FilterQuoted(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

LiveStreams::LiveStreams(QObject* parent) : QObject(parent) {}

LiveStreams::~LiveStreams() {
    Stop();
}

QStringList LiveStreams::MissingTools() {
    QStringList missing;
    for (const char* tool : {"icecast2", "ffmpeg"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    return missing;
}

bool LiveStreams::Start(const LiveStreamOptions& options, QString* error) {
    Stop();
    options_ = options;
    const QStringList missing = MissingTools();
    if (!missing.isEmpty()) {
        *error = QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "));
        return false;
    }
    folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                              QStringLiteral("/waveorbit-streams-XXXXXX"));
    if (!folder_->isValid()) {
        *error = QStringLiteral("cannot make a temporary folder");
        folder_.reset();
        return false;
    }
    // Icecast drops root for "nobody", who must still reach its log folder.
    QFile::setPermissions(folder_->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                               QFileDevice::ExeOther);
    if ((options_.audio && !StartAudio(error)) || (options_.video && !StartVideo(error))) {
        Stop();
        return false;
    }
    return true;
}

void LiveStreams::Stop() {
    StopAudio();
    StopVideo();
    folder_.reset();
}

QProcess* LiveStreams::Launch(const QString& program, const QStringList& arguments,
                              const QString& name) {
    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setWorkingDirectory(folder_->path());
    // The streams end with this process, however it ends.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(process, &QProcess::readyReadStandardOutput, process, [process] {
        // Kept short: only the last words matter when it fails.
        const QByteArray out = process->readAllStandardOutput();
        process->setProperty("tail", (process->property("tail").toByteArray() + out).right(600));
    });
    connect(process, &QProcess::finished, this, [this, process, name](int code) {
        if (process->property("stopping").toBool())
            return;
        emit warning(name + QStringLiteral(" ended (status ") + QString::number(code) +
                     QStringLiteral("): ") +
                     QString::fromUtf8(process->property("tail").toByteArray()).trimmed());
    });
    process->start();
    return process;
}

void LiveStreams::Terminate(QProcess*& process) {
    if (!process)
        return;
    process->setProperty("stopping", true);
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        Signal(process, SIGCONT); // a paused process acts on the request only once it runs
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    delete process;
    process = nullptr;
}

bool LiveStreams::WriteIcecastConfig(QString* error) {
    const QString base = folder_->path() + QStringLiteral("/icecast");
    const QString logs = base + QStringLiteral("/log");
    QDir().mkpath(logs);
    const bool root = ::geteuid() == 0;
    if (root) // icecast writes its logs after it has become "nobody"
        QFile::setPermissions(logs, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                        QFileDevice::WriteOther | QFileDevice::ExeOther);
    QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                    QFileDevice::ExeOther);
    sourcePassword_ = RandomSecret();
    adminPassword_ = RandomSecret();
    QString xml;
    xml += QStringLiteral("<icecast>\n"
                          "  <location>127.0.0.1</location>\n"
                          "  <admin>demo@127.0.0.1</admin>\n"
                          "  <limits><clients>100</clients><sources>%1</sources>"
                          "<queue-size>524288</queue-size><client-timeout>30</client-timeout>"
                          "<header-timeout>15</header-timeout><source-timeout>10</source-timeout>"
                          "<burst-on-connect>1</burst-on-connect><burst-size>65535</burst-size>"
                          "</limits>\n")
               .arg(kAudioStreamCount + 2);
    xml += QStringLiteral("  <authentication><source-password>%1</source-password>"
                          "<admin-user>admin</admin-user><admin-password>%2</admin-password>"
                          "</authentication>\n")
               .arg(sourcePassword_, adminPassword_);
    xml += QStringLiteral("  <hostname>127.0.0.1</hostname>\n"
                          "  <listen-socket><port>%1</port><bind-address>127.0.0.1</bind-address>"
                          "</listen-socket>\n"
                          "  <fileserve>0</fileserve>\n")
               .arg(options_.audioPort);
    xml += QStringLiteral("  <paths><basedir>%1</basedir><logdir>%2</logdir>"
                          "<webroot>/usr/share/icecast2/web</webroot>"
                          "<adminroot>/usr/share/icecast2/admin</adminroot></paths>\n"
                          "  <logging><accesslog>access.log</accesslog><errorlog>error.log"
                          "</errorlog><loglevel>2</loglevel></logging>\n")
               .arg(base.toHtmlEscaped(), logs.toHtmlEscaped());
    // Titles are sent as UTF-8 and must reach the listeners as UTF-8: with
    // the default (Latin-1) Icecast turns Korean into HTML character entities.
    for (int n = 1; n <= kAudioStreamCount; ++n)
        xml += QStringLiteral("  <mount><mount-name>%1</mount-name><charset>UTF-8</charset>"
                              "</mount>\n")
                   .arg(AudioStreamPath(n));
    // Icecast refuses to run as root: it gives its rights up at start.
    xml += QStringLiteral("  <security><chroot>0</chroot>");
    if (root)
        xml += QStringLiteral("<changeowner><user>nobody</user><group>nogroup</group>"
                              "</changeowner>");
    xml += QStringLiteral("</security>\n</icecast>\n");

    icecastConfig_ = base + QStringLiteral("/icecast.xml");
    QFile file(icecastConfig_);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml.toUtf8()) < 0) {
        *error = QStringLiteral("cannot write ") + icecastConfig_;
        return false;
    }
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    return true;
}

bool LiveStreams::StartAudio(QString* error) {
    if (!folder_) {
        *error = QStringLiteral("the streams are not started");
        return false;
    }
    if (PortAnswers(options_.audioPort)) {
        *error = QStringLiteral("something already answers on 127.0.0.1:") +
                 QString::number(options_.audioPort);
        return false;
    }
    if (!WriteIcecastConfig(error))
        return false;
    icecast_ = Launch(QStringLiteral("icecast2"), {QStringLiteral("-c"), icecastConfig_},
                      QStringLiteral("icecast2"));
    if (!WaitFor([this] { return PortAnswers(options_.audioPort); }, kStartTimeoutMs)) {
        *error = QStringLiteral("icecast2 did not start: ") +
                 QString::fromUtf8(icecast_->property("tail").toByteArray()).trimmed();
        StopAudio();
        return false;
    }

    // One encoder for every mount: a test tone each, in mp3, in real time.
    QStringList args = {QStringLiteral("-nostdin"), QStringLiteral("-hide_banner"),
                        QStringLiteral("-loglevel"), QStringLiteral("error")};
    for (int n = 1; n <= kAudioStreamCount; ++n)
        args << QStringLiteral("-re") << QStringLiteral("-f") << QStringLiteral("lavfi")
             << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=%1:sample_rate=44100").arg(kToneHz[n - 1]);
    for (int n = 1; n <= kAudioStreamCount; ++n)
        args << QStringLiteral("-map") << QStringLiteral("%1:a").arg(n - 1)
             << QStringLiteral("-c:a") << QStringLiteral("libmp3lame") << QStringLiteral("-b:a")
             << QStringLiteral("64k") << QStringLiteral("-content_type")
             << QStringLiteral("audio/mpeg") << QStringLiteral("-ice_name")
             << QStringLiteral("WAVEORBIT demo radio %1").arg(n) << QStringLiteral("-f")
             << QStringLiteral("mp3")
             << QStringLiteral("icecast://source:%1@127.0.0.1:%2%3")
                    .arg(sourcePassword_)
                    .arg(options_.audioPort)
                    .arg(AudioStreamPath(n));
    const auto mountsLive = [this] {
        for (int n = 1; n <= kAudioStreamCount; ++n)
            if (!MountIsLive(options_.audioPort, AudioStreamPath(n)))
                return false;
        return true;
    };
    // On a loaded machine the encoder now and then reaches the server before
    // it takes sources and gives up; a second encoder is what brings the
    // mounts up then, and a real fault fails both.
    bool live = false;
    for (int attempt = 0; attempt < 2 && !live; ++attempt) {
        Terminate(audioFeed_);
        audioFeed_ = Launch(QStringLiteral("ffmpeg"), args, QStringLiteral("ffmpeg (radio)"));
        live = WaitFor(mountsLive, kStartTimeoutMs);
    }
    if (!live) {
        *error = QStringLiteral("the radio mounts did not come up: ") +
                 QString::fromUtf8(audioFeed_->property("tail").toByteArray()).trimmed();
        StopAudio();
        return false;
    }

    if (!network_)
        network_ = new QNetworkAccessManager(this);
    if (!titleTimer_) {
        titleTimer_ = new QTimer(this);
        connect(titleTimer_, &QTimer::timeout, this, &LiveStreams::SendTitles);
    }
    titleTimer_->start(options_.titleIntervalMs);
    SendTitles();
    return true;
}

void LiveStreams::StopAudio() {
    if (titleTimer_)
        titleTimer_->stop();
    Terminate(audioFeed_);
    Terminate(icecast_);
}

void LiveStreams::KillAudioServer() {
    if (titleTimer_)
        titleTimer_->stop();
    for (QProcess* process : {icecast_, audioFeed_}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->setProperty("stopping", true);
            process->kill();
            process->waitForFinished(3000);
        }
    }
    delete audioFeed_;
    audioFeed_ = nullptr;
    delete icecast_;
    icecast_ = nullptr;
}

bool LiveStreams::RestartAudioServer(QString* error) {
    KillAudioServer();
    return StartAudio(error);
}

void LiveStreams::Signal(QProcess* process, int signal) {
    if (process && process->state() == QProcess::Running && process->processId() > 0)
        ::kill(static_cast<pid_t>(process->processId()), signal);
}

void LiveStreams::PauseAudioServer(bool paused) {
    Signal(icecast_, paused ? SIGSTOP : SIGCONT);
}

void LiveStreams::PauseVideoFeed(bool paused) {
    Signal(videoFeed_, paused ? SIGSTOP : SIGCONT);
}

bool LiveStreams::AudioServerRunning() const {
    return icecast_ && icecast_->state() == QProcess::Running;
}

void LiveStreams::SendTitles() {
    if (!AudioServerRunning() || !network_)
        return;
    ++titleRound_;
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"));
    titles_.clear();
    for (int n = 1; n <= kAudioStreamCount; ++n) {
        // Korean in the title: players must show it as the broadcaster wrote it.
        const QString title = QStringLiteral("데모 라디오 %1 - 시험음 %2 Hz #%3 (%4)")
                                  .arg(n)
                                  .arg(kToneHz[n - 1])
                                  .arg(titleRound_)
                                  .arg(time);
        titles_.append(title);
        QUrl url(QStringLiteral("http://127.0.0.1:%1/admin/metadata").arg(options_.audioPort));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("mount"), AudioStreamPath(n));
        query.addQueryItem(QStringLiteral("mode"), QStringLiteral("updinfo"));
        query.addQueryItem(QStringLiteral("charset"), QStringLiteral("UTF-8"));
        query.addQueryItem(QStringLiteral("song"), title);
        url.setQuery(query.query(QUrl::FullyEncoded), QUrl::StrictMode);
        QNetworkRequest request(url);
        request.setRawHeader("Authorization",
                             "Basic " +
                                 (QStringLiteral("admin:") + adminPassword_).toUtf8().toBase64());
        QNetworkReply* reply = network_->get(request);
        connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    }
}

QString LiveStreams::CurrentTitle(int n) const {
    return n >= 1 && n <= titles_.size() ? titles_.at(n - 1) : QString();
}

bool LiveStreams::StartVideo(QString* error) {
    const QString hls = folder_->path() + QStringLiteral("/hls");
    QDir().mkpath(hls);
    QStringList args = {QStringLiteral("-nostdin"),
                        QStringLiteral("-hide_banner"),
                        QStringLiteral("-loglevel"),
                        QStringLiteral("error"),
                        QStringLiteral("-re"),
                        QStringLiteral("-f"),
                        QStringLiteral("lavfi"),
                        QStringLiteral("-i"),
                        QStringLiteral("testsrc2=size=320x240:rate=15")};
    // A running clock over the picture, where the font is installed.
    clockOverlay_ = QFileInfo::exists(QString::fromLatin1(kClockFont));
    if (clockOverlay_)
        args << QStringLiteral("-vf")
             << QStringLiteral("drawtext=fontfile=%1:text=%2:x=8:y=8:fontsize=18:"
                               "fontcolor=white:box=1:boxcolor=black@0.6")
                    .arg(QString::fromLatin1(kClockFont),
                         FilterQuoted(QStringLiteral("%{localtime} %{pts\\:hms}")));
    args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
         << QStringLiteral("ultrafast") << QStringLiteral("-tune") << QStringLiteral("zerolatency")
         << QStringLiteral("-g") << QStringLiteral("15") << QStringLiteral("-pix_fmt")
         << QStringLiteral("yuv420p") << QStringLiteral("-f") << QStringLiteral("hls")
         << QStringLiteral("-hls_time") << QStringLiteral("1") << QStringLiteral("-hls_list_size")
         << QStringLiteral("6") << QStringLiteral("-hls_flags")
         << QStringLiteral("delete_segments+omit_endlist+temp_file")
         << QStringLiteral("-hls_segment_filename") << hls + QStringLiteral("/seg%05d.ts")
         << hls + QStringLiteral("/index.m3u8");
    videoFeed_ = Launch(QStringLiteral("ffmpeg"), args, QStringLiteral("ffmpeg (TV)"));

    videoServer_ = new LoopbackHttpServer(this);
    if (!videoServer_->Listen(options_.videoPort)) {
        *error =
            QStringLiteral("cannot listen on 127.0.0.1:") + QString::number(options_.videoPort);
        StopVideo();
        return false;
    }
    // Every TV channel shows the same picture.
    for (int n = 1; n <= kVideoStreamCount; ++n)
        videoServer_->ServeFolder(QStringLiteral("/tv%1/").arg(n), hls);

    const QString playlist = hls + QStringLiteral("/index.m3u8");
    const bool live = WaitFor(
        [&playlist] {
            QFile file(playlist);
            return file.open(QIODevice::ReadOnly) && file.readAll().count("#EXTINF") >= 2;
        },
        kStartTimeoutMs);
    if (!live) {
        *error = QStringLiteral("the TV stream did not come up: ") +
                 QString::fromUtf8(videoFeed_->property("tail").toByteArray()).trimmed();
        StopVideo();
        return false;
    }
    return true;
}

void LiveStreams::StopVideo() {
    Terminate(videoFeed_);
    if (videoServer_) {
        videoServer_->Close();
        delete videoServer_;
        videoServer_ = nullptr;
    }
}

QString LiveStreams::AudioUrl(int n) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(options_.audioPort) + AudioStreamPath(n);
}

QString LiveStreams::VideoUrl(int n) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(options_.videoPort) + VideoStreamPath(n);
}

} // namespace demo
