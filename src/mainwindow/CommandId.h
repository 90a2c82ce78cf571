#pragma once

#include "app/ControlIds.h"

#include <optional>

// Commands of the main menu (207). Their values are the menu's resource
// numbers, which its actions carry as data.
enum class MenuCommand {
    ListPanel = 32773,
    Play = 32774,
    Stop = 32775,
    OnTop = 32776,
    Settings = 32777,
    Update = 32778,
    StartWithSession = 32779,
    HomePage = 32780,
    About = 32781,
    Exit = 32782,
    OpenUrl = 32783,
    VolumeUp = 32784,
    VolumeDown = 32785,
    Mute = 32786,
    AutoPlay = 32787,
    AutoClose = 32788,
    AutoHide = 32789,
    FullScreen = 32790,
};

// Commands of the channel list's menu.
enum class ListCommand {
    Play = 32791,
    Stop = 32792,
    AddToMyChannels = 32793,
    DeleteSelected = 32794,
    DeleteAll = 32795,
    Exit = 32796,
    // The user's channels to and from an M3U playlist.
    ImportPlaylist = 32797,
    ExportPlaylist = 32798,
    // The find field over the list.
    Find = 32799,
    // The programme guide of the chosen channel.
    Guide = 32800,
};

// One command of the window's table: a control's click, a main-menu command
// or a list-menu command. The three ranges do not overlap, so the number
// alone tells which it is.
class CommandId {
public:
    constexpr CommandId(MenuCommand command) : number_(static_cast<int>(command)) {}
    constexpr CommandId(ListCommand command) : number_(static_cast<int>(command)) {}
    // The click of a control.
    constexpr CommandId(ControlId control) : number_(ControlNumber(control)) {}

    // The number a menu action carries as data.
    constexpr int Number() const { return number_; }
    // The command a number names; none for a number of no command range.
    static constexpr std::optional<CommandId> FromNumber(int number) {
        const bool known = (number >= kFirstControl && number <= kLastControl) ||
                           (number >= kMenuFirst && number <= kMenuLast) ||
                           (number >= kListFirst && number <= kListLast);
        return known ? std::optional<CommandId>(CommandId(number)) : std::nullopt;
    }

    constexpr bool operator==(CommandId other) const { return number_ == other.number_; }
    constexpr bool operator!=(CommandId other) const { return number_ != other.number_; }
    constexpr bool operator<(CommandId other) const { return number_ < other.number_; }

    static constexpr int kMenuFirst = static_cast<int>(MenuCommand::ListPanel);
    static constexpr int kMenuLast = static_cast<int>(MenuCommand::FullScreen);
    static constexpr int kListFirst = static_cast<int>(ListCommand::Play);
    static constexpr int kListLast = static_cast<int>(ListCommand::Guide);

private:
    explicit constexpr CommandId(int number) : number_(number) {}
    int number_;
};

// One table holds the controls' and the menus' commands under their ids.
static_assert(kLastControl < CommandId::kMenuFirst, "control and menu ids overlap");
static_assert(CommandId::kMenuLast < CommandId::kListFirst, "main and list menu ids overlap");
