#pragma once

#include "mainwindow/CommandId.h"

#include <QMenu>

#include <optional>

class CommandTable;
class QPoint;

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
// The check marks as the command table's commands give them now.
MainMenuChecks MainMenuChecksOf(const CommandTable& commands);
// Opens the main menu as it stands now at a screen position and runs the
// command chosen.
void RunMainMenu(QWidget* parent, const CommandTable& commands, const QPoint& globalPos);

// The command an action of the main menu or the list's menu carries; none
// for no action or one without a command.
std::optional<CommandId> CommandOfAction(const QAction* action);
