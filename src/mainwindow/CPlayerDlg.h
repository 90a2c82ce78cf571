#pragma once

#include "app/NowPlaying.h"
#include "app/PlayerSession.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/LayoutPass.h"
#include "mainwindow/WindowStrips.h"
#include "playback/PlayerWidget.h"

#include <QIcon>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class CatalogueTabs;
class WebPanel;
class WindowDragger;
class WindowGeometry;
class UserChannelCommands;
class DesktopLink;
class MprisService;
class CChannelListView;
class ChannelListModel;
class CMinsButton;
class DownloadQueue;
class Launcher;
class QKeyEvent;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class PlaybackWiring;
class ScreenSaverInhibitor;

// The main window: frameless and skinned. It shows the player's session
// (PlayerSession: options, volume, tabs, what plays) and turns clicks, keys
// and menu choices into commands of its command table. Its rules live in
// controllers it owns (CatalogueTabs, UserChannelCommands, WindowGeometry,
// WindowStrips, WindowDragger, WebPanel). Its own work is split over files
// by concern: CPlayerDlg.cpp (controls, start-up, shutdown),
// CPlayerDlgLayout.cpp (layout pass, size changes, list panel, full screen),
// CPlayerDlgPaint.cpp (painting), CPlayerDlgCatalogue.cpp (the list's clicks
// and menu, the update command),
// CPlayerDlgPlayback.cpp (playing and stopping), CPlayerDlgCommands.cpp (the
// command table), CPlayerDlgInput.cpp (mouse and keys), CPlayerDlgTray.cpp,
// CPlayerDlgDesktop.cpp, CPlayerDlgWeb.cpp and CPlayerDlgUserChannels.cpp.
class CPlayerDlg : public QWidget {
    Q_OBJECT
public:
    explicit CPlayerDlg(QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // The start-up sequence; run once, before the window is shown.
    bool OnInitDialog();
    // The shutdown sequence; runs once when the window closes.
    void OnDestroy();

    // What the player does and shows; the window paints it.
    PlayerSession& Session() const { return *session_; }
    // Where catalogues and the user's channels are kept.
    const QString& DataFolder() const { return dataFolder_; }
    const Layout& CurrentLayout() const { return layout_; }

    CMinsButton* Button(ControlId id) const;
    QWidget* PlayerControl() const { return player_; }
    // The media player (control 1000); made at start-up unless one was given.
    PlayerWidget* Player() const { return player_; }
    // Puts this player in the place of control 1000 before start-up (the
    // window takes it over). Tests give a stand-in or a player without sound.
    void UsePlayer(PlayerWidget* player);
    CChannelListView* ListView() const { return listView_; }
    ChannelListModel* ListModel() const { return listModel_; }
    DownloadQueue* Downloads() const { return downloads_; }
    // The category tabs, their catalogues and the update check.
    CatalogueTabs& Catalogue() const { return *catalogue_; }
    // Where catalogues and the version list come from; set before start-up
    // (tests point it at a server of their own).
    void SetServiceBaseAddress(const QString& base);
    const Launcher& DesktopLauncher() const { return *launcher_; }
    // Tests watch what the window starts instead of starting it.
    void ReplaceLauncher(const Launcher& launcher);

    // --- window commands ---
    // Opens or closes the list panel (buttons 1008, 1011, key F8). Refused
    // with a message while maximised or in full screen.
    void ToggleListPanel();
    // Enters or leaves full screen (button 1001, Enter, a double click on the video).
    void ToggleFullScreen();
    // Maximise to the work area and back (button 1003, a double click on the caption).
    void ToggleMaximise();
    // Ends the program (button 1004, the exit commands).
    void OnExit();

    // --- the layout pass, applied to the controls ---
    void RunLayoutPass();

    // --- strip rebuilds; the status display and the volume call them too ---
    void RebuildStrip(WindowStrips::Strip strip);
    void RebuildAllStrips();

    // --- steps filled in by the parts that own them ---
    void BindPlayer();
    void ClosePlayer();
    void ApplyPlayerVolume();
    void CreateTrayIcon();
    void RemoveTrayIcon();
    // The main tabs: channel lists (1018), music pages (1019), movie pages (1020).
    void SelectMainTab(MainTab tab);
    // A category (buttons 1012..1017); see CatalogueTabs::Open: whenListed
    // runs once its list has arrived, unless another tab was opened meanwhile.
    void OpenCategoryTab(Category category, std::function<void()> whenListed = {});
    // The list's clicks.
    void OnListClick(int row);
    void OnListDoubleClick(int row);
    // A row of a regional broadcaster: asks for the region, then plays its
    // station there.
    void AskRegionAndPlay(int row, const QString& channelName);
    void ShowListMenu(const QPoint& globalPos);
    // The play command (button 1006): connects to the selected or saved channel.
    void PlaySelected();
    // Plays a row of the list; stops what plays.
    void PlayRow(int row);
    void StopPlayback();
    // The menus' play command (refuses an empty user list).
    void MenuPlay();
    // Plays an address typed by hand (the open-URL dialog): "사용자방송",
    // touching no row of the list.
    void PlayUrl(const QString& address);
    // Volume and mute (keys, wheel, menu, the mute button, the volume area).
    void VolumeUp();
    void VolumeDown();
    void ToggleMute();
    // The wheel: exactly +120 or -120 changes the volume; anything else nothing.
    void OnWheelDelta(int delta);
    // A press or drag in the volume area, x in window pixels.
    void OnVolumePointer(int x);

    // Hides the window to the tray (minimises where the desktop has no tray).
    void HideWindow();
    // The minimise button (1002): the window keeps a way back, a taskbar
    // button wherever no tray is there to show the icon.
    void Minimise();
    // Whether a tray shows the icon now; tests answer it instead.
    bool TrayHostAvailable() const;
    void SetTrayHostProbe(std::function<bool()> probe) { trayHostProbe_ = std::move(probe); }

    // --- menus, tray and options (CPlayerDlgCommands.cpp, CPlayerDlgInput.cpp,
    // CPlayerDlgTray.cpp) ---
    // The main menu (207) with its seven check marks, at a screen position;
    // the chosen command runs through OnCommand.
    void ShowMainMenu(const QPoint& globalPos);
    // Builds that menu as it would open now; the caller owns it.
    QMenu* CreateMainMenu(QWidget* parent);
    // Always on top (32776, key T): written and applied at once.
    void ToggleOnTop();
    // Starting with the session (32779).
    void ToggleStartWithSession();
    void OpenSettingsDialog();
    void OpenUrlDialog();
    void OpenAboutDialog();
    // Shows and raises the window (a left click on the tray icon).
    void ShowFromTray();
    QSystemTrayIcon* TrayIcon() const { return tray_; }

    // The user's own channels (the list's menu).
    void AddToMyChannels();           // 32793
    void DeleteSelectedUserChannel(); // 32794
    void DeleteAllUserChannels();     // 32795
    UserChannelCommands& UserChannels() const { return *userChannels_; }

    // --- web tabs (CPlayerDlgWeb.cpp) ---
    // The main-tab buttons: 1018 channel lists (always the TV tab), 1019
    // music pages, 1020 movie pages (each time at the tab's first page).
    void OnMainTabButton(MainTab tab);
    // The home-page button (1021): the desktop's browser; the panel stays.
    void OnHomePageButton();
    // The web sub-tabs 1023..1029, one fixed page each.
    void OnWebSubTab(ControlId id);
    // The embedded browser; null until a web page is first shown.
    QWidget* WebBrowser() const;
    // The address the browser was last sent to.
    const QString& WebPageAddress() const;
    // What makes the browser: the program hands in the web module's
    // factory, tests a stand-in. Without one the web tabs stay empty.
    void SetWebBrowserFactory(std::function<QWidget*(QWidget* parent)> factory);
    // The update command: the catalogue update check, then its result and
    // the program updater.
    void RunUpdateCommand();
    // Runs a command of the table: an id of a control, of the main menu or
    // of the list's menu (buttons, keys and the tray come here too).
    void OnCommand(CommandId commandId);

    // --- the desktop (CPlayerDlgDesktop.cpp) ---
    // The tray icon's tooltip follows what plays, and with mediaControls the
    // player is offered to media controllers (MPRIS) on the session bus when
    // one runs. Once, after start-up; the bus is joined after the first paint.
    void StartDesktopIntegration(bool mediaControls);
    // What plays now: connecting or playing, the channel, the radio's title.
    NowPlaying CurrentNowPlaying() const;
    // The media controllers' view of the window; null before the start.
    MprisService* MediaControls() const;
    // The user's channels from and to an M3U playlist (32797, 32798); without
    // a path a file dialog asks for one. The import reads and stores off the
    // window's thread and then shows the user tab again.
    void ImportPlaylist(const QString& path = QString());
    void ExportPlaylist(const QString& path = QString());
    bool IsImportingPlaylist() const;
signals:
    // An import has been stored (count channels added) and shown.
    void playlistImported(int count);

public:
    // A plain message box with the program's caption. Tests replace it so
    // nothing waits on a modal box.
    void ShowMessage(const QString& text);
    // A Yes/No question box with the question icon; true for Yes. Tests
    // answer it through the handler.
    bool AskYesNo(const QString& caption, const QString& text);
    void SetQuestionHandler(std::function<bool(const QString&, const QString&)> handler) {
        questionHandler_ = std::move(handler);
    }
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

    // The smallest size the window may have in its current state.
    QSize MinimumSize() const { return MinimumClientSize(session_->IsListPanelOpen()); }
    // A press in the volume area holds the level bar until the button is let go.
    bool IsVolumeDragging() const { return volumeDrag_; }
    void SetVolumeDragging(bool on) { volumeDrag_ = on; }

signals:
    // After the first paint of the window (start-up measurements, screenshots).
    void firstPainted();
    // The window has closed and its shutdown sequence has run.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Mouse, wheel and keys (CPlayerDlgInput.cpp).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateListView();
    void LoadSkin();
    void PrepareWindow();
    void RestoreSettings();
    void PlaceStartupWindow();
    void ApplyControl(QWidget* widget, const Placement& placement);
    void ShowAfterFullScreen();
    void ShowRefusal(const QString& text);
    // Sets a window flag; a visible window keeps its place and size.
    void SetWindowFlagKeepingPlace(Qt::WindowType flag, bool on);
    void SetWindowFlagsKeepingPlace(Qt::WindowFlags flags);
    // The remembered main tab and category; false while the category's
    // catalogue is still on its way.
    bool RestoreTabs();
    void ConnectButtons();
    void BuildCommandTable();
    void AddTabCommands();
    CommandTable commands_;
    void PlaceWebBrowser();
    WebPanel* web_ = nullptr;

    // Input (CPlayerDlgInput.cpp): keys reach the window whatever child has
    // the focus; moves and resizes go to the window system where it can.
    void InstallInput();
    void ConnectPlayerInput();
    bool HandleKey(QKeyEvent* event);
    QSystemTrayIcon* tray_ = nullptr;
    std::function<bool()> trayHostProbe_;
    // The tool-window style (no taskbar button) follows the tray option and
    // whether a tray is there to bring the window back.
    void ApplyTaskbarStyle();
    WindowDragger* dragger_ = nullptr;

    // Controls: 28 hover buttons by id (1000 and 1005 are not buttons).
    std::array<CMinsButton*, kControlCount> buttons_{};
    void ShowTabGroups(bool categories, bool music, bool movie);
    ChannelListModel* listModel_ = nullptr;
    CChannelListView* listView_ = nullptr;
    PlayerWidget* player_ = nullptr;
    // The connection watch, the volume and their timers (CPlayerDlgPlayback.cpp).
    PlaybackWiring* playback_ = nullptr;
    std::function<bool(const QString&, const QString&)> questionHandler_;
    QIcon icon_;

    ScreenSaverInhibitor* inhibitor_ = nullptr;
    // The tray tooltip, media controllers and playlist imports.
    DesktopLink* desktop_ = nullptr;
    Launcher* launcher_ = nullptr;
    std::function<void(const QString&)> messageHandler_;

    // Catalogues: one download queue for the program and the tabs on it.
    DownloadQueue* downloads_ = nullptr;
    CatalogueTabs* catalogue_ = nullptr;
    UserChannelCommands* userChannels_ = nullptr;
    void ReportUserChannelWrite(bool written);

    PlayerSession* session_ = nullptr;

    // Full screen, maximise and the list panel's width.
    WindowGeometry* geometry_ = nullptr;
    QString dataFolder_;

    // Start-up: whether the remembered tab has listed its channels, and
    // whether automatic play waits for that.
    bool startListArrived_ = false;
    bool autoPlayPending_ = false;

    bool volumeDrag_ = false;
    bool initialised_ = false;
    bool destroyed_ = false;
    bool firstPaintSeen_ = false;

    // Layout and skin.
    Layout layout_;
    WindowStrips* strips_ = nullptr;
};
