#pragma once

#include <QRect>

#include <optional>

class PlayerSession;

// The main window's rectangles and the rules that change them: full screen
// (the rectangle to come back to is kept in the store), maximise to the
// work area and back, and the list panel, which moves the right edge.
// Widget-free: the window applies the rectangles it is given.
class WindowGeometry {
public:
    explicit WindowGeometry(PlayerSession& session) : session_(session) {}

    // The rectangle leaving full screen comes back to, read from the store
    // ("MainX", "MainY", "MainWidth", "MainHeight"); kept as last read.
    QRect ReadSavedWindow();
    const QRect& SavedWindow() const { return savedWindow_; }

    // Enters full screen from the window's frame rectangle, which is stored
    // and kept in memory too.
    void EnterFullScreen(const QRect& frame);
    // Leaves full screen; the window then lays out anew and comes back to
    // TakeFullScreenReturn().
    void LeaveFullScreen();
    // Where leaving full screen goes: the rectangle kept on entering it, so a
    // settings folder that cannot be written does not send the window back to
    // some older one; else SavedWindow(). Forgotten once taken.
    QRect TakeFullScreenReturn();

    // Maximise to the work area, or back to where the window was; none in
    // full screen, where it does nothing.
    std::optional<QRect> ToggleMaximise(const QRect& current, const QRect& workArea);

    // Whether the list panel may open or close now: not while maximised or
    // in full screen.
    bool MayToggleListPanel() const;
    // Opens or closes the panel; the window's new rectangle, whose right
    // edge has moved by the panel's width.
    QRect ToggleListPanel(const QRect& current);

private:
    PlayerSession& session_;
    QRect savedWindow_{0, 0, 832, 362};
    QRect fullScreenReturn_;
    QRect beforeMaximise_;
};
