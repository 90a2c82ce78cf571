// Commands (the table is filled by WindowCommands), the main menu, hiding
// and the window flags the options set.

#include "mainwindow/CPlayerDlg.h"

#include "app/SettingsTable.h"
#include "dialogs/CSettingsDlg.h"
#include "mainwindow/MainMenu.h"

#include <QMenu>

void CPlayerDlg::OnCommand(CommandId commandId) {
    commands_.Run(commandId);
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

void CPlayerDlg::OpenSettingsDialog() {
    CSettingsDlg dialog(session_, this);
    connect(&dialog, &CSettingsDlg::sourcesChanged, this, &CPlayerDlg::ReloadSources);
    dialog.exec();
}
