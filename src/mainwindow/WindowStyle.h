#pragma once

#include <Qt>

class PlayerSession;
class QWidget;
class WindowTray;

// The window flags the options set: always on top, and the tool-window
// style (no taskbar button) wherever a tray icon can bring the window back.
class WindowStyle {
public:
    WindowStyle(QWidget& window, const PlayerSession& session, const WindowTray& tray)
        : window_(window), session_(session), tray_(tray) {}

    // Always on top as the session's option says.
    void ApplyOnTop();
    // The tool-window style follows the tray option and whether a tray is
    // there now.
    void ApplyTaskbarStyle();

private:
    // Changing a flag makes a new native window; a visible window keeps its
    // place and size.
    void SetFlags(Qt::WindowFlags flags);

    QWidget& window_;
    const PlayerSession& session_;
    const WindowTray& tray_;
};
