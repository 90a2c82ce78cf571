#pragma once

#include <Qt>

class PlayerSession;
class QWidget;
class WindowTray;

// The window flags the options set: always on top, and the tool-window
// style (no taskbar button) wherever a tray icon can bring the window back;
// and the ways the window goes away and comes back (hide, minimise, the
// tray icon's click).
class WindowStyle {
public:
    WindowStyle(QWidget& window, PlayerSession& session, const WindowTray& tray)
        : window_(window), session_(session), tray_(tray) {}

    // Always on top as the session's option says.
    void ApplyOnTop();
    // The tool-window style follows the tray option and whether a tray is
    // there now.
    void ApplyTaskbarStyle();
    // Always on top (32776, key T): stored and applied at once.
    void ToggleOnTop();

    // Hides the window to the tray (minimises where the desktop has no tray).
    void HideWindow();
    // The minimise button (1002): the window keeps a way back, a taskbar
    // button wherever no tray is there to show the icon.
    void Minimise();
    // Shows and raises the window (a left click on the tray icon).
    void ShowFromTray();

private:
    // Changing a flag makes a new native window; a visible window keeps its
    // place and size.
    void SetFlags(Qt::WindowFlags flags);

    QWidget& window_;
    PlayerSession& session_;
    const WindowTray& tray_;
};
