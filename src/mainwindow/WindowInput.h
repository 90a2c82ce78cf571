#pragma once

#include <QObject>

#include <functional>

class ChannelPanel;
class CommandTable;
class MainTabs;
class PlayerSession;
class QPoint;
struct WindowControls;
class QKeyEvent;
class QMouseEvent;
class QWidget;
class WindowDragger;

// The main window's keys, whatever child has the focus, and the moves the
// pointer makes over its children while the window is being dragged: an
// application-wide event filter, seen before any child (the list, the
// browser, the picture) handles the event. Also the video picture's presses:
// the left button drags the window, the right one opens the main menu.
class WindowInput : public QObject {
public:
    // showMenu opens the main menu at a screen position.
    WindowInput(QWidget& window, WindowDragger& dragger, const PlayerSession& session,
                const CommandTable& commands, const WindowControls& controls, const MainTabs& tabs,
                ChannelPanel& channels, std::function<void(const QPoint&)> showMenu);
    ~WindowInput() override;

    // Once, at start-up, after the player is bound.
    void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectPlayer();
    void TakeKeysBack(QWidget* under);
    bool FollowDrag(bool released, const QMouseEvent& mouse);
    bool HandleKey(const QKeyEvent& event);

    QWidget& window_;
    const PlayerSession& session_;
    const CommandTable& commands_;
    const WindowControls& controls_;
    const MainTabs& tabs_;
    ChannelPanel& channels_;
    std::function<void(const QPoint&)> showMenu_;
    WindowDragger& dragger_;
    bool installed_ = false;
};
