#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class ChannelListModel;
class PlayerSession;

// The list menu's commands on the user's own channels: copying the clicked
// catalogue row into them, deleting the clicked row or all of them, and the
// playlist an export writes. Each keeps the list, the session's row and
// user.dat in step. Widget-free; the window asks and reports.
class UserChannelCommands {
public:
    UserChannelCommands(PlayerSession& session, ChannelListModel& list,
                        std::function<QString()> dataFolder);

    enum class Outcome {
        Done,        // also a command that does not apply on this tab
        NoRow,       // no row chosen: nothing was copied or deleted
        WriteFailed, // user.dat could not be written; the list is as it was
    };
    // Each acts on the row the user chose last on the tab that shows.
    Outcome CopyClickedRow();
    Outcome DeleteClickedRow();
    Outcome DeleteAll();
    // The rows in the order of user.dat as an M3U playlist, so importing
    // the file again shows them as they are now.
    QByteArray ExportedPlaylist() const;

private:
    PlayerSession& session_;
    ChannelListModel& list_;
    std::function<QString()> dataFolder_;
};
