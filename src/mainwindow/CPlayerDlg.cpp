#include "mainwindow/CPlayerDlg.h"

#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SessionSettings.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/DesktopLink.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/ScreenSaverInhibitor.h"
#include "mainwindow/ServiceHome.h"
#include "mainwindow/StartupRestore.h"
#include "mainwindow/WindowCommands.h"
#include "mainwindow/WindowDragger.h"
#include "mainwindow/WindowGeometry.h"
#include "mainwindow/WindowInput.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowRepaint.h"
#include "mainwindow/WindowStrips.h"
#include "mainwindow/WindowStyle.h"
#include "mainwindow/WindowTray.h"
#include "playback/CWMPPlayer4.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

CPlayerDlg::CPlayerDlg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      inhibitor_(new ScreenSaverInhibitor(this)), launcher_(new Launcher()),
      session_(new PlayerSession(this)), geometry_(new WindowGeometry(*session_)),
      prompter_(new Prompter(*this)) {
    // Whatever a missing skin picture leaves unpainted stays black.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    CreateControls();
    CreateParts();
}

CPlayerDlg::~CPlayerDlg() {
    // A window that was started and is torn down without a close still
    // runs its shutdown, as a destroyed window would.
    if (initialised_)
        OnDestroy();
    // No key or drag reaches a window that is half gone.
    delete input_;
    delete dragger_;
    delete tabs_;
    delete style_;
    delete layout_;
    delete strips_;
    delete service_;
    delete geometry_;
    delete prompter_;
    delete launcher_;
}

void CPlayerDlg::CreateControls() {
    // The player is made when it is bound at start-up, so that a test can
    // put a player of its own in its place first (UsePlayer).
    listModel_ = new ChannelListModel(this);
    controls_.listView = new CChannelListView(listModel_, this);
    for (const ButtonEntry& entry : kButtons) {
        controls_.buttons[ControlIndex(entry.id)] =
            new CMinsButton(ControlNumber(entry.id), QString::fromUtf8(entry.role), this);
    }
}

void CPlayerDlg::CreateParts() {
    channels_ = new ChannelPanel(*this, *session_, *controls_.listView, *listModel_, *launcher_,
                                 *prompter_, commands_, [this](int row) {
                                     if (playback_)
                                         playback_->Watch().PlayRow(row);
                                 });
    service_ = new ServiceHome(channels_->Catalogue().Sources(), *launcher_, *prompter_);
    layout_ = new WindowLayout(*this, *session_, *geometry_, controls_);
    tabs_ = new MainTabs(*this, *session_, controls_, *layout_, *service_, *channels_);
    layout_->SetTabs(*tabs_);
    strips_ = new WindowStrips(layout_->Current(), *session_);
    repaint_ = new WindowRepaint(*this, *session_, *layout_);
    tray_ = new WindowTray(*this, *session_);
    style_ = new WindowStyle(*this, *session_, *tray_);
    connect(tray_, &WindowTray::showRequested, this, [this] { style_->ShowFromTray(); });
    connect(tray_, &WindowTray::menuRequested, this, &CPlayerDlg::ShowMainMenu);
    dragger_ = new WindowDragger(*this, *session_);
    input_ = new WindowInput(*this, *dragger_, *session_, commands_, controls_, *tabs_, *channels_,
                             [this](const QPoint& at) { ShowMainMenu(at); });
    const auto whenPlaying = [this](auto act) {
        return [this, act](auto&&... args) {
            if (playback_)
                act(*playback_, args...);
        };
    };
    DesktopLink::Commands mediaCommands{
        whenPlaying([](PlaybackWiring& p) { p.Watch().MenuPlay(); }),
        whenPlaying([](PlaybackWiring& p) { p.Watch().StopPlayback(); }),
        whenPlaying([](PlaybackWiring& p) { p.Volume().Up(); }),
        whenPlaying([](PlaybackWiring& p) { p.Volume().Down(); }),
        [this] { style_->ShowFromTray(); },
        [this] { Exit(); },
        whenPlaying(
            [](PlaybackWiring& p, const QString& address) { p.Watch().PlayAddress(address); })};
    desktop_ = new DesktopLink(
        *this, *session_, *listModel_, channels_->UserChannels(), *tray_, *prompter_,
        [this] { return channels_->Catalogue().DataFolder(); }, std::move(mediaCommands));
    startup_ = new StartupRestore(this, *session_, *tabs_, *channels_, [this] {
        if (playback_)
            playback_->Watch().PlaySelected();
    });
    AddWindowCommands(commands_, {*this, *session_, *layout_, *style_, *tabs_, *channels_,
                                  *desktop_, *service_, [this] { return playback_; },
                                  [this] { OpenSettingsDialog(); }, [this] { Exit(); }});
    // A click runs the button's command, as the same id from a menu would.
    for (const ButtonEntry& entry : kButtons)
        connect(Button(entry.id), &QAbstractButton::clicked, this,
                [this, id = entry.id] { commands_.Run(CommandId(id)); });
    // The tab groups appear when their main tab is chosen.
    tabs_->ShowGroups(false, false, false);
}

void CPlayerDlg::UsePlayer(PlayerWidget* player) {
    if (playback_ || !player)
        return; // bound already: the watch keeps the player it has
    delete controls_.player;
    controls_.player = player;
    player->setParent(this);
}

void CPlayerDlg::BindPlayer() {
    if (playback_)
        return;
    if (!controls_.player)
        controls_.player = new CWMPPlayer4(this);
    PlayerWidget& player = *controls_.player;
    player.setObjectName(QStringLiteral("player"));
    player.setAccessibleName(QStringLiteral("영상"));
    // Hidden until something with a picture plays.
    player.hide();
    playback_ = new PlaybackWiring({*this, *session_, *listModel_, *layout_, *style_, *prompter_,
                                    *service_, channels_->Catalogue().Sources(), *launcher_},
                                   player);
    repaint_->Follow(player, *Button(ControlId::Mute));
}

void CPlayerDlg::ClosePlayer() {
    if (playback_)
        playback_->Close();
}

bool CPlayerDlg::OnInitDialog() {
    if (initialised_)
        return true;
    initialised_ = true;

    // The window's icon, which the desktop also shows for the minimised
    // window, once the window is up: decoding its seven sizes (some 2 ms)
    // need not delay the window's appearance.
    QTimer::singleShot(0, this, [this] { setWindowIcon(AppIcon()); });

    BindPlayer();
    input_->Install();
    layout_->Run();
    LoadSkin();
    PrepareWindow();
    RestoreSettings();
    channels_->Catalogue().RunCatalogueUpdate();
    return true;
}

void CPlayerDlg::LoadSkin() {
    strips_->LoadPictures(devicePixelRatioF());
    for (const ButtonEntry& entry : kButtons)
        Button(entry.id)->SetImages(entry.normal, entry.pressed, entry.hovered);
}

void CPlayerDlg::PrepareWindow() {
    // The list's look and columns belong to the list view itself.
    inhibitor_->Inhibit(QStringLiteral("WAVEORBIT"), QStringLiteral("방송 시청중"));
    channels_->Catalogue().SetDataFolder(Paths::DataFolder());
    // The notification-area icon as soon as the window is up: making it asks
    // the session bus and the X server for a tray (some 4 ms), which the
    // window's appearance need not wait for.
    QTimer::singleShot(0, tray_, &WindowTray::Create);
    PlaceStartupWindow();
    setWindowTitle(QStringLiteral("WAVEORBIT"));
    // The taskbar button can minimise and restore the frameless window.
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowSystemMenuHint, true);
    // Nothing plays yet.
    controls_.player->hide();
    // The web browser is made when a web tab first shows a page (WebPanel).
}

void CPlayerDlg::PlaceStartupWindow() {
    setMinimumSize(layout_->MinimumSize());
    QRect rect(0, 0, kStartWidth, kStartHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        rect.moveCenter(screen->geometry().center());
    setGeometry(rect);
    // Until the window system reports the size, lay out for the size asked for.
    if (!isVisible())
        layout_->Run();
}

void CPlayerDlg::RestoreSettings() {
    startup_->Restore();
    style_->ApplyOnTop();
    // No taskbar button: the window becomes a tool window, where a tray is.
    style_->ApplyTaskbarStyle();
    // "Sound" goes to the player as it is stored, and the level bar shows it.
    playback_->Volume().StartUp(SessionSettings::StoredVolume());
}

void CPlayerDlg::ShowMainMenu(const QPoint& globalPos) {
    RunMainMenu(this, commands_, globalPos);
}

void CPlayerDlg::OpenSettingsDialog() {
    CSettingsDlg dialog(session_, this);
    connect(&dialog, &CSettingsDlg::sourcesChanged, channels_, &ChannelPanel::ReloadSources);
    const ChannelPanel::GuideAccess& guides = channels_->Guides();
    if (guides.sources)
        dialog.Sources()->SetGuideStatus(guides.sources, guides.refresh);
    if (guides.addressesChanged)
        connect(&dialog, &CSettingsDlg::guidesChanged, this, guides.addressesChanged);
    dialog.exec();
}

void CPlayerDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_->OnResized();
    update();
}

void CPlayerDlg::closeEvent(QCloseEvent* event) {
    OnDestroy();
    event->accept();
    emit closed();
}

void CPlayerDlg::Exit() {
    ClosePlayer();
    close();
}

void CPlayerDlg::OnDestroy() {
    if (destroyed_ || !initialised_)
        return;
    destroyed_ = true;
    startup_->Cancel();

    ClosePlayer();
    controls_.player->hide();
    session_->SetPlaying(false);
    tray_->Remove();
    SessionSettings::WriteAtShutdown(*session_);
    inhibitor_->UnInhibit();
}
