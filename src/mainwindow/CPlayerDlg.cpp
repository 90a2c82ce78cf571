#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "mainwindow/ScreenSaverInhibitor.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace {

struct ButtonEntry {
    int id;
    const char* role; // accessible name, never shown
    PictureId normal, pressed, hovered;
};

// Every hover button with its Korean role and its pictures at start-up.
const ButtonEntry kButtons[] = {
    {ControlId::Hide, "숨기기", PictureId::Hide, PictureId::HideHover, PictureId::HideHover},
    {ControlId::TabMusic, "음악", PictureId::TabMusic, PictureId::TabMusic, PictureId::TabMusic},
    {ControlId::TabMovie, "영화", PictureId::TabMovie, PictureId::TabMovie, PictureId::TabMovie},
    {ControlId::TabChannels, "채널목록", PictureId::TabChannels, PictureId::TabChannels,
     PictureId::TabChannels},
    {ControlId::TabHome, "홈페이지", PictureId::TabHome, PictureId::TabHome, PictureId::TabHome},
    {ControlId::ListToggle, "목록", PictureId::ListToggleOpen, PictureId::ListToggleOpenHover,
     PictureId::ListToggleOpenHover},
    {ControlId::Mute, "음소거", PictureId::Speaker, PictureId::SpeakerHover,
     PictureId::SpeakerHover},
    {ControlId::Stop, "정지", PictureId::Stop, PictureId::StopHover, PictureId::StopHover},
    {ControlId::Play, "재생", PictureId::Play, PictureId::PlayHover, PictureId::PlayHover},
    {ControlId::Settings, "설정", PictureId::Settings, PictureId::SettingsHover,
     PictureId::SettingsHover},
    {ControlId::ListToggleBottom, "목록", PictureId::ListPanel, PictureId::ListPanelHover,
     PictureId::ListPanelHover},
    {ControlId::Minimise, "최소화", PictureId::Minimise, PictureId::MinimiseHover,
     PictureId::MinimiseHover},
    {ControlId::MaximiseToggle, "최대화", PictureId::Maximise, PictureId::MaximiseHover,
     PictureId::MaximiseHover},
    {ControlId::FullScreen, "전체화면", PictureId::FullScreen, PictureId::FullScreenHover,
     PictureId::FullScreenHover},
    {ControlId::Close, "닫기", PictureId::Close, PictureId::CloseHover, PictureId::CloseHover},
    {ControlId::CategoryTv, "TV", PictureId::CategoryTv, PictureId::CategoryTvHover,
     PictureId::CategoryTvHover},
    {ControlId::CategoryWorld, "해외", PictureId::CategoryWorld, PictureId::CategoryWorldHover,
     PictureId::CategoryWorldHover},
    {ControlId::CategoryGame, "게임", PictureId::CategoryGame, PictureId::CategoryGameHover,
     PictureId::CategoryGameHover},
    {ControlId::CategoryRadio, "라디오", PictureId::CategoryRadio, PictureId::CategoryRadioHover,
     PictureId::CategoryRadioHover},
    {ControlId::CategoryMusic, "음악방송", PictureId::CategoryMusic, PictureId::CategoryMusicHover,
     PictureId::CategoryMusicHover},
    {ControlId::CategoryUser, "마이채널", PictureId::CategoryUser, PictureId::CategoryUserHover,
     PictureId::CategoryUserHover},
    {1023, "음악 1", PictureId::MusicLatest, PictureId::MusicLatestHover,
     PictureId::MusicLatestHover},
    {1024, "음악 2", PictureId::MusicDownload, PictureId::MusicDownloadHover,
     PictureId::MusicDownloadHover},
    {1025, "음악 3", PictureId::MusicChart, PictureId::MusicChartHover, PictureId::MusicChartHover},
    {1026, "음악 4", PictureId::MusicVideo, PictureId::MusicVideoHover, PictureId::MusicVideoHover},
    {1027, "영화 1", PictureId::MovieLatest, PictureId::MovieLatestHover,
     PictureId::MovieLatestHover},
    {1028, "영화 2", PictureId::MovieDrama, PictureId::MovieDramaHover, PictureId::MovieDramaHover},
    {1029, "영화 3", PictureId::MovieClips, PictureId::MovieClipsHover, PictureId::MovieClipsHover},
};

// Pictures of the main tabs: plain, and when the tab is the current one.
struct TabPictures {
    int id;
    PictureId plain, selected;
};
const TabPictures kMainTabs[] = {
    {ControlId::TabChannels, PictureId::TabChannels, PictureId::TabChannelsCurrent},
    {ControlId::TabMusic, PictureId::TabMusic, PictureId::TabMusicCurrent},
    {ControlId::TabMovie, PictureId::TabMovie, PictureId::TabMovieCurrent},
    {ControlId::TabHome, PictureId::TabHome,
     PictureId::TabHomeCurrent}, // plain again once a main tab is chosen
};

} // namespace

CPlayerDlg::CPlayerDlg(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), icon_(AppIconPath()),
      inhibitor_(new ScreenSaverInhibitor(this)), launcher_(new Launcher()),
      serviceBase_(Endpoints::ServiceBaseAddress()), session_(new PlayerSession(this)) {
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
    delete launcher_;
}

CMinsButton* CPlayerDlg::Button(int id) const {
    if (id < ControlId::First || id > ControlId::Last)
        return nullptr;
    return buttons_[static_cast<size_t>(id - ControlId::First)];
}

void CPlayerDlg::CreateControls() {
    // The player is made when it is bound at start-up, so that a test can
    // put a player of its own in its place first (UsePlayer).
    CreateListView();
    for (const ButtonEntry& entry : kButtons) {
        auto* button = new CMinsButton(entry.id, QString::fromUtf8(entry.role), this);
        buttons_[static_cast<size_t>(entry.id - ControlId::First)] = button;
    }
    // The tab groups appear when their main tab is chosen.
    for (int id = ControlId::CategoryTv; id <= ControlId::CategoryUser; ++id)
        Button(id)->hide();
    for (int id = ControlId::MusicSubTabFirst; id <= ControlId::MovieSubTabLast; ++id)
        Button(id)->hide();
    ConnectButtons();
}

void CPlayerDlg::CreateListView() {
    listModel_ = new ChannelListModel(this);
    listView_ = new CChannelListView(listModel_, this);
    connect(listView_, &CChannelListView::rowClicked, this, &CPlayerDlg::OnListClick);
    connect(listView_, &CChannelListView::rowDoubleClicked, this, &CPlayerDlg::OnListDoubleClick);
    connect(listView_, &CChannelListView::menuRequested, this, &CPlayerDlg::ShowListMenu);
    downloads_ = new DownloadQueue(this);
    ConnectDownloadDisplay();
}

void CPlayerDlg::ConnectButtons() {
    BuildCommandTable();
    // A click runs the button's command, as the same id from a menu would.
    for (const ButtonEntry& entry : kButtons)
        connect(Button(entry.id), &QAbstractButton::clicked, this,
                [this, id = entry.id] { OnCommand(id); });
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
    RunCatalogueUpdate();
    return true;
}

void CPlayerDlg::LoadSkin() {
    pictures_ = SkinPictureSet::LoadFrame(devicePixelRatioF());
    for (const ButtonEntry& entry : kButtons)
        Button(entry.id)->SetImages(entry.normal, entry.pressed, entry.hovered);
}

void CPlayerDlg::PrepareWindow() {
    // The list's look and columns belong to the list view itself.
    inhibitor_->Inhibit(QStringLiteral("WAVEORBIT"), QStringLiteral("방송 시청중"));
    dataFolder_ = Paths::DataFolder();
    updater_ = new CatalogueUpdater(downloads_, dataFolder_, serviceBase_, this);
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

void CPlayerDlg::RestoreSettings() {
    const QString menu = Settings::ReadText(Settings::Menu);
    const int subMenu = Settings::ReadNumber(Settings::SubMenu);
    // Automatic play needs the remembered tab's list: while its catalogue is
    // still downloading, it plays once the list has arrived.
    bool listed = true;
    if (menu == QStringLiteral("1")) {
        SelectMainTab(MainTab::Channels);
        // A category that is missing or out of range opens the first tab
        // rather than an empty list under no tab at all.
        const int category =
            subMenu >= Category::Tv && subMenu <= Category::User ? subMenu : Category::Tv;
        startListArrived_ = false;
        OpenCategoryTab(category, [this] {
            startListArrived_ = true;
            if (!autoPlayPending_ || destroyed_)
                return;
            autoPlayPending_ = false;
            if (session_->IsOn(SessionOption::AutoPlay))
                PlaySelected();
        });
        listed = startListArrived_;
    } else if (menu == QStringLiteral("2")) {
        OnMainTabButton(MainTab::Music);
    } else if (menu == QStringLiteral("3")) {
        OnMainTabButton(MainTab::Movie);
    }

    session_->SetOn(SessionOption::StartWithSession,
                    Settings::ReadFlag(Settings::StartWithSession));

    session_->SetOn(SessionOption::AutoPlay, Settings::ReadFlag(Settings::AutoPlay));
    if (session_->IsOn(SessionOption::AutoPlay)) {
        if (listed)
            PlaySelected();
        else
            autoPlayPending_ = true;
    }

    session_->SetOn(SessionOption::AutoClose, Settings::ReadFlag(Settings::AutoClose));
    session_->SetOn(SessionOption::AutoHide, Settings::ReadFlag(Settings::AutoHide));

    session_->SetOn(SessionOption::OnTop, Settings::ReadFlag(Settings::OnTop));
    {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, session_->IsOn(SessionOption::OnTop));
        if (wasVisible)
            show();
    }

    // No taskbar button: the window becomes a tool window, where a tray is.
    session_->SetOn(SessionOption::TrayStyle, Settings::ReadFlag(Settings::Tray));
    ApplyTaskbarStyle();

    session_->SetOn(SessionOption::Magnet, Settings::ReadFlag(Settings::Magnet));

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
    Settings::WriteNumber(Settings::Menu, session_->MainTab());
    Settings::WriteNumber(Settings::SubMenu, session_->Category());
    inhibitor_->UnInhibit();
}

// --- steps that later work fills in ---

void CPlayerDlg::SelectMainTab(int tab) {
    session_->SetMainTab(tab);
    // The current main tab shows its selected picture; its group of tabs
    // shows and the others hide. What the panel then shows (a list or a
    // page) is the tab's own work.
    for (const TabPictures& t : kMainTabs) {
        const PictureId picture = t.id == TabControlOf(tab) ? t.selected : t.plain;
        Button(t.id)->SetImages(picture, picture, picture);
        Button(t.id)->update();
    }
    const bool panel = session_->IsListPanelOpen();
    for (int id = ControlId::CategoryTv; id <= ControlId::CategoryUser; ++id)
        Button(id)->setVisible(panel && tab == MainTab::Channels);
    for (int id = ControlId::MusicSubTabFirst; id <= ControlId::MusicSubTabLast; ++id)
        Button(id)->setVisible(panel && tab == MainTab::Music);
    for (int id = ControlId::MovieSubTabFirst; id <= ControlId::MovieSubTabLast; ++id)
        Button(id)->setVisible(panel && tab == MainTab::Movie);
    if (listView_)
        listView_->setVisible(panel && tab == MainTab::Channels);
    PlaceWebBrowser();
}
