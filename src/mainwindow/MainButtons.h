#pragma once

#include "mainwindow/ControlIds.h"
#include "skin/SkinInventory.h"

// The main window's hover buttons (1000 and 1005 are not buttons): each with
// its Korean role, read by screen readers and never shown, and its pictures
// at start-up.
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
