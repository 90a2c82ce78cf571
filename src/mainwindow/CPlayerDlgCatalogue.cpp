// The channel panel's list: the category tabs (through CatalogueTabs), the
// list's clicks and menu, and the update command.

#include "mainwindow/CPlayerDlg.h"

#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ListMenu.h"
#include "catalogue/RegionChoice.h"
#include "mainwindow/MainMenu.h"

#include <QMenu>
#include <QMessageBox>

#include <memory>

void CPlayerDlg::OpenCategoryTab(Category category) {
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    catalogue_->Open(category);
}

void CPlayerDlg::OnListClick(int row) {
    session_->SetCurrentRow(row);
}

void CPlayerDlg::OnListDoubleClick(int row) {
    session_->SetCurrentRow(row);
    const ChannelRecord record = listModel_->Row(row);
    switch (RegionChoice::ActionFor(record, Settings::ReadText(Settings::LocationHide))) {
    case RegionChoice::RowAction::OpenWebPage:
        // A web-page channel opens in the browser; what plays goes on.
        launcher_->OpenInBrowser(record.webUrl());
        return;
    case RegionChoice::RowAction::AskRegion: {
        CRegionDlg dialog(record.name(), this);
        dialog.exec();
        if (!dialog.Confirmed())
            return;
        // The new region filters the reloaded tab; then the row at the same
        // place plays. Other tabs store the region only.
        if (session_->Category() == Category::Tv || session_->Category() == Category::Radio) {
            OpenCategoryTab(session_->Category());
            PlayRow(session_->CurrentRow());
        }
        return;
    }
    case RegionChoice::RowAction::Play:
        PlayRow(session_->CurrentRow());
        return;
    }
}

void CPlayerDlg::ShowListMenu(const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(CreateListMenu(this, session_->Category() == Category::User));
    QAction* chosen = menu->exec(globalPos);
    if (chosen && chosen->isEnabled()) {
        if (const std::optional<CommandId> id = CommandOfAction(chosen))
            OnCommand(*id);
    }
}

void CPlayerDlg::RunUpdateCommand() {
    catalogue_->RunUpdateCheck([this](bool updated) {
        ShowMessage(updated ? QStringLiteral("최신버전으로 업데이트 되었습니다.")
                            : QStringLiteral("현재 버전이 최신버전입니다."));
        // Whatever the message said, the program updater has its turn.
        launcher_->StartUpdater(Paths::ProgramFolder());
    });
}

void CPlayerDlg::ReplaceLauncher(const Launcher& launcher) {
    *launcher_ = launcher;
}

void CPlayerDlg::ShowMessage(const QString& text) {
    if (messageHandler_) {
        messageHandler_(text);
        return;
    }
    QMessageBox::information(this, QStringLiteral("WAVEORBIT"), text);
}
