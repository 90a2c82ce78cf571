// The user's own channels: the list menu's commands, run by
// UserChannelCommands; the window adds the dialog and the message.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelListModel.h"
#include "userchannels/CAddChannelDlg.h"
#include "userchannels/UserChannelCommands.h"

void CPlayerDlg::AddToMyChannels() {
    if (session_->Category() == Category::User) {
        CAddChannelDlg dialog(listModel_, dataFolder_, this);
        dialog.SetMessageHandler([this](const QString& text) { ShowMessage(text); });
        dialog.exec();
        // The new row went on top: the clicked row moved one place down.
        if (dialog.Confirmed() && session_->CurrentRow() >= 0)
            session_->SetCurrentRow(session_->CurrentRow() + 1);
        return;
    }
    ReportUserChannelWrite(userChannels_->CopyClickedRow());
}

void CPlayerDlg::DeleteSelectedUserChannel() {
    ReportUserChannelWrite(userChannels_->DeleteClickedRow());
}

void CPlayerDlg::DeleteAllUserChannels() {
    ReportUserChannelWrite(userChannels_->DeleteAll());
}

void CPlayerDlg::ReportUserChannelWrite(bool written) {
    if (!written)
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
}
