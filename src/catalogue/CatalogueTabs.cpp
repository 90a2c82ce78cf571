#include "catalogue/CatalogueTabs.h"

#include "app/Endpoints.h"
#include "app/Paths.h"
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/DownloadQueue.h"
#include "userchannels/CUserChannelFile.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

// The catalogue file of a category; none for the user's channels.
QString CatalogueFileOf(Category category) {
    const QStringList files = Endpoints::CatalogueFileNames();
    const int index = StoredNumberOf(category) - StoredNumberOf(Category::Tv);
    return category != Category::User && index >= 0 && index < files.size() ? files.at(index)
                                                                            : QString();
}

} // namespace

CatalogueTabs::CatalogueTabs(PlayerSession& session, ChannelListModel& list,
                             DownloadQueue& downloads, QObject* parent)
    : QObject(parent), session_(session), list_(list), downloads_(downloads),
      serviceBase_(Endpoints::ServiceBaseAddress()) {
    // Only the tabs' own downloads show in the list, not the update check's.
    connect(&downloads_, &DownloadQueue::started, this, [this](const QString& target) {
        if (IsTabDownload(target))
            emit downloadShown(true, 0, -1);
    });
    connect(&downloads_, &DownloadQueue::progress, this,
            [this](const QString& target, qint64 received, qint64 total) {
                if (IsTabDownload(target))
                    emit downloadShown(true, received, total);
            });
}

void CatalogueTabs::SetDataFolder(const QString& folder) {
    dataFolder_ = folder;
    delete updater_;
    updater_ = new CatalogueUpdater(&downloads_, dataFolder_, serviceBase_, this);
}

QString CatalogueTabs::DataFolder() const {
    return dataFolder_.isEmpty() ? Paths::DataFolder() : dataFolder_;
}

QString CatalogueTabs::CataloguePath(const QString& fileName) const {
    return QDir(DataFolder()).filePath(fileName);
}

void CatalogueTabs::Open(Category category, std::function<void()> whenListed) {
    session_.SetCategory(category);
    const unsigned generation = ++generation_;
    list_.Clear();
    familyBlocks_.clear();
    if (category == Category::User) {
        Fill(category);
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
        if (generation != generation_)
            return;
        Fill(category);
        if (whenListed)
            whenListed();
    });
}

void CatalogueTabs::Fill(Category category) {
    if (category == Category::User) {
        // The file lists the oldest first; the list shows the newest on top.
        list_.InsertEachAtTop(CUserChannelFile(DataFolder()).Load());
        return;
    }
    const QString fileName = CatalogueFileOf(category);
    const bool regional = LayoutOf(fileName).regional;
    const QString region =
        regional ? Settings::ReadText(Settings::LocationForCatalogue) : QString();
    list_.AppendRows(LoadCatalogueFile(CataloguePath(fileName), fileName, region, &familyBlocks_));
}

void CatalogueTabs::EnsureCatalogueFile(const QString& fileName, std::function<void()> then) {
    const QString path = CataloguePath(fileName);
    if (QFile::exists(path)) {
        then();
        return;
    }
    for (PendingCatalogue& pending : pending_) {
        if (pending.fileName == fileName) {
            pending.waiting.push_back(std::move(then));
            return;
        }
    }
    pending_.push_back(PendingCatalogue{fileName, {std::move(then)}});
    // The list says at once that its rows are on their way.
    emit downloadShown(true, 0, -1);
    // A failed download is quiet: the tab shows what the (missing) file
    // holds, and the next opening tries again.
    downloads_.Enqueue(
        QUrl(serviceBase_ + Endpoints::CataloguePath(fileName)), path,
        DownloadQueue::Check::IniFile,
        [this, fileName](const DownloadQueue::Result&) { FinishDownload(fileName); });
}

void CatalogueTabs::FinishDownload(const QString& fileName) {
    std::vector<std::function<void()>> waiting;
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (it->fileName == fileName) {
            waiting = std::move(it->waiting);
            pending_.erase(it);
            break;
        }
    }
    emit downloadShown(!pending_.empty(), 0, -1);
    for (auto& callback : waiting)
        callback();
}

bool CatalogueTabs::IsTabDownload(const QString& targetPath) const {
    for (const PendingCatalogue& pending : pending_) {
        if (CataloguePath(pending.fileName) == targetPath)
            return true;
    }
    return false;
}

void CatalogueTabs::RunCatalogueUpdate() {
    if (updater_)
        updater_->RunCatalogueUpdate([](const UpdateOutcome&) {});
}

void CatalogueTabs::RunUpdateCheck(std::function<void(const UpdateOutcome& outcome)> done) {
    if (!updater_) {
        // Without a data folder nothing could be checked: no "latest version".
        UpdateOutcome unchecked;
        for (const QString& name : Endpoints::CatalogueFileNames())
            unchecked.AddUnchecked(name);
        done(unchecked);
        return;
    }
    updater_->ClearUpdated();
    updater_->RunCatalogueUpdate(std::move(done));
}
