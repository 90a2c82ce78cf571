// The user's own channels: adding, copying and deleting rows of the user tab.

#include "mainwindow/CPlayerDlg.h"

void CPlayerDlg::AddToMyChannels() {}

void CPlayerDlg::DeleteSelectedUserChannel() {}

void CPlayerDlg::DeleteAllUserChannels() {}
