#pragma once

#include <QString>

class CPlayerDlg;

// Pictures of the dialogs and of the main menu for the documentation
// (scripts/screenshots). `which` is "settings", "openurl", "about" or "menu";
// a settings picture may end in ":2" or ":3" for its other pages. Shows the
// dialog or menu over the window, saves a PNG to `path` and closes it again.
// False for an unknown name or a file that could not be written.
bool SaveDialogScreenshot(CPlayerDlg& window, const QString& which, const QString& path);
