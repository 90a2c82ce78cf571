#include "mainwindow/DesktopLink.h"

#include "app/Endpoints.h"
#include "app/MprisService.h"
#include "app/PlayerSession.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/M3uPlaylist.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/WindowTray.h"
#include "userchannels/UserChannelCommands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>

namespace {

// The player as media controllers see it.
class WindowMprisHost : public MprisPlayerHost {
public:
    WindowMprisHost(const PlayerSession& session, DesktopLink::Commands commands)
        : session_(session), commands_(std::move(commands)) {}
    NowPlaying CurrentNowPlaying() const override { return session_.CurrentNowPlaying(); }
    int Volume() const override { return session_.Volume(); }
    void StepVolume(bool up) override { up ? commands_.volumeUp() : commands_.volumeDown(); }
    void Play() override { commands_.play(); }
    void Stop() override { commands_.stop(); }
    void PlayAddress(const QString& address) override { commands_.playAddress(address); }
    void Raise() override { commands_.raise(); }
    void Quit() override { commands_.quit(); }

private:
    const PlayerSession& session_;
    DesktopLink::Commands commands_;
};

QString PlaylistFilter() {
    return QStringLiteral("재생목록 (*.m3u *.m3u8);;모든 파일 (*)");
}

} // namespace

DesktopLink::DesktopLink(QWidget& window, PlayerSession& session, ChannelListModel& list,
                         const UserChannelCommands& userChannels, const WindowTray& tray,
                         Prompter& prompter, std::function<QString()> dataFolder, Commands commands)
    : QObject(&window), window_(window), session_(session), list_(list),
      userChannels_(userChannels), windowTray_(tray), prompter_(prompter),
      dataFolder_(std::move(dataFolder)),
      host_(std::make_unique<WindowMprisHost>(session, std::move(commands))) {}

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
    // Window systems match the window to waveorbit.desktop (name, icon).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(MprisService::kDesktopEntry));
    connect(&session_, &PlayerSession::nowPlayingChanged, this, [this] { Update(); });
    connect(&session_, &PlayerSession::volumeChanged, this, [this] { Update(); });
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
    const NowPlaying now = session_.CurrentNowPlaying();
    QSystemTrayIcon* tray = windowTray_.Icon();
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
    const QString folder = dataFolder_();
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
            prompter_.ShowMessage(QStringLiteral("재생목록에서 채널을 가져오지 못했습니다."));
        else if (session_.Category() == Category::User &&
                 session_.ShownCategory() == Category::User) {
            // The user tab as opening it shows it: the newest on top.
            list_.Clear();
            list_.InsertEachAtTop(result->stored);
        }
        emit playlistImported(result->added);
    });
    importThread_->start();
}

void DesktopLink::ImportPlaylist(const QString& givenPath) {
    if (session_.Category() != Category::User || Importing())
        return;
    const QString path =
        !givenPath.isEmpty()
            ? givenPath
            : QFileDialog::getOpenFileName(&window_, QStringLiteral("재생목록 가져오기"),
                                           QDir::homePath(), PlaylistFilter());
    if (!path.isEmpty())
        Import(path);
}

void DesktopLink::ExportPlaylist(const QString& givenPath) {
    if (session_.Category() != Category::User)
        return;
    const QString path =
        !givenPath.isEmpty()
            ? givenPath
            : QFileDialog::getSaveFileName(&window_, QStringLiteral("재생목록 내보내기"),
                                           QDir::home().filePath(QStringLiteral("waveorbit.m3u")),
                                           PlaylistFilter());
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(userChannels_.ExportedPlaylist()) < 0 ||
        !file.commit())
        prompter_.ShowMessage(QStringLiteral("재생목록을 저장하지 못했습니다."));
}
