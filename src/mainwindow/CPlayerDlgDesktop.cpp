// The window and the desktop around it (DesktopLink): the tray icon's
// tooltip and media controllers follow what plays, and the user's channels
// go to and come from M3U playlists.

#include "mainwindow/CPlayerDlg.h"

#include "app/MprisService.h"
#include "mainwindow/DesktopLink.h"

#include <QGuiApplication>

void CPlayerDlg::StartDesktopIntegration(bool mediaControls) {
    // Window systems match the window to waveorbit.desktop (name, icon).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(MprisService::kDesktopEntry));
    desktop_->Start(mediaControls);
}

MprisService* CPlayerDlg::MediaControls() const {
    return desktop_->Mpris();
}

bool CPlayerDlg::IsImportingPlaylist() const {
    return desktop_->Importing();
}

void CPlayerDlg::ImportPlaylist(const QString& path) {
    if (session_->Category() == Category::User && !IsImportingPlaylist())
        desktop_->ImportChosen(path);
}

void CPlayerDlg::ExportPlaylist(const QString& path) {
    if (session_->Category() == Category::User)
        desktop_->ExportChosen(path);
}
