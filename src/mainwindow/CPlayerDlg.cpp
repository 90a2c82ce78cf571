#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/ScreenSaverInhibitor.h"
#include "mainwindow/WebPanel.h"
#include "mainwindow/WindowDragger.h"
#include "mainwindow/WindowGeometry.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"
#include "userchannels/UserChannelCommands.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

CPlayerDlg::CPlayerDlg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), icon_(AppIconPath()),
      inhibitor_(new ScreenSaverInhibitor(this)), launcher_(new Launcher()),
      session_(new PlayerSession(this)), geometry_(new WindowGeometry(*session_)) {
    // Whatever a missing skin picture leaves unpainted stays black.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    CreateControls();
}

CPlayerDlg::~CPlayerDlg() {
    // A window that was started and is torn down without a close still
    // runs its shutdown, as a destroyed window would.
    if (initialised_)
        OnDestroy();
    delete userChannels_;
    delete geometry_;
    delete web_;
    delete strips_;
    delete launcher_;
}

CMinsButton* CPlayerDlg::Button(ControlId id) const {
    return buttons_[ControlIndex(id)];
}

void CPlayerDlg::CreateControls() {
    // The player is made when it is bound at start-up, so that a test can
    // put a player of its own in its place first (UsePlayer).
    CreateListView();
    dragger_ = new WindowDragger(*this, *session_);
    web_ = new WebPanel(*this);
    strips_ = new WindowStrips(layout_, *session_);
    for (const ButtonEntry& entry : kButtons) {
        buttons_[ControlIndex(entry.id)] =
            new CMinsButton(ControlNumber(entry.id), QString::fromUtf8(entry.role), this);
    }
    // The tab groups appear when their main tab is chosen.
    ShowTabGroups(false, false, false);
    ConnectButtons();
}

void CPlayerDlg::CreateListView() {
    listModel_ = new ChannelListModel(this);
    listView_ = new CChannelListView(listModel_, this);
    connect(listView_, &CChannelListView::rowClicked, this, &CPlayerDlg::OnListClick);
    connect(listView_, &CChannelListView::rowDoubleClicked, this, &CPlayerDlg::OnListDoubleClick);
    connect(listView_, &CChannelListView::menuRequested, this, &CPlayerDlg::ShowListMenu);
    downloads_ = new DownloadQueue(this);
    catalogue_ = new CatalogueTabs(*session_, *listModel_, *downloads_, this);
    userChannels_ = new UserChannelCommands(*session_, *listModel_,
                                            [this] { return catalogue_->DataFolder(); });
    connect(catalogue_, &CatalogueTabs::downloadShown, listView_,
            &CChannelListView::SetDownloadProgress);
}

void CPlayerDlg::SetServiceBaseAddress(const QString& base) {
    catalogue_->SetServiceBaseAddress(base);
}

void CPlayerDlg::ConnectButtons() {
    BuildCommandTable();
    // A click runs the button's command, as the same id from a menu would.
    for (const ButtonEntry& entry : kButtons)
        connect(Button(entry.id), &QAbstractButton::clicked, this,
                [this, id = entry.id] { OnCommand(CommandId(id)); });
}

bool CPlayerDlg::OnInitDialog() {
    if (initialised_)
        return true;
    initialised_ = true;

    // Icons: the window's, which the desktop also shows for the minimised window.
    setWindowIcon(icon_);

    BindPlayer();
    InstallInput();
    RunLayoutPass();
    LoadSkin();
    PrepareWindow();
    RestoreSettings();
    catalogue_->RunCatalogueUpdate();
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
    dataFolder_ = Paths::DataFolder();
    catalogue_->SetDataFolder(dataFolder_);
    CreateTrayIcon();
    PlaceStartupWindow();
    setWindowTitle(QStringLiteral("WAVEORBIT"));
    // The taskbar button can minimise and restore the frameless window.
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowSystemMenuHint, true);
    // Nothing plays yet.
    player_->hide();
    // The web browser is made when a web tab first shows a page (CPlayerDlgWeb.cpp).
}

void CPlayerDlg::PlaceStartupWindow() {
    setMinimumSize(MinimumSize());
    QRect rect(0, 0, kStartWidth, kStartHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        rect.moveCenter(screen->geometry().center());
    setGeometry(rect);
    // Until the window system reports the size, lay out for the size asked for.
    if (!isVisible()) {
        RunLayoutPass();
        RebuildAllStrips();
    }
}

bool CPlayerDlg::RestoreTabs() {
    const QString menu = Settings::ReadText(Settings::Menu);
    if (menu == QStringLiteral("2")) {
        OnMainTabButton(MainTab::Music);
    } else if (menu == QStringLiteral("3")) {
        OnMainTabButton(MainTab::Movie);
    } else if (menu == QStringLiteral("1")) {
        SelectMainTab(MainTab::Channels);
        // A category that is missing or out of range opens the first tab
        // rather than an empty list under no tab at all.
        Category category = CategoryFromStored(Settings::ReadNumber(Settings::SubMenu));
        if (category == Category::None)
            category = Category::Tv;
        startListArrived_ = false;
        OpenCategoryTab(category, [this] {
            startListArrived_ = true;
            if (!autoPlayPending_ || destroyed_)
                return;
            autoPlayPending_ = false;
            if (session_->IsOn(SessionOption::AutoPlay))
                PlaySelected();
        });
        return startListArrived_;
    }
    return true;
}

void CPlayerDlg::RestoreSettings() {
    // Automatic play needs the remembered tab's list: while its catalogue is
    // still downloading, it plays once the list has arrived.
    const bool listed = RestoreTabs();
    // What the options start (auto-play) acts only after this, whatever
    // the order they are read in.
    SessionSettings::ReadOptions(*session_);
    if (session_->IsOn(SessionOption::AutoPlay)) {
        if (listed)
            PlaySelected();
        else
            autoPlayPending_ = true;
    }
    SetWindowFlagKeepingPlace(Qt::WindowStaysOnTopHint, session_->IsOn(SessionOption::OnTop));
    // No taskbar button: the window becomes a tool window, where a tray is.
    ApplyTaskbarStyle();

    // "Sound" goes to the player as it is stored, and the level bar shows it.
    ApplyPlayerVolume();
}

void CPlayerDlg::closeEvent(QCloseEvent* event) {
    OnDestroy();
    event->accept();
    emit closed();
}

void CPlayerDlg::OnExit() {
    ClosePlayer();
    close();
}

void CPlayerDlg::OnDestroy() {
    if (destroyed_ || !initialised_)
        return;
    destroyed_ = true;

    ClosePlayer();
    player_->hide();
    Settings::WriteNumber(Settings::Sound, session_->Volume());
    session_->SetPlaying(false);
    RemoveTrayIcon();
    SessionSettings::WriteTabs(*session_);
    inhibitor_->UnInhibit();
}

void CPlayerDlg::ShowTabGroups(bool categories, bool music, bool movie) {
    for (ControlId id : kCategoryTabButtons)
        Button(id)->setVisible(categories);
    for (ControlId id : kMusicSubTabButtons)
        Button(id)->setVisible(music);
    for (ControlId id : kMovieSubTabButtons)
        Button(id)->setVisible(movie);
}

void CPlayerDlg::SelectMainTab(MainTab tab) {
    session_->SetMainTab(tab);
    // The current main tab shows its selected picture; its group of tabs
    // shows and the others hide. What the panel then shows (a list or a
    // page) is the tab's own work.
    for (const TabPictures& t : kMainTabPictures) {
        const PictureId picture = t.id == TabControlOf(tab) ? t.selected : t.plain;
        Button(t.id)->SetImages(picture, picture, picture);
        Button(t.id)->update();
    }
    const bool panel = session_->IsListPanelOpen();
    ShowTabGroups(panel && tab == MainTab::Channels, panel && tab == MainTab::Music,
                  panel && tab == MainTab::Movie);
    if (listView_)
        listView_->setVisible(panel && tab == MainTab::Channels);
    PlaceWebBrowser();
}
