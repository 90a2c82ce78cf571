// The channel panel's catalogue side: category tabs, the list's clicks and
// menu, downloads of missing catalogues, and the update check.

#include "mainwindow/CPlayerDlg.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/ListMenu.h"
#include "catalogue/RegionChoice.h"
#include "userchannels/CUserChannelFile.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>

#include <memory>

namespace {

// The catalogue file of categories 1..5.
QString CatalogueFileOf(int category) {
    const QStringList files = Endpoints::CatalogueFileNames();
    return category >= 1 && category <= files.size() ? files.at(category - 1) : QString();
}

} // namespace

QString CPlayerDlg::CataloguePath(const QString& fileName) const {
    return QDir(dataFolder_.isEmpty() ? Paths::DataFolder() : dataFolder_).filePath(fileName);
}

void CPlayerDlg::OpenCategoryTab(int category, std::function<void()> whenListed) {
    session_->SetCategory(category);
    const unsigned generation = ++tabGeneration_;
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    listModel_->Clear();
    familyBlocks_.clear();
    if (category == Category::User) {
        FillCategory(category);
        if (whenListed)
            whenListed();
        return;
    }
    const QString fileName = CatalogueFileOf(category);
    if (fileName.isEmpty())
        return;
    EnsureCatalogueFile(fileName, [this, category, generation, whenListed = std::move(whenListed)] {
        // The user may have opened another tab while this one downloaded:
        // then neither this list nor what waited for it is current.
        if (generation != tabGeneration_)
            return;
        FillCategory(category);
        if (whenListed)
            whenListed();
    });
}

void CPlayerDlg::FillCategory(int category) {
    if (category == Category::User) {
        // The file lists the oldest first; the list shows the newest on top.
        listModel_->InsertEachAtTop(CUserChannelFile(dataFolder_).Load());
        return;
    }
    const QString fileName = CatalogueFileOf(category);
    const bool regional = LayoutOf(fileName).regional;
    const QString region =
        regional ? Settings::ReadText(Settings::LocationForCatalogue) : QString();
    listModel_->AppendRows(
        LoadCatalogueFile(CataloguePath(fileName), fileName, region, &familyBlocks_));
}

void CPlayerDlg::EnsureCatalogueFile(const QString& fileName, std::function<void()> then) {
    const QString path = CataloguePath(fileName);
    if (QFile::exists(path)) {
        then();
        return;
    }
    for (PendingCatalogue& pending : pendingCatalogues_) {
        if (pending.fileName == fileName) {
            pending.waiting.push_back(std::move(then));
            return;
        }
    }
    pendingCatalogues_.push_back(PendingCatalogue{fileName, {std::move(then)}});
    // The list says at once that its rows are on their way.
    listView_->SetDownloadProgress(true, 0, -1);
    // A failed download is quiet: the tab shows what the (missing) file
    // holds, and the next opening tries again.
    downloads_->Enqueue(
        QUrl(serviceBase_ + Endpoints::CataloguePath(fileName)), path,
        DownloadQueue::Check::IniFile, [this, fileName](const DownloadQueue::Result&) {
            std::vector<std::function<void()>> waiting;
            for (auto it = pendingCatalogues_.begin(); it != pendingCatalogues_.end(); ++it) {
                if (it->fileName == fileName) {
                    waiting = std::move(it->waiting);
                    pendingCatalogues_.erase(it);
                    break;
                }
            }
            listView_->SetDownloadProgress(!pendingCatalogues_.empty());
            for (auto& callback : waiting)
                callback();
        });
}

bool CPlayerDlg::IsTabDownload(const QString& targetPath) const {
    for (const PendingCatalogue& pending : pendingCatalogues_) {
        if (CataloguePath(pending.fileName) == targetPath)
            return true;
    }
    return false;
}

void CPlayerDlg::ConnectDownloadDisplay() {
    // Only the tabs' own downloads show in the list, not the update check's.
    connect(downloads_, &DownloadQueue::started, this, [this](const QString& target) {
        if (IsTabDownload(target))
            listView_->SetDownloadProgress(true, 0, -1);
    });
    connect(downloads_, &DownloadQueue::progress, this,
            [this](const QString& target, qint64 received, qint64 total) {
                if (IsTabDownload(target))
                    listView_->SetDownloadProgress(true, received, total);
            });
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
        const QString regionBefore = Settings::ReadText(Settings::LocationForCatalogue);
        CRegionDlg dialog(record.name(), this);
        dialog.exec();
        if (!dialog.Confirmed())
            return;
        // The new region filters the reloaded tab; other tabs store the
        // region only. The row index may now hold another channel, so what
        // plays is the double-clicked broadcaster's station for the region.
        const int category = session_->Category();
        if (category != Category::Tv && category != Category::Radio)
            return;
        const CatalogueFamilyBlocks before = familyBlocks_;
        const bool regionChanged =
            Settings::ReadText(Settings::LocationForCatalogue) != regionBefore;
        OpenCategoryTab(category, [this, before, row, regionChanged] {
            const int next =
                RegionChoice::RowAfterRegionChange(before, row, familyBlocks_, regionChanged);
            if (next < 0)
                return;
            session_->SetCurrentRow(next);
            listView_->selectRow(next);
            PlayRow(next);
        });
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
    if (chosen && chosen->isEnabled())
        OnCommand(chosen->data().toInt());
}

void CPlayerDlg::RunCatalogueUpdate() {
    updater_->RunCatalogueUpdate([](const UpdateOutcome&) {});
}

void CPlayerDlg::RunUpdateCommand() {
    updater_->ClearUpdated();
    updater_->RunCatalogueUpdate([this](const UpdateOutcome& outcome) {
        // Say what happened: a check that could not reach the service, or a
        // catalogue that did not arrive, is no "latest version".
        ShowMessage(outcome.Message());
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
