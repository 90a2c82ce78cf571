#pragma once

#include "mainwindow/WebPanel.h"

class ChannelPanel;
class PlayerSession;
class ServiceHome;
class WindowLayout;
struct WindowControls;
class PlayerSession;
enum class MainTab;

// The channel panel's main tabs: the tab buttons' pictures, which group of
// sub-tabs shows, and the pages the music and movie tabs show in the
// embedded browser. The channel lists' categories are CatalogueTabs'.
class MainTabs {
public:
    MainTabs(QWidget& window, PlayerSession& session, const WindowControls& controls,
             const WindowLayout& layout, const ServiceHome& service, ChannelPanel& channels);

    WebPanel& Web() { return web_; }
    const WebPanel& Web() const { return web_; }

    // Makes a tab the current one: its picture, its group of sub-tabs and
    // its list or page show where the panel is open; the others hide.
    void Select(MainTab tab);
    // Shows the current tab again (the panel was opened): as Select, but the
    // home-page button keeps its highlight until a main tab is chosen.
    void ShowCurrent();
    // The main-tab buttons: 1018 channel lists (always the TV tab), 1019
    // music pages, 1020 movie pages (each time at the tab's first page).
    void OnTabButton(MainTab tab);
    // The home-page button (1021): the desktop's browser; the panel stays.
    void OnHomePageButton();
    // The web sub-tabs 1023..1029, one fixed page each.
    void OnSubTab(ControlId id);
    // The browser in the layout's place, shown only under a web tab.
    void PlaceBrowser();
    void ShowGroups(bool categories, bool music, bool movie);

private:
    void Show(MainTab tab);
    // The main-tab buttons' pictures: the current tab's highlighted, or only
    // the home-page button's once it was pressed.
    void ShowPictures();

    QWidget& window_;
    const WindowControls& controls_;
    const WindowLayout& layout_;
    const ServiceHome& service_;
    ChannelPanel& channels_;
    PlayerSession& session_;
    WebPanel web_;
    bool homeHighlighted_ = false;
};
