#pragma once

#include "app/ChannelTabs.h"

// Control ids of the main window. They name the controls, and the commands
// their clicks run, throughout the program.
namespace ControlId {

constexpr int Player = 1000;
constexpr int FullScreen = 1001;
constexpr int Minimise = 1002;
constexpr int MaximiseToggle = 1003;
constexpr int Close = 1004;
constexpr int ChannelList = 1005;
constexpr int Play = 1006;
constexpr int Stop = 1007;
constexpr int ListToggleBottom = 1008;
constexpr int Settings = 1009;
constexpr int Mute = 1010;
constexpr int ListToggle = 1011;
// Category tabs 1012 (TV) .. 1017 (the user's channels).
constexpr int CategoryTv = 1012;
constexpr int CategoryWorld = 1013;
constexpr int CategoryGame = 1014;
constexpr int CategoryRadio = 1015;
constexpr int CategoryMusic = 1016;
constexpr int CategoryUser = 1017;
// Main tabs.
constexpr int TabChannels = 1018;
constexpr int TabMusic = 1019;
constexpr int TabMovie = 1020;
constexpr int TabHome = 1021;
constexpr int Hide = 1022;
// Music web sub-tabs 1023..1026, movie web sub-tabs 1027..1029.
constexpr int MusicSubTabFirst = 1023;
constexpr int MusicSubTabLast = 1026;
constexpr int MovieSubTabFirst = 1027;
constexpr int MovieSubTabLast = 1029;

constexpr int First = 1000;
constexpr int Last = 1029;
constexpr int Count = Last - First + 1;

} // namespace ControlId

// The tab button of a main tab (1018..1020) and of a category (1012..1017),
// and back; 0 and None for none.
constexpr int TabControlOf(MainTab tab) {
    return ControlId::TabChannels + (StoredNumberOf(tab) - StoredNumberOf(MainTab::Channels));
}
constexpr int CategoryTabOf(Category category) {
    return category == Category::None
               ? 0
               : ControlId::CategoryTv + (StoredNumberOf(category) - StoredNumberOf(Category::Tv));
}
constexpr Category CategoryOfTab(int controlId) {
    return controlId >= ControlId::CategoryTv && controlId <= ControlId::CategoryUser
               ? CategoryFromStored(StoredNumberOf(Category::Tv) +
                                    (controlId - ControlId::CategoryTv))
               : Category::None;
}
static_assert(TabControlOf(MainTab::Movie) == ControlId::TabMovie);
static_assert(CategoryOfTab(CategoryTabOf(Category::User)) == Category::User);
static_assert(CategoryOfTab(ControlId::TabChannels) == Category::None);
