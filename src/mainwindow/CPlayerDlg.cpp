#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "mainwindow/CMinsButton.h"
#include "mainwindow/ScreenSaverInhibitor.h"
#include "mainwindow/SkinInventory.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace {

struct ButtonEntry {
    int id;
    const char* role; // accessible name, never shown
    int normal, pressed, hovered;
};

// Every hover button with its Korean role and its pictures at start-up.
const ButtonEntry kButtons[] = {
    {ControlId::Hide, "숨기기", 176, 177, 177},
    {ControlId::TabMusic, "음악", 170, 170, 170},
    {ControlId::TabMovie, "영화", 172, 172, 172},
    {ControlId::TabChannels, "채널목록", 168, 168, 168},
    {ControlId::TabHome, "홈페이지", 174, 174, 174},
    {ControlId::ListToggle, "목록", 154, 155, 155},
    {ControlId::Mute, "음소거", 164, 166, 166},
    {ControlId::Stop, "정지", 158, 159, 159},
    {ControlId::Play, "재생", 156, 157, 157},
    {ControlId::Settings, "설정", 162, 163, 163},
    {ControlId::ListToggleBottom, "목록", 160, 161, 161},
    {ControlId::Minimise, "최소화", 148, 149, 149},
    {ControlId::MaximiseToggle, "최대화", 146, 147, 147},
    {ControlId::FullScreen, "전체화면", 150, 151, 151},
    {ControlId::Close, "닫기", 144, 145, 145},
    {ControlId::CategoryTv, "TV", 180, 181, 181},
    {ControlId::CategoryWorld, "해외", 182, 183, 183},
    {ControlId::CategoryGame, "게임", 184, 185, 185},
    {ControlId::CategoryRadio, "라디오", 186, 187, 187},
    {ControlId::CategoryMusic, "음악방송", 188, 189, 189},
    {ControlId::CategoryUser, "마이채널", 190, 191, 191},
    {1023, "음악 1", 192, 193, 193},
    {1024, "음악 2", 194, 195, 195},
    {1025, "음악 3", 196, 197, 197},
    {1026, "음악 4", 198, 199, 199},
    {1027, "영화 1", 200, 201, 201},
    {1028, "영화 2", 202, 203, 203},
    {1029, "영화 3", 204, 205, 205},
};

// Pictures of the main tabs: plain, and when the tab is the current one.
struct TabPictures {
    int id, plain, selected;
};
const TabPictures kMainTabs[] = {
    {ControlId::TabChannels, 168, 169},
    {ControlId::TabMusic, 170, 171},
    {ControlId::TabMovie, 172, 173},
    {ControlId::TabHome, 174, 175}, // plain again once a main tab is chosen
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
    pictures_ = SkinPictureSet::LoadFrame();
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
    if (menu == QStringLiteral("1")) {
        SelectMainTab(MainTab::Channels);
        // A category that is missing or out of range opens the first tab
        // rather than an empty list under no tab at all.
        OpenCategoryTab(subMenu >= Category::Tv && subMenu <= Category::User ? subMenu
                                                                             : Category::Tv);
    } else if (menu == QStringLiteral("2")) {
        OnMainTabButton(MainTab::Music);
    } else if (menu == QStringLiteral("3")) {
        OnMainTabButton(MainTab::Movie);
    }

    session_->SetOn(SessionOption::StartWithSession,
                    Settings::ReadFlag(Settings::StartWithSession));

    session_->SetOn(SessionOption::AutoPlay, Settings::ReadFlag(Settings::AutoPlay));
    if (session_->IsOn(SessionOption::AutoPlay))
        PlaySelected();

    session_->SetOn(SessionOption::AutoClose, Settings::ReadFlag(Settings::AutoClose));
    session_->SetOn(SessionOption::AutoHide, Settings::ReadFlag(Settings::AutoHide));

    session_->SetOn(SessionOption::OnTop, Settings::ReadFlag(Settings::OnTop));
    {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, session_->IsOn(SessionOption::OnTop));
        if (wasVisible)
            show();
    }

    // No taskbar button: the window becomes a tool window.
    session_->SetOn(SessionOption::TrayStyle, Settings::ReadFlag(Settings::Tray));
    if (session_->IsOn(SessionOption::TrayStyle)) {
        const bool wasVisible = isVisible();
        setWindowFlag(Qt::Tool, true);
        if (wasVisible)
            show();
    }

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
        const int picture = t.id == TabControlOf(tab) ? t.selected : t.plain;
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
