#pragma once

#include "app/ControlIds.h"
#include "skin/SkinInventory.h"

#include <vector>

// The main window's hover buttons (1000 and 1005 are not buttons): each with
// its Korean role, read by screen readers and never shown (a tab's role is
// the label its picture shows), and its pictures at start-up, when the list
// panel is open.
struct ButtonEntry {
    ControlId id;
    const char* role;
    PictureId normal, pressed, hovered;
};
extern const ButtonEntry kButtons[28];

// Pictures of the main tabs: plain, and when the tab is the current one.
struct TabPictures {
    ControlId id;
    PictureId plain, selected;
};
extern const TabPictures kMainTabPictures[4];

// The list toggle's pictures (1011) and role as the panel is open or closed.
ButtonEntry ListToggleLook(bool panelOpen);

// What the two buttons that open and close the list panel say to a screen
// reader: the toggle on the divider (1011) and the bottom bar's list button
// (1008) do the same, yet each reads as itself, naming what a press does now.
struct ListButtonNames {
    const char* toggle;
    const char* bottom;
};
ListButtonNames ListPanelButtonNames(bool panelOpen);

// The buttons that show again when full screen ends: the caption's and the
// bottom bar's always, the tabs only where the panel is open, and each tab's
// group of sub-tabs only under the current main tab.
std::vector<ControlId> ButtonsAfterFullScreen(bool panelOpen, MainTab tab);
