// The command table: every command id of the menus, the list's menu and the tray.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ListMenu.h"

void CPlayerDlg::OnCommand(int commandId) {
    switch (commandId) {
    case ListCommand::Play:
        MenuPlay();
        break;
    case ListCommand::Stop:
        StopPlayback();
        break;
    case ListCommand::AddToMyChannels:
        AddToMyChannels();
        break;
    case ListCommand::DeleteSelected:
        DeleteSelectedUserChannel();
        break;
    case ListCommand::DeleteAll:
        DeleteAllUserChannels();
        break;
    case 32778: // update
        RunUpdateCommand();
        break;
    case ListCommand::Exit:
        OnExit();
        break;
    default:
        break;
    }
}

void CPlayerDlg::HideWindow() {
    showMinimized();
}
