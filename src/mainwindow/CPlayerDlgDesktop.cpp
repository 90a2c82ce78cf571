// The window and the desktop around it: the tray icon's tooltip and media
// controllers follow what plays, and the user's channels go to and come
// from M3U playlists.

#include "mainwindow/CPlayerDlg.h"

#include "app/MprisService.h"
#include "mainwindow/DesktopLink.h"
#include "userchannels/UserChannelCommands.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QSaveFile>

namespace {

QString PlaylistFilter() {
    return QStringLiteral("재생목록 (*.m3u *.m3u8);;모든 파일 (*)");
}

} // namespace

void CPlayerDlg::StartDesktopIntegration(bool mediaControls) {
    // Window systems match the window to waveorbit.desktop (name, icon).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(MprisService::kDesktopEntry));
    if (!desktop_)
        desktop_ = new DesktopLink(*this);
    desktop_->Start(mediaControls);
}

NowPlaying CPlayerDlg::CurrentNowPlaying() const {
    return session_->CurrentNowPlaying();
}

void CPlayerDlg::ImportPlaylist(const QString& givenPath) {
    if (session_->Category() != Category::User || IsImportingPlaylist())
        return;
    QString path = givenPath;
    if (path.isEmpty()) {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("재생목록 가져오기"),
                                            QDir::homePath(), PlaylistFilter());
        if (path.isEmpty())
            return;
    }
    if (!desktop_)
        desktop_ = new DesktopLink(*this);
    desktop_->Import(path);
}

MprisService* CPlayerDlg::MediaControls() const {
    return desktop_ ? desktop_->Mpris() : nullptr;
}

bool CPlayerDlg::IsImportingPlaylist() const {
    return desktop_ && desktop_->Importing();
}

void CPlayerDlg::ExportPlaylist(const QString& givenPath) {
    if (session_->Category() != Category::User)
        return;
    QString path = givenPath;
    if (path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, QStringLiteral("재생목록 내보내기"),
                                            QDir::home().filePath(QStringLiteral("waveorbit.m3u")),
                                            PlaylistFilter());
        if (path.isEmpty())
            return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(userChannels_->ExportedPlaylist()) < 0 ||
        !file.commit())
        ShowMessage(QStringLiteral("재생목록을 저장하지 못했습니다."));
}
