#include "userchannels/UserChannelCommands.h"

#include "app/PlayerSession.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/M3uPlaylist.h"

UserChannelCommands::UserChannelCommands(PlayerSession& session, ChannelListModel& list,
                                         std::function<QString()> dataFolder)
    : session_(session), list_(list), dataFolder_(std::move(dataFolder)) {}

UserChannelCommands::Outcome UserChannelCommands::CopyClickedRow() {
    // A catalogue row is copied as the list shows it.
    if (session_.Category() == Category::User)
        return Outcome::Done;
    if (!list_.IsRow(session_.CurrentRow()))
        return Outcome::NoRow;
    const ChannelRecord record = CUserChannelFile::MakeStorable(list_.Row(session_.CurrentRow()));
    return CUserChannelFile(dataFolder_()).Append(record) ? Outcome::Done : Outcome::WriteFailed;
}

UserChannelCommands::Outcome UserChannelCommands::DeleteClickedRow() {
    // Only the user tab's list is the user's file; any other list written
    // back would replace the user's channels with a catalogue.
    if (session_.Category() != Category::User || session_.ShownCategory() != Category::User)
        return Outcome::Done;
    // Without a chosen row nothing is deleted, and the file is left alone.
    if (!list_.IsRow(session_.CurrentRow()))
        return Outcome::NoRow;
    std::vector<ChannelRecord> rows = list_.Rows();
    rows.erase(rows.begin() + session_.CurrentRow());
    // The list shows the file's last line on top: written back in file
    // order, the file keeps the order the channels were added in.
    for (ChannelRecord& row : rows)
        row = CUserChannelFile::MakeStorable(row);
    if (!CUserChannelFile(dataFolder_()).Rewrite(CUserChannelFile::ListRowsToFileOrder(rows)))
        return Outcome::WriteFailed; // the row stays on screen, as it stays in the file
    list_.RemoveRow(session_.CurrentRow());
    // The index would now name the next row, one the user never chose.
    session_.SetCurrentRow(-1);
    return Outcome::Done;
}

UserChannelCommands::Outcome UserChannelCommands::DeleteAll() {
    if (session_.Category() != Category::User)
        return Outcome::Done;
    if (!CUserChannelFile(dataFolder_()).Remove())
        return Outcome::WriteFailed;
    if (session_.ShownCategory() == Category::User)
        list_.Clear();
    session_.SetCurrentRow(-1);
    return Outcome::Done;
}

QByteArray UserChannelCommands::ExportedPlaylist() const {
    const std::vector<ChannelRecord> rows = CUserChannelFile::ListRowsToFileOrder(list_.Rows());
    return M3uPlaylist::Write(M3uPlaylist::FromRecords(rows));
}
