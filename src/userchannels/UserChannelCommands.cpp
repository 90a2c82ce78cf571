#include "userchannels/UserChannelCommands.h"

#include "app/PlayerSession.h"
#include "catalogue/ChannelListModel.h"
#include "userchannels/CUserChannelFile.h"
#include "userchannels/M3uPlaylist.h"

UserChannelCommands::UserChannelCommands(PlayerSession& session, ChannelListModel& list,
                                         std::function<QString()> dataFolder)
    : session_(session), list_(list), dataFolder_(std::move(dataFolder)) {}

bool UserChannelCommands::CopyClickedRow() {
    // A catalogue row is copied as the list shows it. Without a clicked row
    // there is nothing to copy, and nothing is said.
    if (session_.Category() == Category::User || !list_.IsRow(session_.CurrentRow()))
        return true;
    const ChannelRecord record = CUserChannelFile::MakeStorable(list_.Row(session_.CurrentRow()));
    return CUserChannelFile(dataFolder_()).Append(record);
}

bool UserChannelCommands::DeleteClickedRow() {
    // Only the user tab's list is the user's file; any other list written
    // back would replace the user's channels with a catalogue.
    if (session_.Category() != Category::User || session_.ShownCategory() != Category::User)
        return true;
    std::vector<ChannelRecord> rows = list_.Rows();
    const bool deleting = list_.IsRow(session_.CurrentRow());
    if (deleting)
        rows.erase(rows.begin() + session_.CurrentRow());
    // The list shows the file's last line on top: written back in file
    // order, the file keeps the order the channels were added in.
    for (ChannelRecord& row : rows)
        row = CUserChannelFile::MakeStorable(row);
    if (!CUserChannelFile(dataFolder_()).Rewrite(CUserChannelFile::ListRowsToFileOrder(rows)))
        return false; // the row stays on screen, as it stays in the file
    if (deleting) {
        list_.RemoveRow(session_.CurrentRow());
        // The index would now name the next row, one the user never chose.
        session_.SetCurrentRow(-1);
    }
    return true;
}

bool UserChannelCommands::DeleteAll() {
    if (session_.Category() != Category::User)
        return true;
    if (!CUserChannelFile(dataFolder_()).Remove())
        return false;
    if (session_.ShownCategory() == Category::User)
        list_.Clear();
    session_.SetCurrentRow(-1);
    return true;
}

QByteArray UserChannelCommands::ExportedPlaylist() const {
    const std::vector<ChannelRecord> rows = CUserChannelFile::ListRowsToFileOrder(list_.Rows());
    return M3uPlaylist::Write(M3uPlaylist::FromRecords(rows));
}
