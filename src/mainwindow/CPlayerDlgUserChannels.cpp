// The user's own channels: the list menu's commands, run by
// UserChannelCommands; the window adds the dialog and the message.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelListModel.h"
#include "userchannels/CAddChannelDlg.h"
#include "userchannels/UserChannelCommands.h"

namespace {

// What the user is told after a command on the user's channels; empty
// when it did what was asked.
QString MessageFor(UserChannelCommands::Outcome outcome) {
    switch (outcome) {
    case UserChannelCommands::Outcome::Done:
        break;
    case UserChannelCommands::Outcome::NoRow:
        return QStringLiteral("목록에서 채널을 먼저 선택해주세요.");
    case UserChannelCommands::Outcome::WriteFailed:
        return CAddChannelDlg::WriteFailedMessage();
    }
    return QString();
}

void Report(CPlayerDlg& window, UserChannelCommands::Outcome outcome) {
    const QString message = MessageFor(outcome);
    if (!message.isEmpty())
        window.ShowMessage(message);
}

} // namespace

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
    Report(*this, userChannels_->CopyClickedRow());
}

void CPlayerDlg::DeleteSelectedUserChannel() {
    Report(*this, userChannels_->DeleteClickedRow());
}

void CPlayerDlg::DeleteAllUserChannels() {
    Report(*this, userChannels_->DeleteAll());
}
