// The command table: every command id of the menus, the list's menu, the
// buttons and the tray; the option toggles and the main menu.

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/SettingsTable.h"
#include "catalogue/ListMenu.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COpenUrlDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "mainwindow/MainMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

// Flips an option and stores its new state as "1" or "0".
void ToggleOption(bool& flag, const Settings::Value& value) {
    flag = !flag;
    Settings::WriteFlag(value, flag);
}

} // namespace

void CPlayerDlg::OnCommand(int commandId) {
    switch (commandId) {
    case MenuCommand::ListPanel:
    case ControlId::ListToggleBottom:
    case ControlId::ListToggle:
        ToggleListPanel();
        break;
    case MenuCommand::Play:
    case ListCommand::Play:
        MenuPlay();
        break;
    case ControlId::Play:
        PlaySelected();
        break;
    case MenuCommand::Stop:
    case ListCommand::Stop:
    case ControlId::Stop:
        StopPlayback();
        break;
    case MenuCommand::OpenUrl:
        OpenUrlDialog();
        break;
    case MenuCommand::AutoPlay:
        ToggleOption(autoPlay_, Settings::AutoPlay);
        break;
    case MenuCommand::AutoClose:
        ToggleOption(autoClose_, Settings::AutoClose);
        break;
    case MenuCommand::AutoHide:
        ToggleOption(autoHide_, Settings::AutoHide);
        break;
    case MenuCommand::FullScreen:
    case ControlId::FullScreen:
        ToggleFullScreen();
        break;
    case MenuCommand::VolumeUp:
        VolumeUp();
        break;
    case MenuCommand::VolumeDown:
        VolumeDown();
        break;
    case MenuCommand::Mute:
    case ControlId::Mute:
        ToggleMute();
        break;
    case MenuCommand::OnTop:
        ToggleOnTop();
        break;
    case MenuCommand::Settings:
    case ControlId::Settings:
        OpenSettingsDialog();
        break;
    case MenuCommand::Update:
        RunUpdateCommand();
        break;
    case MenuCommand::StartWithSession:
        ToggleStartWithSession();
        break;
    case MenuCommand::HomePage:
        DesktopLauncher().OpenInBrowser(Endpoints::HomePageAddress());
        break;
    case MenuCommand::About:
        OpenAboutDialog();
        break;
    case MenuCommand::Exit:
    case ListCommand::Exit:
    case ControlId::Close:
        OnExit();
        break;
    case ListCommand::AddToMyChannels:
        AddToMyChannels();
        break;
    case ListCommand::DeleteSelected:
        DeleteSelectedUserChannel();
        break;
    case ListCommand::DeleteAll:
        DeleteAllUserChannels();
        break;
    case ListCommand::ImportPlaylist:
        ImportPlaylist();
        break;
    case ListCommand::ExportPlaylist:
        ExportPlaylist();
        break;
    case ControlId::Minimise:
        showMinimized();
        break;
    case ControlId::MaximiseToggle:
        ToggleMaximise();
        break;
    case ControlId::Hide:
        HideWindow();
        break;
    case ControlId::TabChannels:
    case ControlId::TabMusic:
    case ControlId::TabMovie:
        SelectMainTab(commandId - ControlId::TabChannels + MainTab::Channels);
        break;
    default:
        if (commandId >= ControlId::CategoryTv && commandId <= ControlId::CategoryUser)
            OpenCategoryTab(commandId - ControlId::CategoryTv + Category::Tv);
        break;
    }
}

void CPlayerDlg::HideWindow() {
    // Hidden, only the tray icon brings the window back; without a tray to
    // show that icon in, the window is minimised instead, never lost.
    if (tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
        hide();
    else
        showMinimized();
}

QMenu* CPlayerDlg::CreateMainMenu(QWidget* parent) {
    MainMenuChecks checks;
    checks.listPanel = listCheck_;
    checks.onTop = onTop_;
    checks.mute = mute_;
    checks.autoPlay = autoPlay_;
    checks.autoClose = autoClose_;
    checks.autoHide = autoHide_;
    checks.startWithSession = startWithSession_;
    return ::CreateMainMenu(parent, checks);
}

void CPlayerDlg::ShowMainMenu(const QPoint& globalPos) {
    QMenu* menu = CreateMainMenu(this);
    const int id = MenuCommandOf(menu->exec(globalPos));
    delete menu;
    if (id != 0)
        OnCommand(id);
}

void CPlayerDlg::ToggleOnTop() {
    onTop_ = !onTop_;
    Settings::WriteFlag(Settings::OnTop, onTop_);
    // Changing the flag makes a new native window; it keeps its place and size.
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop_);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
}

void CPlayerDlg::ToggleStartWithSession() {
    if (startWithSession_) {
        startWithSession_ = false;
        Settings::Delete(Settings::StartWithSession);
    } else {
        startWithSession_ = true;
        // The entry starts this very program, wherever it lies.
        Settings::WriteText(Settings::StartWithSession, QCoreApplication::applicationFilePath());
    }
}

void CPlayerDlg::OpenSettingsDialog() {
    CSettingsDlg dialog;
    dialog.exec();
}

void CPlayerDlg::OpenUrlDialog() {
    COpenUrlDlg dialog;
    dialog.exec();
}

void CPlayerDlg::OpenAboutDialog() {
    CAboutDlg dialog;
    dialog.exec();
}
