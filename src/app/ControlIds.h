#pragma once

#include "app/ChannelTabs.h"

#include <cstddef>

// Control ids of the main window. They name the controls, and the commands
// their clicks run, throughout the program; the values are the resource
// numbers, which convert only through the helpers below.
enum class ControlId {
    Player = 1000,
    FullScreen = 1001,
    Minimise = 1002,
    MaximiseToggle = 1003,
    Close = 1004,
    ChannelList = 1005,
    Play = 1006,
    Stop = 1007,
    ListToggleBottom = 1008,
    Settings = 1009,
    Mute = 1010,
    ListToggle = 1011,
    // Category tabs, TV .. the user's channels.
    CategoryTv = 1012,
    CategoryWorld = 1013,
    CategoryGame = 1014,
    CategoryRadio = 1015,
    CategoryMusic = 1016,
    CategoryUser = 1017,
    // Main tabs.
    TabChannels = 1018,
    TabMusic = 1019,
    TabMovie = 1020,
    TabHome = 1021,
    Hide = 1022,
    // Music web sub-tabs, then movie web sub-tabs.
    MusicSubTab1 = 1023,
    MusicSubTab2 = 1024,
    MusicSubTab3 = 1025,
    MusicSubTab4 = 1026,
    MovieSubTab1 = 1027,
    MovieSubTab2 = 1028,
    MovieSubTab3 = 1029,
};

constexpr int kFirstControl = 1000;
constexpr int kLastControl = 1029;
constexpr std::size_t kControlCount = kLastControl - kFirstControl + 1;

// The resource number of a control, and its place in a table of all controls.
constexpr int ControlNumber(ControlId id) {
    return static_cast<int>(id);
}
constexpr std::size_t ControlIndex(ControlId id) {
    return static_cast<std::size_t>(ControlNumber(id) - kFirstControl);
}
// The control at a place of that table (0 .. kControlCount - 1).
constexpr ControlId ControlAtIndex(std::size_t index) {
    return static_cast<ControlId>(kFirstControl + static_cast<int>(index));
}

// The control of a resource number in 1000..1029 (tests and tables name
// controls by number).
constexpr ControlId ControlFromNumber(int number) {
    return ControlAtIndex(static_cast<std::size_t>(number - kFirstControl));
}

// The groups of tab buttons, in the order they stand.
constexpr ControlId kCategoryTabButtons[] = {ControlId::CategoryTv,    ControlId::CategoryWorld,
                                             ControlId::CategoryGame,  ControlId::CategoryRadio,
                                             ControlId::CategoryMusic, ControlId::CategoryUser};
constexpr ControlId kMainTabButtons[] = {ControlId::TabChannels, ControlId::TabMusic,
                                         ControlId::TabMovie, ControlId::TabHome};
constexpr ControlId kMusicSubTabButtons[] = {ControlId::MusicSubTab1, ControlId::MusicSubTab2,
                                             ControlId::MusicSubTab3, ControlId::MusicSubTab4};
constexpr ControlId kMovieSubTabButtons[] = {ControlId::MovieSubTab1, ControlId::MovieSubTab2,
                                             ControlId::MovieSubTab3};
static_assert(ControlIndex(ControlId::MovieSubTab3) == kControlCount - 1);

// The tab button of a main tab and of a category, and back (None for a
// button that is no category tab).
constexpr ControlId TabControlOf(MainTab tab) {
    return ControlAtIndex(
        ControlIndex(ControlId::TabChannels) +
        static_cast<std::size_t>(StoredNumberOf(tab) - StoredNumberOf(MainTab::Channels)));
}
constexpr ControlId CategoryTabOf(Category category) {
    return kCategoryTabButtons[StoredNumberOf(category) - StoredNumberOf(Category::Tv)];
}
constexpr Category CategoryOfTab(ControlId id) {
    return ControlNumber(id) >= ControlNumber(ControlId::CategoryTv) &&
                   ControlNumber(id) <= ControlNumber(ControlId::CategoryUser)
               ? CategoryFromStored(StoredNumberOf(Category::Tv) + ControlNumber(id) -
                                    ControlNumber(ControlId::CategoryTv))
               : Category::None;
}
static_assert(TabControlOf(MainTab::Movie) == ControlId::TabMovie);
static_assert(CategoryOfTab(CategoryTabOf(Category::User)) == Category::User);
static_assert(CategoryOfTab(ControlId::TabChannels) == Category::None);
