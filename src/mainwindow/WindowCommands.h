#pragma once

class ChannelPanel;
class CommandTable;
class DesktopLink;
class MainTabs;
class PlaybackWiring;
class PlayerSession;
class QWidget;
class ServiceHome;
class WindowLayout;
class WindowStyle;

#include <functional>

// The parts of the main window the commands act on. The playback is made
// when the window starts; a command that plays runs only once it is there.
struct WindowCommandParts {
    QWidget& window; // the owner of the dialogs the commands open
    PlayerSession& session;
    WindowLayout& layout;
    WindowStyle& style;
    MainTabs& tabs;
    ChannelPanel& channels;
    DesktopLink& desktop;
    const ServiceHome& service;
    std::function<PlaybackWiring*()> playback;
    // The settings dialog, and the exit (the player closed, then the window).
    std::function<void()> openSettings;
    std::function<void()> exit;
};

// Fills the main window's command table: every id of the main menu, the
// list's menu, the buttons and the keys, with what it runs and its check
// mark and enabled state, so a command behaves the same whichever way it
// is reached.
void AddWindowCommands(CommandTable& table, const WindowCommandParts& parts);
