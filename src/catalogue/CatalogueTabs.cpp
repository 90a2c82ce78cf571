#include "catalogue/CatalogueTabs.h"

#include "app/Paths.h"
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/CatalogueUpdater.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/RegionChoice.h"
#include "catalogue/ServiceCatalogueCheck.h"
#include "catalogue/SourceTabs.h"
#include "catalogue/UpdateOutcome.h"

#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

bool IsRegional(Category category) {
    return category == Category::Tv || category == Category::Radio;
}

} // namespace

CatalogueTabs::CatalogueTabs(PlayerSession& session, ChannelListModel& list,
                             DownloadQueue& downloads, QObject* parent)
    : QObject(parent), session_(session), list_(list), downloads_(downloads),
      sources_(new ChannelLists(Paths::DataFolder(), SourceSettings(), this)),
      retry_(new QTimer(this)) {
    // A tab's catalogue comes through the queue the update check uses, one
    // download after the other.
    sources_->SetServiceQueue(&downloads_);
    connect(sources_, &ChannelLists::fetchShown, this, &CatalogueTabs::downloadShown);
    retry_->setSingleShot(true);
    retry_->setInterval(kRetryDelayMs);
    // A tab left without its list asks again by itself, so a program started
    // offline fills its list once the network is back.
    connect(retry_, &QTimer::timeout, this, [this] {
        if (notice_ != Notice::None && session_.Category() == noticeCategory_)
            Open(noticeCategory_);
    });
}

void CatalogueTabs::SetServiceBaseAddress(const QString& base) {
    sources_->SetServiceBaseAddress(base);
}

const QString& CatalogueTabs::ServiceBaseAddress() const {
    return sources_->ServiceBaseAddress();
}

void CatalogueTabs::SetDataFolder(const QString& folder) {
    dataFolder_ = folder;
    sources_->SetDataFolder(DataFolder());
    delete check_;
    check_ = new ServiceCatalogueCheck(&downloads_, dataFolder_, this);
    // A catalogue a tab is still fetching is compared once it is in, rather
    // than taken for missing and fetched a second time.
    check_->SetSettle([this](const QString& fileName, std::function<void()> then) {
        sources_->WhenFetched(CategoryOfCatalogue(fileName), std::move(then));
    });
}

QString CatalogueTabs::DataFolder() const {
    return dataFolder_.isEmpty() ? Paths::DataFolder() : dataFolder_;
}

void CatalogueTabs::Open(Category category, std::function<void()> whenListed) {
    session_.SetCategory(category);
    const unsigned generation = ++generation_;
    searching_ = false;
    list_.Clear();
    // A row number chosen on the list that was just cleared would name
    // another channel here.
    session_.SetCurrentRow(-1);
    familyBlocks_.clear();
    // A tab opened again keeps saying why it is empty until it knows better.
    if (category != noticeCategory_)
        ClearNotice();
    if (category == Category::User) {
        FillUserChannels();
        if (whenListed)
            whenListed();
        return;
    }
    FillFromSource(category, generation, std::move(whenListed));
}

void CatalogueTabs::ReopenForRegion(int row, bool regionChanged,
                                    std::function<void(int row)> play) {
    const Category category = session_.Category();
    // A row in no broadcaster's family (every row of a playlist, the
    // directory or the user's own list) is its own station: the one the
    // user chose plays, as it stands, once the question is answered.
    const bool inFamily =
        std::any_of(familyBlocks_.begin(), familyBlocks_.end(), [row](const auto& block) {
            return row >= block.first && row < block.first + block.count;
        });
    if (!inFamily || (category != Category::Tv && category != Category::Radio)) {
        play(row);
        return;
    }
    const CatalogueFamilyBlocks before = familyBlocks_;
    Open(category, [this, before, row, regionChanged, play = std::move(play)] {
        const int next =
            RegionChoice::RowAfterRegionChange(before, row, familyBlocks_, regionChanged);
        if (next >= 0)
            play(next);
    });
}

void CatalogueTabs::FillUserChannels() {
    // The file lists the oldest first; the list shows the newest on top.
    list_.InsertEachAtTop(CUserChannelFile(DataFolder()).Load());
}

void CatalogueTabs::FillFromSource(Category category, unsigned generation,
                                   std::function<void()> whenListed) {
    // The kept list at once, the refreshed (or first) one when it has
    // arrived; each only while the tab is current. The user may have opened
    // another tab meanwhile: then neither this list nor what waited for it
    // is current.
    const QString region =
        IsRegional(category) ? Settings::ReadText(Settings::LocationForCatalogue) : QString();
    // The kept list and then the refreshed one may both arrive: what waits
    // for the list (playing the chosen region's station) runs once, on the first.
    auto waiting = std::make_shared<std::function<void()>>(std::move(whenListed));
    sources_->Open(
        category, region,
        [this, generation, waiting](ChannelLists::Listing listing) {
            if (generation != generation_)
                return;
            ClearNotice();
            familyBlocks_ = std::move(listing.blocks);
            list_.ReplaceRows(std::move(listing.rows));
            if (auto then = std::exchange(*waiting, nullptr))
                then();
        },
        [this, category, generation, waiting](const ChannelLists::Refresh& why,
                                              ChannelLists::Listing kept) {
            if (generation != generation_)
                return;
            // What the kept file still gives (a catalogue's fallback rows)
            // shows beside the notice.
            if (!kept.rows.empty()) {
                familyBlocks_ = std::move(kept.blocks);
                list_.ReplaceRows(std::move(kept.rows));
            }
            ShowNotice(category, why.answered ? Notice::NoChannel : Notice::Unreachable);
            // No list will come: what waited for one (automatic play) goes
            // on with the empty list instead of waiting for ever.
            if (auto then = std::exchange(*waiting, nullptr))
                then();
        });
}

bool CatalogueTabs::OffersDirectorySearch() const {
    const Category category = session_.Category();
    return category != Category::User &&
           sources_->SourceOf(category).kind == ChannelSource::Kind::Directory;
}

void CatalogueTabs::SearchDirectory(const QString& text) {
    if (!OffersDirectorySearch() || text.trimmed().isEmpty())
        return;
    const unsigned generation = generation_;
    const unsigned search = ++search_;
    emit directorySearchShown(QStringLiteral("찾는 중…"), true);
    sources_->SearchDirectory(
        session_.Category(), text,
        [this, generation, search](ChannelLists::Listing listing, const QString& why) {
            // Another tab, another search or the field closed meanwhile.
            if (generation != generation_ || search != search_)
                return;
            if (!why.isEmpty()) {
                emit directorySearchShown(QStringLiteral("디렉터리: ") + why, false);
                return;
            }
            emit directorySearchShown(QStringLiteral("디렉터리: %1개").arg(listing.rows.size()),
                                      false);
            searching_ = true;
            session_.SetCurrentRow(-1);
            familyBlocks_.clear();
            list_.ReplaceRows(std::move(listing.rows));
        });
}

void CatalogueTabs::EndDirectorySearch() {
    // A search still on its way is answered to nobody.
    ++search_;
    if (searching_)
        Open(session_.Category());
}

QString CatalogueTabs::NoticeText(Notice notice) {
    const QString retry =
        QStringLiteral("1분 뒤에 다시 받아 봅니다. 메뉴의 \"업데이트\"를 고르면 바로 받습니다.");
    switch (notice) {
    case Notice::None:
        break;
    case Notice::Unreachable:
        return QStringLiteral("채널 목록을 받아오지 못했습니다.\n") + retry;
    case Notice::NoChannel:
        return QStringLiteral("받아온 채널 목록에 채널이 없습니다.\n") + retry;
    }
    return QString();
}

void CatalogueTabs::SetRetryDelayMs(int ms) {
    retry_->setInterval(ms);
}

void CatalogueTabs::ShowNotice(Category category, Notice notice) {
    notice_ = notice;
    noticeCategory_ = category;
    retry_->start();
    emit noticeShown(NoticeText(notice));
}

void CatalogueTabs::ClearNotice() {
    retry_->stop();
    noticeCategory_ = Category::None;
    if (std::exchange(notice_, Notice::None) != Notice::None)
        emit noticeShown(QString());
}

bool CatalogueTabs::HasList(Category category) const {
    // A fetch keeps only a list with channels; an empty file is none. A
    // catalogue the update check brought is read at the opening, and one
    // without a channel is fetched again there.
    return QFileInfo(sources_->KeptPath(category)).size() > 0;
}

void CatalogueTabs::RunCatalogueUpdate() {
    CheckCatalogues([](const UpdateOutcome&) {});
}

void CatalogueTabs::CheckCatalogues(std::function<void(const UpdateOutcome& outcome)> done) {
    std::vector<Category> serviceTabs;
    for (const Category category : kAllCategories) {
        if (category != Category::User && sources_->UsesService(category))
            serviceTabs.push_back(category);
    }
    // With no tab on the service (the installed defaults) there is nothing to
    // check, and no address to ask.
    if (serviceTabs.empty()) {
        done(UpdateOutcome());
        return;
    }
    if (!check_) {
        // Without a data folder nothing could be checked: no "latest version".
        UpdateOutcome unchecked;
        for (const Category category : serviceTabs)
            unchecked.AddUnchecked(CatalogueFileOf(category));
        done(unchecked);
        return;
    }
    // Each tab's catalogue is checked against the service that tab reads it
    // from, so a tab on a service of its own never takes another service's
    // version or catalogue. The services come in the order of their first tab.
    std::vector<ServiceCatalogueCheck::Service> services;
    for (const Category category : serviceTabs) {
        const QString base = sources_->ServiceBaseOf(category);
        auto service = std::find_if(services.begin(), services.end(),
                                    [&base](const auto& s) { return s.baseAddress == base; });
        if (service == services.end())
            service = services.insert(services.end(), ServiceCatalogueCheck::Service{base, {}});
        service->catalogueFiles.append(CatalogueFileOf(category));
    }
    // Catalogues of no tab have no service of their own: the first one's.
    for (const auto& pair : CatalogueUpdater::CataloguePairs()) {
        if (CategoryOfCatalogue(pair.second) == Category::None)
            services.front().catalogueFiles.append(pair.second);
    }
    check_->Run(std::move(services), [this, done](const UpdateOutcome& all) {
        // A catalogue no tab reads (one of no tab, or of a tab switched to
        // another source meanwhile) is no news to the user.
        const auto uses = [this](const QString& fileName) {
            const Category category = CategoryOfCatalogue(fileName);
            return category != Category::None && sources_->UsesService(category);
        };
        UpdateOutcome outcome;
        for (const QString& name : all.Current())
            if (uses(name))
                outcome.AddCurrent(name);
        for (const QString& name : all.Replaced())
            if (uses(name))
                outcome.AddReplaced(name);
        for (const QString& name : all.Failed())
            if (uses(name))
                outcome.AddFailed(name);
        for (const QString& name : all.Unchecked())
            if (uses(name))
                outcome.AddUnchecked(name);
        done(outcome);
    });
}

void CatalogueTabs::RunUpdateCheck(std::function<void(const UpdateOutcome& outcome)> done) {
    CheckCatalogues([this, done](const UpdateOutcome& catalogues) {
        // Then every tab that takes its channels from elsewhere, told
        // through the same outcome.
        sources_->RefreshAll([this, catalogues, done](std::vector<ChannelLists::Refresh> results) {
            // A tab that said it has no list shows the one the update brought.
            if (notice_ != Notice::None && session_.Category() == noticeCategory_ &&
                HasList(noticeCategory_))
                Open(noticeCategory_);
            UpdateOutcome outcome = catalogues;
            outcome.Merge(ChannelLists::OutcomeOf(results));
            done(outcome);
        });
    });
}
