#pragma once

#include "app/ChannelTabs.h"
#include "app/SettingsStore.h"
#include "guide/GuideReader.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DownloadQueue;

// The programme guides of the channel tabs. Per tab: the list's channels,
// the guide addresses (the playlist header's and the user's TV_GUIDE,
// WORLD_GUIDE, GAME_GUIDE), and per address the guide read last with what
// became of its last read. A start shows the kept copies (read from the
// data folder, no network); a refresh fetches a guide older than twelve
// hours, or every one when asked, asking its server whether the kept copy
// changed (with the validators kept beside it): "not modified" keeps the
// copy and reads nothing anew. A new download is read first, in a
// staging file, and replaces the kept copy and the guide in use only when
// it reads as a usable guide: anything else leaves both exactly as they were.
// Reading always runs on a worker.
class GuideBook : public QObject {
    Q_OBJECT
public:
    struct Source {
        QString address;
        std::shared_ptr<const GuideData> guide; // null until one read well
        GuideReport report;                     // of the last read
        QString failure;                        // the download's fault, Korean; empty when none
        QDateTime readAt;                       // when the guide in use was read
        bool busy = false;
        // What its last fetch came to: a new guide put in place, the same
        // guide again (the same bytes, or a local file read anew), or none.
        enum class Fetched { NotYet, Replaced, Same, Failed };
        Fetched fetched = Fetched::NotYet;
        quint64 usedRead = 0; // the read whose guide is in use (newer reads win)
        // "12/09 21:00 읽음 · 12 / 40 채널", or why the last attempt failed.
        QString StatusText() const;
    };

    static constexpr qint64 kDownloadCap = 1024ll * 1024 * 1024; // a plain guide of 1 GB
    static constexpr qint64 kRefreshAfterSeconds = 12 * 3600;

    explicit GuideBook(QString dataFolder, QObject* parent = nullptr);
    ~GuideBook() override;

    // The user's addresses for a tab; none for the tabs that have no guide.
    static QStringList UserAddresses(Category category,
                                     const SettingsStore& store = SettingsStore());
    // "a, b ,c" as its addresses.
    static QStringList SplitAddresses(const QString& text);

    // The tab's channels and guide addresses (the playlist's first, then the
    // user's). Kept copies (and local guides) are read at once, with no network
    // use; Refresh fetches.
    void SetTab(Category category, std::vector<GuideChannel> channels,
                const QStringList& addresses);
    // Fetches and reads the tab's guides: all of them when `force`, else
    // those older than twelve hours. `done` runs when every one has finished.
    void Refresh(Category category, bool force, std::function<void()> done = {});

    // The guide that knows the channel (the first address that does), or null.
    const GuideData* Find(Category category, const QString& key) const;
    std::vector<Source> Sources(Category category) const;

    // Where an address's guide is kept.
    QString KeptPath(const QString& address) const;

    DownloadQueue* Queue() { return queue_; }
    // The clock the reader keeps its week around (tests set one).
    void SetClock(std::function<qint64()> now) { now_ = std::move(now); }
    void SetReadOptions(const GuideReadOptions& options) { options_ = options; }

signals:
    // A tab's guide in use changed (a read replaced one).
    void guideChanged(Category category);
    // A tab's statuses changed (a read or a download ended).
    void statusChanged(Category category);

private:
    struct Tab {
        std::shared_ptr<const std::vector<GuideChannel>> channels;
        std::vector<Source> sources;
        int generation = 0;
    };

    void ReadKept(Category category, int index);
    void Fetch(Category category, int index, bool force, std::function<void()> done);
    // Reads `path` on a worker; a usable guide becomes the source's.
    // `commit` runs first when it is usable (putting a download in place).
    // The reading is kept at `cachePath` (GuideCache) and read from there
    // while it holds for the file.
    void ReadInto(Category category, int index, const QString& path, const QString& cachePath,
                  std::function<bool()> commit, std::function<void(bool used)> done);
    Source* SourceAt(Category category, int index, int generation);

    QString dataFolder_;
    DownloadQueue* queue_;
    QHash<Category, Tab> tabs_;
    quint64 reads_ = 0; // every read is numbered; a slower older one never wins
    std::function<qint64()> now_;
    GuideReadOptions options_;
};
