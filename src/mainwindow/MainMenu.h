#pragma once

#include <QMenu>

// Commands of the main menu (207). The list's own menu has its commands in
// catalogue/ListMenu.h.
namespace MenuCommand {
constexpr int ListPanel = 32773;
constexpr int Play = 32774;
constexpr int Stop = 32775;
constexpr int OnTop = 32776;
constexpr int Settings = 32777;
constexpr int Update = 32778;
constexpr int StartWithSession = 32779;
constexpr int HomePage = 32780;
constexpr int About = 32781;
constexpr int Exit = 32782;
constexpr int OpenUrl = 32783;
constexpr int VolumeUp = 32784;
constexpr int VolumeDown = 32785;
constexpr int Mute = 32786;
constexpr int AutoPlay = 32787;
constexpr int AutoClose = 32788;
constexpr int AutoHide = 32789;
constexpr int FullScreen = 32790;
} // namespace MenuCommand

// The seven check marks of the main menu, as they stand when it opens.
struct MainMenuChecks {
    bool listPanel = false; // 32773: its flag is never set
    bool onTop = false;
    bool mute = false;
    bool autoPlay = false;
    bool autoClose = false;
    bool autoHide = false;
    bool startWithSession = false;
};

// Builds the main menu with its submenus and check marks. Every command
// action carries its command id as data; nothing is greyed. The keys shown
// after a tab are labels only: the window handles the keys itself.
QMenu* CreateMainMenu(QWidget* parent, const MainMenuChecks& checks);

// The command id of an action of that menu, 0 for none.
int MenuCommandOf(const QAction* action);
