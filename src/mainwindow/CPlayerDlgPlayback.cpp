// Playing and stopping, the volume and the player itself: the connection
// watch and the volume control do the work, PlaybackWiring shows it.

#include "mainwindow/CPlayerDlg.h"

#include "mainwindow/CMinsButton.h"
#include "mainwindow/PlaybackWiring.h"
#include "playback/CWMPPlayer4.h"

#include <QMessageBox>

void CPlayerDlg::CreatePlayerControl() {
    // The player is made when it is bound at start-up, so that a test can
    // put a player of its own in its place first (UsePlayer).
}

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

    connect(player_, &PlayerWidget::doubleClicked, this, &CPlayerDlg::ToggleFullScreen);
    // A broadcast that breaks off is seen at once, not at the next clock tick.
    connect(player_, &PlayerWidget::mediaEnded, this, [this] {
        playback_->Watch().OnPlayerEnded();
        playback_->SyncPlaying();
    });
    // Button 1006 (play) is connected with the other buttons.
    connect(Button(ControlId::Stop), &QAbstractButton::clicked, this, &CPlayerDlg::StopPlayback,
            Qt::UniqueConnection);
    connect(Button(ControlId::Mute), &QAbstractButton::clicked, this, &CPlayerDlg::ToggleMute,
            Qt::UniqueConnection);
}

void CPlayerDlg::ClosePlayer() {
    if (!playback_)
        return;
    // Nothing ticks any more and the player is closed; the level is kept.
    playback_->Watch().Shutdown();
    playback_->SyncPlaying();
    playback_->Volume().Save();
}

void CPlayerDlg::ApplyPlayerVolume(int) {
    // Start-up: "Sound" goes to the player as it is stored, and the level
    // bar shows it.
    if (playback_)
        playback_->Volume().StartUp();
}

void CPlayerDlg::PlaySelected() {
    if (!playback_)
        return;
    playback_->Watch().PlaySelected();
    playback_->SyncPlaying();
}

void CPlayerDlg::PlayRow(int row) {
    if (!playback_)
        return;
    playback_->Watch().PlayRow(row);
    playback_->SyncPlaying();
}

void CPlayerDlg::StopPlayback() {
    if (!playback_)
        return;
    playback_->Watch().StopPlayback();
    playback_->SyncPlaying();
}

void CPlayerDlg::MenuPlay() {
    if (!playback_)
        return;
    playback_->Watch().MenuPlay();
    playback_->SyncPlaying();
}

void CPlayerDlg::PlayUrl(const QString& address) {
    if (!playback_)
        return;
    playback_->Watch().PlayUrl(address);
    playback_->SyncPlaying();
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
        playback_->Volume().FromPointer(x - layout_.volumeArea.left);
}

bool CPlayerDlg::AskYesNo(const QString& caption, const QString& text) {
    if (questionHandler_)
        return questionHandler_(caption, text);
    return QMessageBox::question(this, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}
