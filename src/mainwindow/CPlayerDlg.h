#pragma once

#include "app/ControlIds.h"
#include "app/PlayerSession.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/WindowControls.h"
#include "playback/PlayerWidget.h"

#include <QString>
#include <QWidget>

class CChannelListView;
class ChannelListModel;
class ChannelPanel;
class CMinsButton;
class DesktopLink;
class Launcher;
class MainTabs;
class PlaybackWiring;
class Prompter;
class ScreenSaverInhibitor;
class ServiceHome;
class StartupRestore;
class WindowDragger;
class WindowGeometry;
class WindowInput;
class WindowLayout;
class WindowRepaint;
class WindowStrips;
class WindowStyle;
class WindowTray;

// The main window: frameless and skinned. It makes its controls and the
// parts that act on them, hands each part only what it needs, paints the
// session (PlayerSession: options, volume, tabs, what plays) as its change
// signals say (WindowRepaint), and turns clicks, keys and menu choices into
// commands of its command table (WindowCommands). The parts: ChannelPanel
// (the list, its tabs and menu, the guide, the user's channels),
// PlaybackWiring (the connection watch and the volume), WindowLayout,
// MainTabs, WindowStyle and WindowTray, DesktopLink, StartupRestore,
// WindowInput and WindowDragger, Prompter. Its own work: the controls
// (CPlayerDlg.cpp), painting (CPlayerDlgPaint.cpp) and its mouse events
// (CPlayerDlgInput.cpp).
class CPlayerDlg : public QWidget {
    Q_OBJECT
public:
    explicit CPlayerDlg(QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Start-up, once, before the window is shown; shutdown, once, as it closes.
    bool OnInitDialog();
    void OnDestroy();

    // What the player does and shows; the window paints it.
    PlayerSession& Session() const { return *session_; }

    // The controls.
    CMinsButton* Button(ControlId id) const { return controls_.Button(id); }
    // The media player (control 1000); made at start-up unless one was given.
    PlayerWidget* Player() const { return controls_.player; }
    // Puts this player in the place of control 1000 before start-up (the
    // window takes it over). Tests give a stand-in or a player without sound.
    void UsePlayer(PlayerWidget* player);
    CChannelListView* ListView() const { return controls_.listView; }
    ChannelListModel* ListModel() const { return listModel_; }

    // Every command by its id (buttons, menus, keys and the tray run them here).
    const CommandTable& Commands() const { return commands_; }

    // The parts.
    WindowLayout& Layout() const { return *layout_; }
    // The connection watch and the volume; null until start-up.
    PlaybackWiring* Playback() const { return playback_; }
    ChannelPanel& Channels() const { return *channels_; }
    MainTabs& Tabs() const { return *tabs_; }
    DesktopLink& Desktop() const { return *desktop_; }
    WindowStyle& Style() const { return *style_; }
    WindowTray& Tray() const { return *tray_; }
    Prompter& Prompts() const { return *prompter_; }
    // What the window starts outside itself (the browser, the updater);
    // tests put a launcher of their own in its place.
    Launcher& DesktopLauncher() const { return *launcher_; }

signals:
    // After the first paint (start-up measurements, screenshots); after the
    // window has closed and its shutdown has run.
    void firstPainted();
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void CreateControls();
    void CreateParts();
    void LoadSkin();
    void PrepareWindow();
    void RestoreSettings();
    void PlaceStartupWindow();
    void BindPlayer();
    void ClosePlayer();
    void Exit();
    void ShowMainMenu(const QPoint& globalPos);
    void OpenSettingsDialog();

    ScreenSaverInhibitor* inhibitor_ = nullptr;
    Launcher* launcher_ = nullptr;
    PlayerSession* session_ = nullptr;
    WindowGeometry* geometry_ = nullptr;
    Prompter* prompter_ = nullptr;
    CommandTable commands_;

    WindowControls controls_;
    ChannelListModel* listModel_ = nullptr;

    ChannelPanel* channels_ = nullptr;
    ServiceHome* service_ = nullptr;
    WindowLayout* layout_ = nullptr;
    MainTabs* tabs_ = nullptr;
    WindowStrips* strips_ = nullptr;
    WindowRepaint* repaint_ = nullptr;
    WindowTray* tray_ = nullptr;
    WindowStyle* style_ = nullptr;
    WindowDragger* dragger_ = nullptr;
    WindowInput* input_ = nullptr;
    DesktopLink* desktop_ = nullptr;
    StartupRestore* startup_ = nullptr;
    PlaybackWiring* playback_ = nullptr;

    bool initialised_ = false;
    bool destroyed_ = false;
    bool firstPaintSeen_ = false;
};
