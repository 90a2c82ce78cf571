// Playing and stopping, the volume and the player itself: the connection
// watch and the volume control do the work, PlaybackWiring shows it.

#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/PlaybackWiring.h"
#include "playback/CWMPPlayer4.h"
#include "skin/CMinsButton.h"

#include <QMessageBox>

void CPlayerDlg::UsePlayer(PlayerWidget* player) {
    if (playback_ || !player)
        return; // bound already: the watch keeps the player it has
    delete player_;
    player_ = player;
    player_->setParent(this);
}

void CPlayerDlg::BindPlayer() {
    if (playback_)
        return;
    if (!player_)
        player_ = new CWMPPlayer4(this);
    player_->setObjectName(QStringLiteral("player"));
    player_->setAccessibleName(QStringLiteral("영상"));
    // Hidden until something with a picture plays.
    player_->hide();
    playback_ = new PlaybackWiring(*this, *player_);
    playback_->FollowPlayerWidget(*player_);
}

void CPlayerDlg::ClosePlayer() {
    if (!playback_)
        return;
    // Nothing ticks any more and the player is closed; the level is kept.
    playback_->Watch().Shutdown();
    playback_->Volume().Save();
}

void CPlayerDlg::ApplyPlayerVolume() {
    // Start-up: "Sound" goes to the player as it is stored, and the level
    // bar shows it.
    if (playback_)
        playback_->Volume().StartUp();
}

void CPlayerDlg::PlaySelected() {
    if (playback_)
        playback_->Watch().PlaySelected();
}

void CPlayerDlg::PlayRow(int row) {
    if (playback_)
        playback_->Watch().PlayRow(row);
}

void CPlayerDlg::StopPlayback() {
    if (playback_)
        playback_->Watch().StopPlayback();
}

void CPlayerDlg::MenuPlay() {
    if (playback_)
        playback_->Watch().MenuPlay();
}

void CPlayerDlg::PlayUrl(const QString& address) {
    if (!playback_)
        return;
    playback_->Watch().PlayAddress(address);
}

void CPlayerDlg::VolumeUp() {
    if (playback_)
        playback_->Volume().Up();
}

void CPlayerDlg::VolumeDown() {
    if (playback_)
        playback_->Volume().Down();
}

void CPlayerDlg::ToggleMute() {
    if (playback_)
        playback_->Volume().ToggleMute();
}

void CPlayerDlg::OnWheelDelta(int delta) {
    if (!playback_)
        return;
    // One notch exactly; two notches in one step (240) or a fine-grained
    // touchpad delta change nothing.
    if (delta == 120)
        playback_->Volume().WheelUp();
    else if (delta == -120)
        playback_->Volume().WheelDown();
}

void CPlayerDlg::OnVolumePointer(int x) {
    if (playback_)
        playback_->Volume().FromPointer(x - CurrentLayout().volumeArea.left);
}

bool CPlayerDlg::AskYesNo(const QString& caption, const QString& text) {
    if (questionHandler_)
        return questionHandler_(caption, text);
    // Enter answers Yes, as the desktop's Yes/No questions do.
    return QMessageBox::question(this, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}
