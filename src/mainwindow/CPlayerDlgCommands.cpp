// The command table: every command id of the menus, the list's menu, the
// buttons, the keys and the tray; the option toggles and the main menu.

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/SessionSettings.h"
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

// The check mark of an option command.
CommandTable::State OptionShown(PlayerSession& session, SessionOption option) {
    return [&session, option] { return session.IsOn(option); };
}

// An option command flips the flag and stores its new state as "1" or "0".
CommandTable::Action OptionToggle(PlayerSession& session, SessionOption option,
                                  const Settings::Value& value) {
    return [&session, option, &value] { Settings::WriteFlag(value, session.Toggle(option)); };
}

} // namespace

void CPlayerDlg::BuildCommandTable() {
    CommandTable& t = commands_;
    PlayerSession& session = *session_;
    auto option = [&session](SessionOption o) { return OptionShown(session, o); };
    auto toggle = [&session](SessionOption o, const Settings::Value& value) {
        return OptionToggle(session, o, value);
    };
    auto userTab = [&session] { return session.Category() == Category::User; };

    t.Add(
        {MenuCommand::ListPanel, ControlId::ListToggle, ControlId::ListToggleBottom},
        [this] { ToggleListPanel(); }, option(SessionOption::ListCheck));
    t.Add({MenuCommand::Play, ListCommand::Play}, [this] { MenuPlay(); });
    t.Add({ControlId::Play}, [this] { PlaySelected(); });
    t.Add({MenuCommand::Stop, ListCommand::Stop, ControlId::Stop}, [this] { StopPlayback(); });
    t.Add({MenuCommand::OpenUrl}, [this] { OpenUrlDialog(); });
    t.Add({MenuCommand::AutoPlay}, toggle(SessionOption::AutoPlay, Settings::AutoPlay),
          option(SessionOption::AutoPlay));
    t.Add({MenuCommand::AutoClose}, toggle(SessionOption::AutoClose, Settings::AutoClose),
          option(SessionOption::AutoClose));
    t.Add({MenuCommand::AutoHide}, toggle(SessionOption::AutoHide, Settings::AutoHide),
          option(SessionOption::AutoHide));
    t.Add({MenuCommand::FullScreen, ControlId::FullScreen}, [this] { ToggleFullScreen(); });
    t.Add({MenuCommand::VolumeUp}, [this] { VolumeUp(); });
    t.Add({MenuCommand::VolumeDown}, [this] { VolumeDown(); });
    t.Add(
        {MenuCommand::Mute, ControlId::Mute}, [this] { ToggleMute(); },
        [&session] { return session.IsMuted(); });
    t.Add(
        {MenuCommand::OnTop}, [this] { ToggleOnTop(); }, option(SessionOption::OnTop));
    t.Add({MenuCommand::Settings, ControlId::Settings}, [this] { OpenSettingsDialog(); });
    t.Add({MenuCommand::Update}, [this] { RunUpdateCommand(); });
    t.Add(
        {MenuCommand::StartWithSession}, [this] { ToggleStartWithSession(); },
        option(SessionOption::StartWithSession));
    t.Add({MenuCommand::HomePage},
          [this] { DesktopLauncher().OpenInBrowser(Endpoints::HomePageAddress()); });
    t.Add({MenuCommand::About}, [this] { OpenAboutDialog(); });
    t.Add({MenuCommand::Exit, ListCommand::Exit, ControlId::Close}, [this] { OnExit(); });
    t.Add({ListCommand::AddToMyChannels}, [this] { AddToMyChannels(); });
    // The user's own channels only: greyed in the list's menu elsewhere.
    t.Add(
        {ListCommand::DeleteSelected}, [this] { DeleteSelectedUserChannel(); }, nullptr, userTab);
    t.Add(
        {ListCommand::DeleteAll}, [this] { DeleteAllUserChannels(); }, nullptr, userTab);
    t.Add(
        {ListCommand::ImportPlaylist}, [this] { ImportPlaylist(); }, nullptr, userTab);
    t.Add(
        {ListCommand::ExportPlaylist}, [this] { ExportPlaylist(); }, nullptr, userTab);
    t.Add({ControlId::Minimise}, [this] { Minimise(); });
    t.Add({ControlId::MaximiseToggle}, [this] { ToggleMaximise(); });
    t.Add({ControlId::Hide}, [this] { HideWindow(); });
    AddTabCommands();
}

void CPlayerDlg::AddTabCommands() {
    CommandTable& t = commands_;
    for (MainTab tab : kAllMainTabs)
        t.Add({TabControlOf(tab)}, [this, tab] { OnMainTabButton(tab); });
    t.Add({ControlId::TabHome}, [this] { OnHomePageButton(); });
    for (Category category : kAllCategories)
        t.Add({CategoryTabOf(category)}, [this, category] { OpenCategoryTab(category); });
    for (ControlId id : kMusicSubTabButtons)
        t.Add({id}, [this, id] { OnWebSubTab(id); });
    for (ControlId id : kMovieSubTabButtons)
        t.Add({id}, [this, id] { OnWebSubTab(id); });
}

void CPlayerDlg::OnCommand(CommandId commandId) {
    commands_.Run(commandId);
}

void CPlayerDlg::HideWindow() {
    // Hidden, only the tray icon brings the window back; without a tray to
    // show that icon in, the window is minimised instead, never lost.
    if (tray_ && tray_->isVisible() && TrayHostAvailable())
        hide();
    else
        Minimise();
}

QMenu* CPlayerDlg::CreateMainMenu(QWidget* parent) {
    MainMenuChecks checks;
    checks.listPanel = commands_.IsChecked(MenuCommand::ListPanel);
    checks.onTop = commands_.IsChecked(MenuCommand::OnTop);
    checks.mute = commands_.IsChecked(MenuCommand::Mute);
    checks.autoPlay = commands_.IsChecked(MenuCommand::AutoPlay);
    checks.autoClose = commands_.IsChecked(MenuCommand::AutoClose);
    checks.autoHide = commands_.IsChecked(MenuCommand::AutoHide);
    checks.startWithSession = commands_.IsChecked(MenuCommand::StartWithSession);
    return ::CreateMainMenu(parent, checks);
}

void CPlayerDlg::ShowMainMenu(const QPoint& globalPos) {
    QMenu* menu = CreateMainMenu(this);
    const std::optional<CommandId> id = CommandOfAction(menu->exec(globalPos));
    delete menu;
    if (id)
        OnCommand(*id);
}

void CPlayerDlg::ToggleOnTop() {
    const bool onTop = session_->Toggle(SessionOption::OnTop);
    Settings::WriteFlag(Settings::OnTop, onTop);
    SetWindowFlagKeepingPlace(Qt::WindowStaysOnTopHint, onTop);
}

void CPlayerDlg::SetWindowFlagKeepingPlace(Qt::WindowType flag, bool on) {
    SetWindowFlagsKeepingPlace(on ? windowFlags() | flag : windowFlags() & ~flag);
}

void CPlayerDlg::SetWindowFlagsKeepingPlace(Qt::WindowFlags flags) {
    if (flags == windowFlags())
        return;
    // Changing a flag makes a new native window; it keeps its place and size.
    const bool wasVisible = isVisible();
    const QRect place = geometry();
    setWindowFlags(flags);
    if (wasVisible) {
        setGeometry(place);
        show();
    }
}

void CPlayerDlg::ToggleStartWithSession() {
    // The entry starts this very program, wherever it lies.
    SessionSettings::ToggleStartWithSession(*session_, QCoreApplication::applicationFilePath());
}

void CPlayerDlg::OpenSettingsDialog() {
    CSettingsDlg dialog(session_, this);
    dialog.exec();
}

void CPlayerDlg::OpenUrlDialog() {
    COpenUrlDlg dialog(this);
    dialog.SetPlayer([this](const QString& address) { PlayUrl(address); });
    dialog.exec();
}

void CPlayerDlg::OpenAboutDialog() {
    CAboutDlg dialog(this);
    dialog.exec();
}
