#include "mainwindow/CPlayerDlg.h"

#include "catalogue/ChannelSources.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "mainwindow/ChannelGuide.h"
#include "mainwindow/DesktopLink.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/ScreenSaverInhibitor.h"
#include "mainwindow/StartupRestore.h"
#include "mainwindow/WindowCommands.h"
#include "mainwindow/WindowDragger.h"
#include "mainwindow/WindowGeometry.h"
#include "mainwindow/WindowInput.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStyle.h"
#include "mainwindow/WindowTray.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"
#include "userchannels/UserChannelCommands.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>

CPlayerDlg::CPlayerDlg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), icon_(AppIcon()),
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
    // No key or drag reaches a window that is half gone.
    delete input_;
    delete userChannels_;
    delete geometry_;
    delete tabs_;
    delete style_;
    delete layout_;
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
    input_ = new WindowInput(*this, *dragger_);
    tabs_ = new MainTabs(*this, *session_);
    layout_ = new WindowLayout(*this, *session_, *geometry_);
    tabs_->Web().SetPageAddress([this](const QString& address) { return ServicePage(address); });
    tray_ = new WindowTray(*this);
    style_ = new WindowStyle(*this, *session_, *tray_);
    startup_ = new StartupRestore(*this);
    desktop_ = new DesktopLink(*this);
    strips_ = new WindowStrips(layout_->Current(), *session_);
    for (const ButtonEntry& entry : kButtons) {
        buttons_[ControlIndex(entry.id)] =
            new CMinsButton(ControlNumber(entry.id), QString::fromUtf8(entry.role), this);
    }
    // The tab groups appear when their main tab is chosen.
    tabs_->ShowGroups(false, false, false);
    ConnectButtons();
}

void CPlayerDlg::CreateListView() {
    listModel_ = new ChannelListModel(this);
    listView_ = new CChannelListView(listModel_, this);
    connect(listView_, &CChannelListView::rowClicked, this, &CPlayerDlg::OnListClick);
    connect(listView_, &CChannelListView::rowDoubleClicked, this, &CPlayerDlg::OnListDoubleClick);
    connect(listView_, &CChannelListView::menuRequested, this, &CPlayerDlg::ShowListMenu);
    connect(listView_, &CChannelListView::findPlayRequested, this, &CPlayerDlg::OnListDoubleClick);
    connect(listView_, &CChannelListView::findClosed, this,
            [this] { setFocus(Qt::OtherFocusReason); });
    downloads_ = new DownloadQueue(this);
    catalogue_ = new CatalogueTabs(*session_, *listModel_, *downloads_, this);
    userChannels_ = new UserChannelCommands(*session_, *listModel_,
                                            [this] { return catalogue_->DataFolder(); });
    connect(catalogue_, &CatalogueTabs::downloadShown, listView_,
            &CChannelListView::SetDownloadProgress);
    connect(catalogue_, &CatalogueTabs::noticeShown, listView_, &CChannelListView::SetNotice);
    // A radio directory tab searches the directory from the find field; the
    // tab's own list comes back when the field closes.
    listView_->SetDirectorySearchOffer([this] { return catalogue_->OffersDirectorySearch(); });
    connect(listView_, &CChannelListView::directorySearchRequested, catalogue_,
            &CatalogueTabs::SearchDirectory);
    connect(catalogue_, &CatalogueTabs::directorySearchShown, listView_,
            &CChannelListView::ShowDirectorySearchState);
    connect(listView_, &CChannelListView::findClosed, catalogue_,
            &CatalogueTabs::EndDirectorySearch);
    // The list leaves out what the user chose to hide, from the options.
    const auto applyHiding = [this] {
        listView_->Filter()->SetHiding({session_->IsOn(SessionOption::HideFailed),
                                        session_->IsOn(SessionOption::HideGeoBlocked)});
    };
    connect(session_, &PlayerSession::optionChanged, listView_,
            [applyHiding](SessionOption option) {
                if (option == SessionOption::HideFailed || option == SessionOption::HideGeoBlocked)
                    applyHiding();
            });
    applyHiding();
    // The programme guide follows the playlist tabs' lists as they are read.
    guide_ =
        new ChannelGuide(*session_, &catalogue_->Sources(), Paths::DataFolder(), nullptr, this);
    listModel_->SetToolTipProvider([this](const ChannelRecord& record) {
        return guide_->ToolTip(session_->ShownCategory(), record.Addresses());
    });
    // The guide dialog and the channel-list page reach the guides through it.
    SetGuideAccess({[this](Category category, const QString& key) {
                        return guide_->Book().Find(category, key);
                    },
                    [this](Category category) { return guide_->Book().Sources(category); },
                    [this](Category category, std::function<void()> done) {
                        guide_->Book().Refresh(category, true, std::move(done));
                    },
                    [this] {
                        for (Category category : {Category::Tv, Category::World, Category::Game})
                            guide_->ReloadTab(category);
                    }});
    connect(session_, &PlayerSession::programmeChanged, this, [this] {
        RebuildStrip(WindowStrips::Strip::Caption);
        update(CurrentLayout().captionText.ToRect());
    });
}

void CPlayerDlg::SetServiceBaseAddress(const QString& base) {
    catalogue_->SetServiceBaseAddress(base);
}

ChannelSources* CPlayerDlg::Sources() const {
    return &catalogue_->Sources();
}

void CPlayerDlg::ConnectButtons() {
    AddWindowCommands(commands_, *this);
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
    input_->Install();
    layout_->Run();
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
    tray_->Create();
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
        layout_->Run();
        strips_->RebuildAll();
    }
}

void CPlayerDlg::RestoreSettings() {
    startup_->Restore();
    style_->ApplyOnTop();
    // No taskbar button: the window becomes a tool window, where a tray is.
    style_->ApplyTaskbarStyle();

    // "Sound" goes to the player as it is stored, and the level bar shows it.
    ApplyPlayerVolume();
}

void CPlayerDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout_->OnResized();
    strips_->RebuildAll();
    update();
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
    startup_->Cancel();

    ClosePlayer();
    player_->hide();
    Settings::WriteNumber(Settings::Sound, session_->Volume());
    session_->SetPlaying(false);
    tray_->Remove();
    SessionSettings::WriteTabs(*session_);
    inhibitor_->UnInhibit();
}
