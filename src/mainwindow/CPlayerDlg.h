#pragma once

#include "app/ControlIds.h"
#include "app/PlayerSession.h"
#include "guide/GuideBook.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStrips.h"
#include "playback/PlayerWidget.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class CatalogueTabs;
class ChannelGuide;
class ChannelSources;
class CChannelListView;
class ChannelListModel;
class CMinsButton;
class DesktopLink;
class DownloadQueue;
class Launcher;
class MainTabs;
class MprisService;
class PlaybackWiring;
class QMenu;
class QSystemTrayIcon;
class ScreenSaverInhibitor;
class StartupRestore;
class UserChannelCommands;
class WindowDragger;
class WindowGeometry;
class WindowInput;
class WindowStyle;
class WindowTray;

// The main window: frameless and skinned. It shows the player's session
// (PlayerSession: options, volume, tabs, what plays) and turns clicks, keys
// and menu choices into commands of its command table (WindowCommands). Its
// rules live in controllers it owns (CatalogueTabs, UserChannelCommands,
// WindowGeometry, WindowLayout, WindowStrips, WindowStyle, WindowDragger,
// WindowTray, StartupRestore, MainTabs, DesktopLink, PlaybackWiring); its
// own work is split over CPlayerDlg*.cpp files by concern, each named after
// it.
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
    // Where catalogues and the user's channels are kept.
    const QString& DataFolder() const { return dataFolder_; }
    const Layout& CurrentLayout() const { return layout_->Current(); }

    CMinsButton* Button(ControlId id) const;
    // The media player (control 1000); made at start-up unless one was given.
    PlayerWidget* Player() const { return player_; }
    // Puts this player in the place of control 1000 before start-up (the
    // window takes it over). Tests give a stand-in or a player without sound.
    void UsePlayer(PlayerWidget* player);
    CChannelListView* ListView() const { return listView_; }
    ChannelListModel* ListModel() const { return listModel_; }
    DownloadQueue* Downloads() const { return downloads_; }
    // Where each catalogue tab takes its channels from.
    ChannelSources* Sources() const;
    // The programme guide: the program's one GuideBook (Guide().Book()),
    // now/next per channel, the caption's programme line.
    ChannelGuide& Guide() const { return *guide_; }
    // After the tabs' sources were changed: the open catalogue tab anew.
    void ReloadSources();
    // Where catalogues and the version list come from; set before start-up
    // (tests point it at a server of their own).
    void SetServiceBaseAddress(const QString& base);
    const Launcher& DesktopLauncher() const { return *launcher_; }
    // Tests watch what the window starts instead of starting it.
    void ReplaceLauncher(const Launcher& launcher);

    // The list panel (1008, 1011, F8; refused while maximised or in full
    // screen), full screen (1001, Enter, a double click on the video),
    // maximise (1003, a double click on the caption): see WindowLayout.
    // Exit (1004).
    void ToggleListPanel() { layout_->ToggleListPanel(); }
    void ToggleFullScreen() { layout_->ToggleFullScreen(); }
    void ToggleMaximise() { layout_->ToggleMaximise(); }
    void OnExit();

    // A skin strip rebuilt (the status display and the volume rebuild theirs).
    void RebuildStrip(WindowStrips::Strip strip);

    // The main tabs (1018..1021), their sub-tabs and web pages; see MainTabs.
    MainTabs& Tabs() const { return *tabs_; }
    void OnMainTabButton(MainTab tab);
    // A category (buttons 1012..1017); see CatalogueTabs::Open: whenListed
    // runs once its list has arrived, unless another tab was opened meanwhile.
    void OpenCategoryTab(Category category, std::function<void()> whenListed = {});
    void OnListClick(int row);
    void OnListDoubleClick(int row);
    // The find field over the list: Ctrl+F and the list's menu open it;
    // Escape closes it (true when it was open).
    void OpenFindField();
    bool CloseFindField();
    // What the window knows of the programme guides, handed in by whoever
    // holds them: the guide that knows a channel (by its tab and the list's
    // key for it, the row's address), each tab's guides with their state,
    // and a read anew. Until then no channel has a guide and the settings
    // page shows no guide status.
    struct GuideAccess {
        std::function<const GuideData*(Category, const QString& key)> find;
        std::function<std::vector<GuideBook::Source>(Category)> sources;
        std::function<void(Category, std::function<void()> done)> refresh;
        // The settings dialog stored new guide addresses (TV_GUIDE, ...).
        std::function<void()> addressesChanged;
    };
    void SetGuideAccess(GuideAccess access) { guides_ = std::move(access); }
    // The chosen row of a playlist tab that can have a guide (TV, world,
    // game), or -1; the guide command (32800, the list's menu and G) opens
    // its dialog.
    int GuideRow() const;
    void OpenGuideDialog();
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
    // Volume and mute (keys, menu, the mute button); the wheel, where only
    // exactly +120 or -120 counts; the volume area, x in window pixels.
    void VolumeUp();
    void VolumeDown();
    void ToggleMute();
    void OnWheelDelta(int delta);
    void OnVolumePointer(int x);

    // Hides the window to the tray (minimises where the desktop has no tray).
    void HideWindow();
    // The minimise button (1002): the window keeps a way back, a taskbar
    // button wherever no tray is there to show the icon.
    void Minimise();
    // The tray icon and whether a tray is there to show it.
    WindowTray& Tray() const { return *tray_; }

    // The main menu (207) with its check marks, at a screen position; the
    // chosen command runs through OnCommand. CreateMainMenu builds it as it
    // would open now (the caller owns it).
    void ShowMainMenu(const QPoint& globalPos);
    QMenu* CreateMainMenu(QWidget* parent);
    // Always on top (32776, key T): written and applied at once.
    void ToggleOnTop();
    void OpenSettingsDialog();
    // Shows and raises the window (a left click on the tray icon).
    void ShowFromTray();
    QSystemTrayIcon* TrayIcon() const;

    // The user's own channels (the list's menu).
    void AddToMyChannels();           // 32793
    void DeleteSelectedUserChannel(); // 32794
    void DeleteAllUserChannels();     // 32795
    UserChannelCommands& UserChannels() const { return *userChannels_; }

    // The service's home page in the browser, or a message when no tab uses
    // a service (the home-page button and command, the time-out question).
    void OpenHomePage();
    // The home page of the service the tabs use; empty when none does.
    QString HomePageAddress() const;
    // The embedded browser; null until a web page is first shown.
    QWidget* WebBrowser() const;
    // What makes the browser: the program hands in the web module's
    // factory, tests a stand-in. Without one the web tabs stay empty.
    void SetWebBrowserFactory(std::function<QWidget*(QWidget* parent)> factory);
    // The update command: the catalogue update check, then its result and
    // the program updater.
    void RunUpdateCommand();
    // Runs a command of the table: an id of a control, of the main menu or
    // of the list's menu (buttons, keys and the tray come here too).
    void OnCommand(CommandId commandId);

    // The tray icon's tooltip follows what plays, and with mediaControls the
    // player is offered to media controllers (MPRIS) on the session bus when
    // one runs. Once, after start-up; the bus is joined after the first paint.
    void StartDesktopIntegration(bool mediaControls);
    // The media controllers' view of the window; null before the start.
    MprisService* MediaControls() const;
    // The user's channels from and to an M3U playlist (32797, 32798); without
    // a path a file dialog asks for one. The import reads and stores off the
    // window's thread and then shows the user tab again.
    void ImportPlaylist(const QString& path = QString());
    void ExportPlaylist(const QString& path = QString());
    bool IsImportingPlaylist() const;

    // A message box with the program's caption; a Yes/No question (true for
    // Yes). Tests answer both through handlers, so nothing waits on a box.
    void ShowMessage(const QString& text);
    bool AskYesNo(const QString& caption, const QString& text);
    void SetQuestionHandler(std::function<bool(const QString&, const QString&)> handler) {
        questionHandler_ = std::move(handler);
    }
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

    // The smallest size the window may have in its current state.
    QSize MinimumSize() const { return MinimumClientSize(session_->IsListPanelOpen()); }

signals:
    // An import has been stored (count channels added) and shown.
    void playlistImported(int count);
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
    void CreateListView();
    void LoadSkin();
    void PrepareWindow();
    void RestoreSettings();
    void PlaceStartupWindow();
    void BindPlayer();
    void ClosePlayer();
    void ApplyPlayerVolume();
    // A row of a regional broadcaster: asks for the region, then plays its
    // station there.
    void AskRegionAndPlay(int row, const QString& channelName);
    void ShowListMenu(const QPoint& globalPos);
    void ConnectButtons();
    CommandTable commands_;
    MainTabs* tabs_ = nullptr;

    WindowTray* tray_ = nullptr;
    WindowStyle* style_ = nullptr;
    StartupRestore* startup_ = nullptr;
    WindowDragger* dragger_ = nullptr;
    WindowInput* input_ = nullptr;

    // Controls: 28 hover buttons by id (1000 and 1005 are not buttons).
    std::array<CMinsButton*, kControlCount> buttons_{};
    ChannelListModel* listModel_ = nullptr;
    CChannelListView* listView_ = nullptr;
    PlayerWidget* player_ = nullptr;
    PlaybackWiring* playback_ = nullptr;
    std::function<bool(const QString&, const QString&)> questionHandler_;
    QIcon icon_;

    ScreenSaverInhibitor* inhibitor_ = nullptr;
    DesktopLink* desktop_ = nullptr;
    Launcher* launcher_ = nullptr;
    std::function<void(const QString&)> messageHandler_;
    GuideAccess guides_;

    DownloadQueue* downloads_ = nullptr;
    CatalogueTabs* catalogue_ = nullptr;
    ChannelGuide* guide_ = nullptr;
    UserChannelCommands* userChannels_ = nullptr;
    // The music and movie pages follow the service the tabs use; empty when
    // none does (the panel then says what is missing).
    QString ServicePage(const QString& buildTimeAddress) const;

    PlayerSession* session_ = nullptr;

    WindowGeometry* geometry_ = nullptr;
    QString dataFolder_;

    bool initialised_ = false;
    bool destroyed_ = false;
    bool firstPaintSeen_ = false;

    WindowStrips* strips_ = nullptr;
    WindowLayout* layout_ = nullptr;
};
