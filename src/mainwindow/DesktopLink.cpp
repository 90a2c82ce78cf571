#include "mainwindow/DesktopLink.h"

#include "app/Endpoints.h"
#include "app/MprisService.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/M3uPlaylist.h"
#include "mainwindow/CPlayerDlg.h"
#include "userchannels/UserChannelCommands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSaveFile>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

namespace {

// The window as media controllers see it.
class WindowMprisHost : public MprisPlayerHost {
public:
    explicit WindowMprisHost(CPlayerDlg& window) : window_(window) {}

    NowPlaying CurrentNowPlaying() const override { return window_.Session().CurrentNowPlaying(); }
    int Volume() const override { return window_.Session().Volume(); }
    void StepVolume(bool up) override { up ? window_.VolumeUp() : window_.VolumeDown(); }
    void Play() override { window_.MenuPlay(); }
    void Stop() override { window_.StopPlayback(); }
    void PlayAddress(const QString& address) override { window_.PlayUrl(address); }
    void Raise() override { window_.ShowFromTray(); }
    void Quit() override { window_.OnExit(); }

private:
    CPlayerDlg& window_;
};

QString PlaylistFilter() {
    return QStringLiteral("재생목록 (*.m3u *.m3u8);;모든 파일 (*)");
}

} // namespace

DesktopLink::DesktopLink(CPlayerDlg& window)
    : QObject(&window), window_(window), host_(std::make_unique<WindowMprisHost>(window)) {}

DesktopLink::~DesktopLink() {
    if (importThread_) {
        importThread_->wait();
        delete importThread_;
    }
}

void DesktopLink::Start(bool mediaControls) {
    if (started_)
        return;
    started_ = true;
    PlayerSession& session = window_.Session();
    connect(&session, &PlayerSession::nowPlayingChanged, this, [this] { Update(); });
    connect(&session, &PlayerSession::volumeChanged, this, [this] { Update(); });
    if (mediaControls) {
        mpris_ = new MprisService(*host_, this);
        // After the window is up: joining the bus never delays the first paint.
        QTimer::singleShot(0, mpris_, [mpris = mpris_] { mpris->Register(); });
    }
    Update();
}

void DesktopLink::Update() {
    if (!started_)
        return;
    const NowPlaying now = window_.Session().CurrentNowPlaying();
    QSystemTrayIcon* tray = window_.TrayIcon();
    // A tray icon made anew starts with the plain tooltip.
    if (now != shown_ || tray != tray_) {
        shown_ = now;
        tray_ = tray;
        if (tray)
            tray->setToolTip(now.TrayToolTip());
    }
    if (mpris_)
        mpris_->Refresh();
}

void DesktopLink::Import(const QString& path) {
    if (importThread_)
        return;
    struct Result {
        int added = 0;
        std::vector<ChannelRecord> stored; // the whole file afterwards
    };
    auto result = std::make_shared<Result>();
    const QString folder = window_.DataFolder();
    const QString homePage = Endpoints::HomePageAddress();
    // Reading, decoding and storing ten thousand entries takes a while;
    // the window keeps answering meanwhile.
    importThread_ = QThread::create([result, folder, path, homePage] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const std::vector<ChannelRecord> records =
            M3uPlaylist::ToUserRecords(M3uPlaylist::Parse(file.readAll()), homePage);
        if (records.empty())
            return;
        const CUserChannelFile userFile(folder);
        if (!userFile.AppendAll(records))
            return;
        result->added = static_cast<int>(records.size());
        // Read back here too, so the window only has to show the rows.
        result->stored = userFile.Load();
    });
    connect(importThread_, &QThread::finished, this, [this, result] {
        importThread_->deleteLater();
        importThread_ = nullptr;
        if (result->added == 0)
            window_.ShowMessage(QStringLiteral("재생목록에서 채널을 가져오지 못했습니다."));
        else if (window_.Session().Category() == Category::User &&
                 window_.Session().ShownCategory() == Category::User) {
            // The user tab as opening it shows it: the newest on top.
            window_.ListModel()->Clear();
            window_.ListModel()->InsertEachAtTop(result->stored);
        }
        emit window_.playlistImported(result->added);
    });
    importThread_->start();
}

void DesktopLink::ImportChosen(const QString& givenPath) {
    const QString path =
        !givenPath.isEmpty()
            ? givenPath
            : QFileDialog::getOpenFileName(&window_, QStringLiteral("재생목록 가져오기"),
                                           QDir::homePath(), PlaylistFilter());
    if (!path.isEmpty())
        Import(path);
}

void DesktopLink::ExportChosen(const QString& givenPath) {
    const QString path =
        !givenPath.isEmpty()
            ? givenPath
            : QFileDialog::getSaveFileName(&window_, QStringLiteral("재생목록 내보내기"),
                                           QDir::home().filePath(QStringLiteral("waveorbit.m3u")),
                                           PlaylistFilter());
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(window_.UserChannels().ExportedPlaylist()) < 0 || !file.commit())
        window_.ShowMessage(QStringLiteral("재생목록을 저장하지 못했습니다."));
}
