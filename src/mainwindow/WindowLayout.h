#pragma once

#include "mainwindow/LayoutPass.h"

class MainTabs;
class PlayerSession;
class QString;
class QWidget;
class WindowGeometry;
struct WindowControls;

// Where the main window's controls sit and how big the window is: the layout
// pass applied to the controls, size changes, the list panel, full screen
// and maximise. The window owns it; the commands (F8, 1001, 1003) come here; the rules
// of the sizes themselves are WindowGeometry's.
class WindowLayout {
public:
    WindowLayout(QWidget& window, PlayerSession& session, WindowGeometry& geometry,
                 const WindowControls& controls)
        : window_(window), session_(session), geometry_(geometry), controls_(controls) {}
    // The main tabs, whose browser and tab groups the layout places.
    void SetTabs(MainTabs& tabs) { tabs_ = &tabs; }

    // The placements of the last pass (the strips and the controllers read them).
    const Layout& Current() const { return layout_; }
    // Runs the layout pass for the window's size and applies it to the controls.
    void Run();
    // The window has a new size: its limit, the pass, the picture.
    void OnResized();

    void ToggleListPanel();
    void ToggleFullScreen();
    void ToggleMaximise();
    // The smallest size the window may have in its current state.
    QSize MinimumSize() const;

private:
    static void Apply(QWidget* widget, const Placement& placement);
    // Picture over the whole window; a broadcast hides every control.
    void CoverWithPicture();
    void ShowAfterFullScreen();
    void ShowRefusal(const QString& text);

    QWidget& window_;
    PlayerSession& session_;
    WindowGeometry& geometry_;
    const WindowControls& controls_;
    MainTabs* tabs_ = nullptr;
    Layout layout_;
};
