#pragma once

#include "mainwindow/LayoutPass.h"

class CPlayerDlg;
class PlayerSession;
class QString;
class QWidget;
class WindowGeometry;

// Where the main window's controls sit and how big the window is: the layout
// pass applied to the controls, size changes, the list panel, full screen
// and maximise. The window owns it and forwards those commands; the rules
// of the sizes themselves are WindowGeometry's.
class WindowLayout {
public:
    WindowLayout(CPlayerDlg& window, PlayerSession& session, WindowGeometry& geometry)
        : window_(window), session_(session), geometry_(geometry) {}

    // The placements of the last pass (the strips and the controllers read them).
    const Layout& Current() const { return layout_; }
    // Runs the layout pass for the window's size and applies it to the controls.
    void Run();
    // The window has a new size: its limit, the pass, the picture.
    void OnResized();

    void ToggleListPanel();
    void ToggleFullScreen();
    void ToggleMaximise();

private:
    static void Apply(QWidget* widget, const Placement& placement);
    // Picture over the whole window; a broadcast hides every control.
    void CoverWithPicture();
    void ShowAfterFullScreen();
    void ShowRefusal(const QString& text);

    CPlayerDlg& window_;
    PlayerSession& session_;
    WindowGeometry& geometry_;
    Layout layout_;
};
