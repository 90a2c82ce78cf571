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
#include "catalogue/ChannelSources.h"
#include "catalogue/RegionChoice.h"
#include "catalogue/UpdateOutcome.h"
#include "mainwindow/ChannelGuide.h"
#include "mainwindow/ListMenu.h"
#include "mainwindow/MainMenu.h"

#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <utility>

void CPlayerDlg::OpenCategoryTab(Category category, std::function<void()> whenListed) {
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    // What was typed narrowed the tab being left.
    CloseFindField();
    catalogue_->Open(category, std::move(whenListed));
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
    case RegionChoice::RowAction::AskRegion:
        AskRegionAndPlay(row, record.name());
        return;
    case RegionChoice::RowAction::Play:
        PlayRow(session_->CurrentRow());
        return;
    }
}

void CPlayerDlg::AskRegionAndPlay(int row, const QString& channelName) {
    const QString regionBefore = Settings::ReadText(Settings::LocationForCatalogue);
    CRegionDlg dialog(channelName, this);
    dialog.exec();
    if (!dialog.Confirmed())
        return;
    const bool regionChanged = Settings::ReadText(Settings::LocationForCatalogue) != regionBefore;
    catalogue_->ReopenForRegion(row, regionChanged, [this](int next) {
        session_->SetCurrentRow(next);
        listView_->SelectListRow(next);
        PlayRow(next);
    });
}

void CPlayerDlg::OpenFindField() {
    // Only over a list the user sees.
    if (listView_->isVisible())
        listView_->OpenFind();
}

bool CPlayerDlg::CloseFindField() {
    // Full screen hides the list: Escape there leaves full screen.
    return listView_->isVisible() && listView_->CloseFind();
}

void CPlayerDlg::ShowListMenu(const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(CreateListMenu(this, session_->Category() == Category::User,
                                               commands_.IsEnabled(ListCommand::Guide)));
    QAction* chosen = menu->exec(globalPos);
    if (chosen && chosen->isEnabled()) {
        if (const std::optional<CommandId> id = CommandOfAction(chosen))
            OnCommand(*id);
    }
}

void CPlayerDlg::RunUpdateCommand() {
    catalogue_->RunUpdateCheck([this](const UpdateOutcome& lists) {
        // Then every playlist tab's guides, fetched again whatever their age.
        guide_->RefreshAll([this, lists](const UpdateOutcome& guides) {
            // Say what happened, for the catalogues and every other source of
            // channels: a check that could not reach the service, or a list
            // that did not arrive, is no "latest version"; then, on lines of
            // their own, the guides that arrived and those that did not. The
            // message box runs an event loop of its own: it is opened once
            // the update's callbacks have all returned, so nothing finishing
            // meanwhile finds the update half done.
            QString message = lists.Message();
            const QString guideLines = ChannelGuide::UpdateLines(guides);
            if (!guideLines.isEmpty())
                message += QLatin1Char('\n') + guideLines;
            QTimer::singleShot(0, this, [this, message] {
                ShowMessage(message);
                // Whatever the message said, the program updater has its turn.
                launcher_->StartUpdater(Paths::ProgramFolder());
            });
        });
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

void CPlayerDlg::ReloadSources() {
    // A tab no longer on a playlist has no guide; the user's guide
    // addresses may have changed too.
    for (Category category : {Category::Tv, Category::World, Category::Game})
        guide_->ReloadTab(category);
    if (session_->MainTab() == MainTab::Channels && session_->Category() != Category::User)
        OpenCategoryTab(session_->Category());
}
