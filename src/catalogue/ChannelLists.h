#pragma once

#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelRecord.h"
#include "catalogue/PlaylistGuides.h"
#include "catalogue/RadioDirectory.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/StreamOptions.h"
#include "catalogue/UpdateOutcome.h"

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class DownloadQueue;
class QNetworkAccessManager;

// The catalogue tabs' lists, wherever a tab takes them from: the service's
// catalogue, a playlist or the radio directory. Each tab's last good list is
// kept in the data folder and shown at once; a fetch replaces it only when
// the new list arrived whole (HTTP 200, under the size cap, before the
// time-out) and holds at least one channel. Lists are parsed on a worker
// thread, so even tens of thousands of entries never hold up the window.
class ChannelLists : public QObject {
    Q_OBJECT
public:
    struct Refresh {
        Category category = Category::None;
        bool refreshed = false;
        QString why; // what failed, for the report (Korean); empty when refreshed
        // The list arrived but was the kept one byte for byte: nothing new.
        bool unchanged = false;
        // Not refreshed, though the source answered: what came held no channel.
        bool answered = false;
    };

    // One complete list for a tab, in the order the tab shows it, and where
    // each broadcaster family's rows lie in it (the TV and radio tabs).
    struct Listing {
        std::vector<ChannelRecord> rows;
        CatalogueFamilyBlocks blocks;
    };
    using Rows = std::function<void(Listing listing)>;
    // Nothing could be shown: no usable list was kept and the fetch failed.
    // `kept` is what the kept file still gives (a catalogue's families
    // without a channel show their fallback rows; empty for the others).
    using Failed = std::function<void(const Refresh& why, Listing kept)>;

    static constexpr qint64 kSizeCap = 64 * 1024 * 1024;

    ChannelLists(QString dataFolder, SourceSettings settings = SourceSettings(),
                 QObject* parent = nullptr);
    ~ChannelLists() override;

    // Where the kept lists are (the data folder).
    void SetDataFolder(const QString& folder) { dataFolder_ = folder; }

    SourceSettings& Settings() { return settings_; }
    const SourceSettings& Settings() const { return settings_; }
    DownloadQueue* Queue() { return queue_; }
    // The queue the service's catalogues come through: the program's shared
    // one, which the update check uses too, so the two never fetch a
    // catalogue at the same time. Until it is set, Queue().
    void SetServiceQueue(DownloadQueue* queue);
    // Where the service's catalogues come from (tests point it at a server
    // of their own).
    void SetServiceBaseAddress(const QString& base) { serviceBase_ = base; }
    const QString& ServiceBaseAddress() const { return serviceBase_; }
    // The service a tab's catalogue comes from: a tab set to a service of
    // its own asks that one, the others the build's (or the tests') base.
    QString ServiceBaseOf(Category category) const;
    RadioDirectory::ServerFinder* Finder() { return finder_; }

    ChannelSource SourceOf(Category category) const { return settings_.Of(category); }
    // True when the tab is filled from the catalogue service as before.
    bool UsesService(Category category) const;

    // The file that keeps the tab's last good list (named after its source,
    // so a changed source never shows the old source's list). A service
    // tab's is its catalogue in the data folder ("tv.ini"...), the file the
    // update check replaces.
    QString KeptPath(Category category) const;

    // Shows the kept list (if any) through `rows`, then, once per run or when
    // nothing is kept, refreshes it and shows the new list through `rows`
    // again. A service catalogue that is kept is never fetched here: the
    // update check replaces it. region filters the TV and radio tabs. A kept
    // list without a channel (left empty by a full disk) counts as none;
    // with none, a failed refresh is told through `failed`, so nobody waits
    // for rows that will not come. An opening while the tab's list is being
    // fetched joins that fetch.
    void Open(Category category, const QString& region, Rows rows, Failed failed = {});

    // Runs `then` once the tab's fetch under way has ended (its list kept or
    // not), at once when none is; for whoever else reads or replaces the kept file.
    void WhenFetched(Category category, std::function<void()> then);

    // Fetches the tab's list again; `done` says whether it was replaced. Not
    // for a tab on the service, whose catalogue the update check replaces.
    void RefreshTab(Category category, std::function<void(Refresh)> done);
    // Every tab that does not use the service, one after another.
    void RefreshAll(std::function<void(std::vector<Refresh>)> done);

    // What the refreshes came to, in the update command's terms: a list
    // that arrived and differs was replaced, one that arrived the same is
    // current, one that did not arrive failed (the old list stays).
    static UpdateOutcome OutcomeOf(const std::vector<Refresh>& results);
    // The tab's name as its button shows it: "TV", "해외", "게임", "라디오", "음악방송".
    static QString TabName(Category category);

    // Tells the directory a station was started, as it asks its clients to:
    // the station the row names, or, for an address typed by the user, the
    // station a directory tab shows under that address.
    void NotePlayed(const QString& address, const QString& stationUuid = QString());

    // The directory's own name search for a directory tab: the stations whose
    // name holds `text`, wherever they are, as the tab would list them.
    // `why` (Korean) is empty when the directory answered.
    using Searched = std::function<void(Listing listing, const QString& why)>;
    void SearchDirectory(Category category, const QString& text, Searched done);

    // Parses a list the way a tab shows it (exposed for tests and benchmarks).
    struct Parsed {
        Listing listing;
        // The directory's station ids by address (directory answers only).
        QHash<QString, QString> stations;
        int channels = 0; // before the region filter
        bool readable = false;
        bool unchanged = false; // the same bytes as the file it was compared with
        // A playlist's channels and header guide addresses, for the guide.
        PlaylistGuides guides;
        QByteArray digest; // of the list's bytes (files read, not ParseList)
    };
    static Parsed ParseList(const ChannelSource& source, const QByteArray& bytes, Category category,
                            const QString& region);

signals:
    // A list arrived and was kept.
    void refreshed(Category category);
    // A playlist tab's list was read (the kept one at an opening, a new one
    // after a refresh): its channels as the guide matches them, the guide
    // addresses its header names, and a digest of its bytes (the same list
    // read again has the same digest).
    void playlistRead(Category category, const PlaylistGuides& guides, const QByteArray& digest);
    // The list's download line: on while a tab with nothing kept waits for
    // its list (a catalogue, a playlist, the directory), with the bytes so far (total -1 while
    // unknown), off when no such fetch runs any more. The update check's downloads are not shown.
    void fetchShown(bool active, qint64 received, qint64 total);

private:
    // Reads the list at `path` and parses it on a worker thread: lists run
    // to tens of megabytes, too many to read on the window's. With
    // `comparedWith`, Parsed::unchanged tells whether that file holds the same bytes.
    // A tab's list (not a search's answer) also becomes the tab's station index.
    void ParseFileAsync(const ChannelSource& source, const QString& path,
                        const QString& comparedWith, Category category, const QString& region,
                        std::function<void(Parsed)> done, bool tabList = true);
    // How a fetch ended; `answered`: the source sent something, but not a list.
    using Fetched =
        std::function<void(bool ok, const QString& why, const QString& path, bool answered)>;
    void Fetch(Category category, Fetched done);
    void FetchFromServers(const ChannelSource& source, const QString& target, QStringList servers,
                          Fetched done);
    DownloadQueue* ServiceQueue() const { return serviceQueue_ ? serviceQueue_ : queue_; }
    // Shows the progress of the fetches the user waits for on `queue` in the download line.
    void ShowFetchesOf(DownloadQueue* queue);
    // A refresh's result and its rows, arranged for the region named.
    using Fresh = std::function<void(const Refresh&, Listing listing, const QString& arrangedFor)>;
    void Validate(Category category, const QString& newPath, const QString& region,
                  std::function<void(const Refresh&, Listing)> done);
    void RefreshWith(Category category, const QString& region, bool userWaits, Fresh done);
    void RefreshNext(std::shared_ptr<std::vector<Refresh>> results, std::size_t next,
                     std::function<void(std::vector<Refresh>)> done);

    QString dataFolder_;
    SourceSettings settings_;
    DownloadQueue* queue_;
    DownloadQueue* serviceQueue_ = nullptr;
    QString serviceBase_;
    // The targets of the fetches running that a tab waits for, which the download line shows.
    QSet<QString> shownFetches_;
    RadioDirectory::ServerFinder* finder_;
    // Made at the first play counted: a start that plays nothing from the
    // directory never sets up a second network access manager.
    QNetworkAccessManager* clicks_ = nullptr;
    QString directoryServer_; // the server the last directory list came from
    // The directory tabs' station ids by address, so a typed address is
    // counted as the station a tab lists under it. Replaced on the worker
    // that read the list, so tens of thousands of old ids are freed there.
    struct StationIndex {
        QMutex mutex;
        QHash<Category, QHash<QString, QString>> byTab;
    };
    std::shared_ptr<StationIndex> stations_ = std::make_shared<StationIndex>();
    QHash<Category, bool> refreshedThisRun_;
    // Callers waiting for a refresh that is already running: a second one
    // for the same tab joins it instead of fetching into the same file.
    QHash<Category, std::vector<Fresh>> running_;
    // What waits only for a tab's fetch to end, not for its rows (the
    // update check, before it reads the catalogue's version).
    QHash<Category, std::vector<std::function<void()>>> afterFetch_;
};
