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

void CPlayerDlg::OpenCategoryTab(int category) {
    session_->SetCategory(category);
    const unsigned generation = ++tabGeneration_;
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    listModel_->Clear();
    if (category == Category::User) {
        FillCategory(category);
        return;
    }
    const QString fileName = CatalogueFileOf(category);
    if (fileName.isEmpty())
        return;
    EnsureCatalogueFile(fileName, [this, category, generation] {
        // The user may have opened another tab while this one downloaded.
        if (generation == tabGeneration_)
            FillCategory(category);
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
    listModel_->AppendRows(LoadCatalogueFile(CataloguePath(fileName), fileName, region));
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
