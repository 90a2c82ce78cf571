#pragma once

#include "app/ChannelTabs.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/DownloadQueue.h"

#include <QObject>
#include <QString>

#include <functional>

class ChannelLists;
class ServiceCatalogueCheck;
class UpdateOutcome;
class ChannelListModel;
class PlayerSession;
class QTimer;

// The channel panel's catalogue tabs: which category the list shows, filling
// it from the tab's source (the service's catalogue, downloaded first when it
// is missing, a playlist or the radio directory), and the update check of the
// service's catalogues. Widget-free; the window shows the list and the
// download line it reports.
class CatalogueTabs : public QObject {
    Q_OBJECT
public:
    // What the list's place says when a tab has nothing to show.
    enum class Notice {
        None,
        Unreachable, // the list could not be fetched
        NoChannel,   // the source answered, but with no channel in it
    };
    static QString NoticeText(Notice notice);
    // How long a tab left without its list waits before it asks again.
    static constexpr int kRetryDelayMs = 60 * 1000;

    CatalogueTabs(PlayerSession& session, ChannelListModel& list, DownloadQueue& downloads,
                  QObject* parent = nullptr);

    // Where catalogues and the version list come from (tests point it at a
    // server of their own); set before the data folder.
    void SetServiceBaseAddress(const QString& base);
    const QString& ServiceBaseAddress() const;
    // Where catalogues are kept; the update check works from then on.
    void SetDataFolder(const QString& folder);
    // The data folder; the default one until it is set.
    QString DataFolder() const;

    // Chooses a category and fills the list with its channels. The rows come
    // from a worker, and a missing catalogue is downloaded first; whenListed
    // runs once, after they are in (or once it is clear none will come);
    // neither happens when another tab has been opened meanwhile.
    void Open(Category category, std::function<void()> whenListed = {});
    // After a region was chosen for the row a broadcaster was double-clicked
    // at: a regional tab (TV, radio) is opened again under the stored region,
    // and `play` learns where that broadcaster's station for the region now
    // stands (not whatever row has the old index). A row in no family (any
    // row of a playlist, the directory or another tab) plays as it is.
    void ReopenForRegion(int row, bool regionChanged, std::function<void(int row)> play);
    // Where each family's rows lie in the list as last filled (empty for the
    // user's channels).
    const CatalogueFamilyBlocks& FamilyBlocks() const { return familyBlocks_; }

    // The update check for the catalogues of the tabs that use a service,
    // each against its own service, then the removal of the downloaded
    // version list; quiet.
    void RunCatalogueUpdate();
    // The same check for the update command, then a refresh of every tab
    // that does not use the service; `done` learns what all of it came to.
    void RunUpdateCheck(std::function<void(const UpdateOutcome& outcome)> done);

    // Where each tab takes its channels from.
    ChannelLists& Sources() const { return *sources_; }

    // A radio directory tab offers the directory's own name search from the
    // find field; its answer takes the list's place until the search ends
    // (the find field closed), when the tab's own list comes back.
    bool OffersDirectorySearch() const;
    void SearchDirectory(const QString& text);
    void EndDirectorySearch();
    bool IsShowingDirectorySearch() const { return searching_; }

    // What the open tab says in place of its list (None while it has one or
    // is still waiting for it).
    Notice ShownNotice() const { return notice_; }
    void SetRetryDelayMs(int ms);

signals:
    // The list's download line: on while a tab with nothing kept waits for
    // its list, with the bytes so far (total -1 while unknown).
    void downloadShown(bool active, qint64 received, qint64 total);
    // The line shown in the list's place; empty when there is none.
    void noticeShown(const QString& text);
    // How the directory search goes, for the find field: "찾는 중…" while
    // busy, then how many stations were found or why none were.
    void directorySearchShown(const QString& state, bool busy);

private:
    void FillUserChannels();
    void FillFromSource(Category category, unsigned generation, std::function<void()> whenListed);
    void ShowNotice(Category category, Notice notice);
    void ClearNotice();
    // Whether the tab's list is in the data folder now.
    bool HasList(Category category) const;
    // The update check of the catalogues alone, for the tabs that use a
    // service: one check per service address, each for the catalogues of
    // the tabs on it (none checked when no tab uses a service).
    void CheckCatalogues(std::function<void(const UpdateOutcome& outcome)> done);

    PlayerSession& session_;
    ChannelListModel& list_;
    DownloadQueue& downloads_;
    ServiceCatalogueCheck* check_ = nullptr; // made with the data folder
    ChannelLists* sources_ = nullptr;
    QString dataFolder_;
    Notice notice_ = Notice::None;
    Category noticeCategory_ = Category::None;
    QTimer* retry_;
    CatalogueFamilyBlocks familyBlocks_;
    // Bumped by every opening, so a catalogue that arrives late fills the
    // list only if its tab is still the one asked for last.
    unsigned generation_ = 0;
    bool searching_ = false; // the list shows a directory search's answer
    unsigned search_ = 0;    // the directory search answered to
};
