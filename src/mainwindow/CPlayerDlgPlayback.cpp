// Playing and stopping: the connection watch and the player come in here.

#include "mainwindow/CPlayerDlg.h"

void CPlayerDlg::PlaySelected() {}

void CPlayerDlg::PlayRow(int) {}

void CPlayerDlg::StopPlayback() {}

void CPlayerDlg::MenuPlay() {}

void CPlayerDlg::PlayUrl(const QString&) {}

void CPlayerDlg::VolumeUp() {}

void CPlayerDlg::VolumeDown() {}

void CPlayerDlg::ToggleMute() {}

void CPlayerDlg::OnWheelDelta(int) {}

void CPlayerDlg::OnVolumePointer(int) {}
