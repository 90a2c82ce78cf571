#pragma once

#include "app/ControlIds.h"

#include <array>

class CChannelListView;
class CMinsButton;
class PlayerWidget;

// The main window's controls as its controllers reach them: the hover
// buttons by id (1000 and 1005 are not buttons), the channel list and the
// player, which is made when the window starts (until then null).
struct WindowControls {
    std::array<CMinsButton*, kControlCount> buttons{};
    CChannelListView* listView = nullptr;
    PlayerWidget* player = nullptr;

    CMinsButton* Button(ControlId id) const { return buttons[ControlIndex(id)]; }
};
