#pragma once

class CPlayerDlg;
class CommandTable;

// Fills the main window's command table: every id of the main menu, the
// list's menu, the buttons and the keys, with what it runs on the window and
// its check mark and enabled state. Only the window's public commands are
// used, so a command behaves the same whichever way it is reached.
void AddWindowCommands(CommandTable& table, CPlayerDlg& window);
