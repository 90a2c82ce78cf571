#pragma once

#include <QMenu>

// Commands of the channel list's menu.
namespace ListCommand {
constexpr int Play = 32791;
constexpr int Stop = 32792;
constexpr int AddToMyChannels = 32793;
constexpr int DeleteSelected = 32794;
constexpr int DeleteAll = 32795;
constexpr int Exit = 32796;
// The user's channels to and from an M3U playlist.
constexpr int ImportPlaylist = 32797;
constexpr int ExportPlaylist = 32798;
} // namespace ListCommand

// Builds the channel list's menu. The two delete commands and the playlist
// import and export work only on the user's own channels and are greyed on
// every other tab. Each action carries
// its command id as data.
QMenu* CreateListMenu(QWidget* parent, bool userTab);
