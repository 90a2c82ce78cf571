// Commands (the table is filled by WindowCommands), the main menu and the
// options that act on the window itself.

#include "mainwindow/CPlayerDlg.h"

#include "app/SettingsTable.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/WindowStyle.h"

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
    Settings::WriteFlag(Settings::OnTop, session_->Toggle(SessionOption::OnTop));
    style_->ApplyOnTop();
}

void CPlayerDlg::OpenSettingsDialog() {
    CSettingsDlg dialog(session_, this);
    connect(&dialog, &CSettingsDlg::sourcesChanged, this, &CPlayerDlg::ReloadSources);
    if (guides_.sources)
        dialog.Sources()->SetGuideStatus(guides_.sources, guides_.refresh);
    if (guides_.addressesChanged)
        connect(&dialog, &CSettingsDlg::guidesChanged, this, guides_.addressesChanged);
    dialog.exec();
}
