// The notification-area icon.
#include "mainwindow/CPlayerDlg.h"

void CPlayerDlg::CreateTrayIcon() {}

void CPlayerDlg::RemoveTrayIcon() {}
