// The user's own channels: adding, copying and deleting rows of the user tab.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelListModel.h"
#include "userchannels/CAddChannelDlg.h"
#include "userchannels/CUserChannelFile.h"

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
    // A catalogue row is copied as the list shows it. Without a clicked row
    // there is nothing to copy, and nothing is said.
    if (!listModel_->IsRow(session_->CurrentRow()))
        return;
    const ChannelRecord record =
        CUserChannelFile::MakeStorable(listModel_->Row(session_->CurrentRow()));
    if (!CUserChannelFile(dataFolder_).Append(record))
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
}

void CPlayerDlg::DeleteSelectedUserChannel() {
    // Only the user tab's list is the user's file; any other list written
    // back would replace the user's channels with a catalogue.
    if (session_->Category() != Category::User || session_->ShownCategory() != Category::User)
        return;
    std::vector<ChannelRecord> rows = listModel_->Rows();
    const bool deleting = listModel_->IsRow(session_->CurrentRow());
    if (deleting)
        rows.erase(rows.begin() + session_->CurrentRow());
    // The list shows the file's last line on top: written back in file
    // order, the file keeps the order the channels were added in.
    for (ChannelRecord& row : rows)
        row = CUserChannelFile::MakeStorable(row);
    if (!CUserChannelFile(dataFolder_).Rewrite(CUserChannelFile::ListRowsToFileOrder(rows))) {
        // The row stays on screen, as it stays in the file.
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
        return;
    }
    if (deleting) {
        listModel_->RemoveRow(session_->CurrentRow());
        // The index would now name the next row, one the user never chose.
        session_->SetCurrentRow(-1);
    }
}

void CPlayerDlg::DeleteAllUserChannels() {
    if (session_->Category() != Category::User)
        return;
    if (!CUserChannelFile(dataFolder_).Remove()) {
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
        return;
    }
    if (session_->ShownCategory() == Category::User)
        listModel_->Clear();
    session_->SetCurrentRow(-1);
}
