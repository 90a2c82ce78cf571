// The user's own channels: adding, copying and deleting rows of the user tab.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelListModel.h"
#include "userchannels/CAddChannelDlg.h"
#include "userchannels/CUserChannelFile.h"

void CPlayerDlg::AddToMyChannels() {
    if (category_ == Category::User) {
        CAddChannelDlg dialog(listModel_, programFolder_, this);
        dialog.SetMessageHandler([this](const QString& text) { ShowMessage(text); });
        dialog.exec();
        // The new row went on top: the clicked row moved one place down.
        if (dialog.Confirmed() && currentRow_ >= 0)
            ++currentRow_;
        return;
    }
    // A catalogue row is copied as the list shows it. Without a clicked row
    // there is nothing to copy, and nothing is said.
    if (!listModel_->IsRow(currentRow_))
        return;
    const ChannelRecord record = CUserChannelFile::MakeStorable(listModel_->Row(currentRow_));
    if (!CUserChannelFile(programFolder_).Append(record))
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
}

void CPlayerDlg::DeleteSelectedUserChannel() {
    // Only the user tab's list is the user's file; any other list written
    // back would replace the user's channels with a catalogue.
    if (category_ != Category::User || shownCategory_ != Category::User)
        return;
    std::vector<ChannelRecord> rows = listModel_->Rows();
    const bool deleting = listModel_->IsRow(currentRow_);
    if (deleting)
        rows.erase(rows.begin() + currentRow_);
    // The list shows the file's last line on top: written back in file
    // order, the file keeps the order the channels were added in.
    for (ChannelRecord& row : rows)
        row = CUserChannelFile::MakeStorable(row);
    if (!CUserChannelFile(programFolder_).Rewrite(CUserChannelFile::ListRowsToFileOrder(rows))) {
        // The row stays on screen, as it stays in the file.
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
        return;
    }
    if (deleting) {
        listModel_->RemoveRow(currentRow_);
        // The index would now name the next row, one the user never chose.
        currentRow_ = -1;
    }
}

void CPlayerDlg::DeleteAllUserChannels() {
    if (category_ != Category::User)
        return;
    if (!CUserChannelFile(programFolder_).Remove()) {
        ShowMessage(CAddChannelDlg::WriteFailedMessage());
        return;
    }
    if (shownCategory_ == Category::User)
        listModel_->Clear();
    currentRow_ = -1;
}
