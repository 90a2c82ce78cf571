// Playing and stopping: the connection watch and the player come in here.

#include "mainwindow/CPlayerDlg.h"

void CPlayerDlg::PlaySelected() {}

void CPlayerDlg::PlayRow(int) {}

void CPlayerDlg::StopPlayback() {}
