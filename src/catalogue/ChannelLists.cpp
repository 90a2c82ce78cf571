#include "catalogue/ChannelLists.h"

#include "app/AtomicFile.h"
#include "app/Endpoints.h"
#include "app/WorkerTask.h"
#include "catalogue/CatalogueIni.h"
#include "catalogue/ChannelMerge.h"
#include "catalogue/DirectoryAnswerReader.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/SourceMapping.h"
#include "catalogue/SourceTabs.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

#include <cstdio>
#include <memory>

namespace {

bool IsWebAddress(const QString& address) {
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString LocalPath(const QString& address) {
    const QUrl url(address);
    return url.isLocalFile() ? url.toLocalFile() : address;
}

QUrl PlaylistBase(const QString& address) {
    if (IsWebAddress(address))
        return QUrl(address);
    return QUrl::fromLocalFile(QFileInfo(LocalPath(address)).absoluteFilePath());
}

// Renames over the old file in one step, so the kept list is never half there.
bool ReplaceFile(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString OutcomeText(const DownloadQueue::Result& r) {
    switch (r.outcome) {
    case DownloadQueue::Outcome::Saved:
    case DownloadQueue::Outcome::Unchanged:
        return QString();
    case DownloadQueue::Outcome::HttpError:
        return QStringLiteral("서버 응답 %1").arg(r.httpStatus);
    case DownloadQueue::Outcome::TimedOut:
        return QStringLiteral("응답 없음");
    case DownloadQueue::Outcome::TooLarge:
        return QStringLiteral("목록이 너무 큼");
    case DownloadQueue::Outcome::Malformed:
        return QStringLiteral("읽을 수 없는 목록");
    case DownloadQueue::Outcome::WriteFailed:
        return QStringLiteral("저장 실패");
    case DownloadQueue::Outcome::NetworkError:
        break;
    }
    return QStringLiteral("연결 실패");
}

// A list's file mapped rather than copied: a directory answer runs to tens
// of megabytes, and copying it into fresh memory took longer than reading
// it. The kept file is only ever replaced by a rename, never written in
// place, so the mapping stays whole while it is read.
class ListFile {
public:
    explicit ListFile(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            return;
        opened_ = true;
        const qint64 size = file_.size();
        if (size > 0) {
            if (const uchar* data = file_.map(0, size))
                bytes_ = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
            else
                opened_ = ReadWholeFile(file_.fileName(), &bytes_); // not mappable: copied
        }
    }
    bool opened() const { return opened_; }
    // Valid while this object lives.
    const QByteArray& bytes() const { return bytes_; }

private:
    QFile file_;
    QByteArray bytes_;
    bool opened_ = false;
};

} // namespace

ChannelLists::ChannelLists(QString dataFolder, SourceSettings settings, QObject* parent)
    : QObject(parent), dataFolder_(std::move(dataFolder)), settings_(std::move(settings)),
      queue_(new DownloadQueue(this)), serviceBase_(Endpoints::ServiceBaseAddress()),
      finder_(new RadioDirectory::ServerFinder(this)) {
    queue_->SetSizeCap(kSizeCap);
    queue_->SetUserAgent(RadioDirectory::UserAgent());
    ShowFetchesOf(queue_);
}

ChannelLists::~ChannelLists() = default;

bool ChannelLists::UsesService(Category category) const {
    return SourceOf(category).kind == ChannelSource::Kind::Service;
}

void ChannelLists::SetServiceQueue(DownloadQueue* queue) {
    serviceQueue_ = queue;
    if (queue && queue != queue_)
        ShowFetchesOf(queue);
}

void ChannelLists::ShowFetchesOf(DownloadQueue* queue) {
    connect(queue, &DownloadQueue::started, this, [this](const QString& target) {
        if (shownFetches_.contains(target))
            emit fetchShown(true, 0, -1);
    });
    connect(queue, &DownloadQueue::progress, this,
            [this](const QString& target, qint64 received, qint64 total) {
                if (shownFetches_.contains(target))
                    emit fetchShown(true, received, total);
            });
}

QString ChannelLists::ServiceBaseOf(Category category) const {
    const ChannelSource source = SourceOf(category);
    if (source.kind == ChannelSource::Kind::Service && source != settings_.Defaults().Of(category))
        return source.address;
    return serviceBase_;
}

QString ChannelLists::KeptPath(Category category) const {
    const ChannelSource source = SourceOf(category);
    // Users' catalogues stay where they have always been, under their own
    // names: whichever service a tab reads, the update check replaces them there.
    if (source.kind == ChannelSource::Kind::Service)
        return QDir(dataFolder_).filePath(CatalogueFileOf(category));
    const QByteArray hash =
        QCryptographicHash::hash(source.ToText().toUtf8(), QCryptographicHash::Sha1).toHex();
    const QString ext = source.kind == ChannelSource::Kind::Directory ? QStringLiteral("json")
                                                                      : QStringLiteral("m3u");
    return QDir(dataFolder_)
        .filePath(
            QStringLiteral("source-%1-%2.%3")
                .arg(SourceValueName(category).toLower(), QString::fromLatin1(hash.left(8)), ext));
}

ChannelLists::Parsed ChannelLists::ParseList(const ChannelSource& source, const QByteArray& bytes,
                                             Category category, const QString& region) {
    Parsed parsed;
    if (source.kind == ChannelSource::Kind::Directory) {
        // Every station, before the stations of one channel become one row.
        std::vector<ChannelMerge::Entry> records;
        // Each station becomes its row as it is read (an answer is about a
        // kilobyte a station; the rows are a fraction of that).
        const qsizetype expected = std::min<qsizetype>(bytes.size() / 600, 100000);
        records.reserve(static_cast<size_t>(expected));
        const bool answer = ReadDirectoryAnswer(bytes, [&](RadioDirectory::Station&& s) {
            ChannelRecord record = SourceMapping::FromStation(s);
            if (!s.uuid.isEmpty()) {
                parsed.stations.insert(s.url, s.uuid);
                StreamOptions o;
                o.stationUuid = std::move(s.uuid);
                record.options.insert(s.url, o);
            }
            records.push_back({std::move(record), QString()});
        });
        if (!answer)
            return parsed;
        parsed.channels = static_cast<int>(records.size());
        parsed.readable = parsed.channels > 0;
        parsed.listing.rows = SourceMapping::ArrangeForTab(
            ChannelMerge::Merge(std::move(records)), category, region, &parsed.listing.blocks);
    } else if (source.kind == ChannelSource::Kind::Playlist) {
        // A server's error page arrives with status 200 as often as not. A
        // list without the "#EXTM3U" header is taken only where its lines
        // are addresses with a scheme; the lines of a web page are not.
        QByteArray head = bytes.left(64).trimmed();
        if (head.startsWith("\xEF\xBB\xBF"))
            head.remove(0, 3);
        const bool extended = head.toUpper().startsWith("#EXTM3U");
        const auto entries =
            M3uPlaylist::Parse(bytes, extended ? PlaylistBase(source.address) : QUrl());
        parsed.guides.channels = GuideChannelsOf(entries);
        parsed.guides.addresses = M3uPlaylist::GuideAddresses(bytes);
        // Entries join their channel as they are read: only a channel's first
        // entry becomes a full row, the others give their address, resolution
        // and options.
        ChannelMerge::Joiner joiner(entries.size());
        int channels = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            const M3uPlaylist::Entry& e = entries[i];
            if (!extended && !e.url.contains(QLatin1String("://")))
                continue;
            ++channels;
            // The guide's channels are the entries in order, their ids read once.
            const QString& id = parsed.guides.channels[i].id;
            // Without an id the shown name is the key: the name is split first.
            ChannelName::Parts parts;
            const bool named = !ChannelMerge::KeyedById(id);
            if (named)
                parts = ChannelName::Split(e.name);
            const int channel = joiner.ChannelOf(id, parts.name);
            QHash<QString, StreamOptions> options;
            if (!e.options.IsEmpty())
                options.insert(e.url, e.options);
            if (channel == joiner.Channels()) {
                ChannelRecord record = named ? SourceMapping::FromPlaylistEntry(e, parts)
                                             : SourceMapping::FromPlaylistEntry(e);
                record.options = std::move(options);
                joiner.AddChannel(std::move(record));
            } else {
                joiner.AddAddress(channel, e.url,
                                  named ? SourceMapping::ConnectOf(parts)
                                        : SourceMapping::ConnectOfTitle(e.name),
                                  std::move(options));
            }
        }
        parsed.channels = channels;
        parsed.readable = channels > 0;
        parsed.listing.rows = SourceMapping::ArrangeForTab(joiner.TakeRows(), category, region,
                                                           &parsed.listing.blocks);
    } else {
        const QString fileName = CatalogueFileOf(category);
        const CatalogueIni ini = CatalogueIni::Parse(bytes);
        parsed.readable = CatalogueHoldsChannel(ini, fileName);
        // Without a channel the families still give their fallback rows,
        // which the tab shows beside its notice.
        parsed.listing.rows =
            LoadCatalogueFile(ini, fileName, LayoutOf(fileName).regional ? region : QString(),
                              &parsed.listing.blocks);
    }
    return parsed;
}

void ChannelLists::ParseFileAsync(const ChannelSource& source, const QString& path,
                                  const QString& comparedWith, Category category,
                                  const QString& region, std::function<void(Parsed)> done,
                                  bool tabList) {
    RunOnWorker<Parsed>(
        this,
        [source, path, comparedWith, category, region, tabList, stations = stations_] {
            const ListFile list(path);
            bool unchanged = false;
            if (!comparedWith.isEmpty()) {
                const ListFile old(comparedWith);
                unchanged = old.opened() && old.bytes() == list.bytes();
            }
            Parsed parsed = ParseList(source, list.bytes(), category, region);
            parsed.unchanged = unchanged;
            if (tabList && parsed.readable && source.kind == ChannelSource::Kind::Directory) {
                QHash<QString, QString> old;
                QMutexLocker lock(&stations->mutex);
                old.swap(stations->byTab[category]);
                stations->byTab[category] = std::move(parsed.stations);
            }
            if (parsed.readable && source.kind == ChannelSource::Kind::Playlist)
                parsed.digest = QCryptographicHash::hash(list.bytes(), QCryptographicHash::Sha1);
            return parsed;
        },
        [self = QPointer<ChannelLists>(this), category, done = std::move(done)](Parsed parsed) {
            if (self && parsed.readable && !parsed.digest.isEmpty())
                emit self->playlistRead(category, parsed.guides, parsed.digest);
            done(std::move(parsed));
        });
}

void ChannelLists::Open(Category category, const QString& region, Rows rows, Failed failed) {
    if (!IsSourceTab(category))
        return;
    const ChannelSource source = SourceOf(category);
    // A service catalogue that holds a channel is used as it is, whatever its
    // age: the update check alone replaces it.
    const bool refreshesKept = source.kind != ChannelSource::Kind::Service;
    // An empty file (a full disk once left one) is none: its fetch is asked
    // for at once, ahead of whatever the program queues next.
    const bool haveKept = QFileInfo(KeptPath(category)).size() > 0;
    QPointer<ChannelLists> self(this);
    // shown: the kept list was there and held a channel.
    auto afterKept = [self, category, region, rows, failed, refreshesKept](bool shown,
                                                                           Listing kept) {
        if (!self || (shown && (!refreshesKept || self->refreshedThisRun_.value(category))))
            return;
        self->RefreshWith(category, region, !shown,
                          [self, category, region, rows, failed, shown, kept = std::move(kept)](
                              const Refresh& r, Listing fresh, const QString& arrangedFor) {
                              if (!self)
                                  return;
                              if (!r.refreshed) {
                                  // The kept list stays on screen; without one, nothing will come.
                                  if (!shown && failed)
                                      failed(r, kept);
                                  return;
                              }
                              if (arrangedFor == region) {
                                  rows(std::move(fresh));
                                  return;
                              }
                              // A refresh another opening started was arranged for its
                              // region: the new list is read for this one.
                              self->ParseFileAsync(self->SourceOf(category),
                                                   self->KeptPath(category), QString(), category,
                                                   region, [rows](Parsed parsed) {
                                                       if (parsed.readable)
                                                           rows(std::move(parsed.listing));
                                                   });
                          });
    };
    if (!haveKept) {
        // Nothing to read: what an empty list gives (no row, or a catalogue's
        // fallback rows) is all there is.
        afterKept(false, ParseList(source, QByteArray(), category, region).listing);
        return;
    }
    ParseFileAsync(source, KeptPath(category), QString(), category, region,
                   [rows, afterKept](Parsed parsed) {
                       if (parsed.readable) {
                           rows(std::move(parsed.listing));
                           afterKept(true, {});
                       } else {
                           afterKept(false, std::move(parsed.listing));
                       }
                   });
}

void ChannelLists::WhenFetched(Category category, std::function<void()> then) {
    if (running_.contains(category))
        afterFetch_[category].push_back(std::move(then));
    else
        then();
}

void ChannelLists::RefreshTab(Category category, std::function<void(Refresh)> done) {
    if (!IsSourceTab(category) || UsesService(category)) {
        done(Refresh{category, false, QStringLiteral("서비스 목록")});
        return;
    }
    RefreshWith(category, QString(), false,
                [done](const Refresh& r, Listing, const QString&) { done(r); });
}

void ChannelLists::RefreshWith(Category category, const QString& region, bool userWaits,
                               Fresh done) {
    const bool alreadyRunning = running_.contains(category);
    running_[category].push_back(std::move(done));
    if (alreadyRunning)
        return;
    // The user waits with an empty list (nothing kept, whatever the source):
    // the list says it is on its way until the rows are in. A refresh behind
    // a list on screen, or the update command's, shows nothing there.
    const QString shown = userWaits ? KeptPath(category) + QStringLiteral(".new") : QString();
    if (!shown.isEmpty()) {
        shownFetches_.insert(shown);
        emit fetchShown(true, 0, -1);
    }
    QPointer<ChannelLists> self(this);
    const auto finish = [self, category, region, shown](const Refresh& r, Listing listing) {
        if (!self)
            return;
        if (!shown.isEmpty() && self->shownFetches_.remove(shown))
            emit self->fetchShown(!self->shownFetches_.isEmpty(), 0, -1);
        const auto waiting = self->running_.take(category);
        const auto after = self->afterFetch_.take(category);
        // The rows are copied only for a second caller, moved to the last.
        for (size_t i = 0; i < waiting.size(); ++i)
            waiting[i](r, i + 1 < waiting.size() ? listing : std::move(listing), region);
        for (const auto& then : after)
            then();
    };
    Fetch(category, [self, category, region, finish](bool ok, const QString& why,
                                                     const QString& newPath, bool answered) {
        if (!self)
            return;
        if (!ok) {
            Refresh failed{category, false, why};
            failed.answered = answered;
            finish(failed, {});
            return;
        }
        self->Validate(category, newPath, region, finish);
    });
}

void ChannelLists::Fetch(Category category, Fetched done) {
    const ChannelSource source = SourceOf(category);
    const QString target = KeptPath(category) + QStringLiteral(".new");
    QFile::remove(target);
    if (source.kind == ChannelSource::Kind::Service) {
        const QString fileName = CatalogueFileOf(category);
        ServiceQueue()->Enqueue(QUrl(ServiceBaseOf(category) + Endpoints::CataloguePath(fileName)),
                                target, DownloadQueue::Check::IniFile,
                                [done, target](const DownloadQueue::Result& r) {
                                    done(r.saved(), OutcomeText(r), target,
                                         r.outcome == DownloadQueue::Outcome::Malformed);
                                });
        return;
    }
    if (source.kind == ChannelSource::Kind::Playlist) {
        if (!IsWebAddress(source.address)) {
            QByteArray bytes;
            if (!ReadWholeFile(LocalPath(source.address), &bytes)) {
                done(false, QStringLiteral("파일을 읽을 수 없음"), QString(), false);
                return;
            }
            if (bytes.size() > kSizeCap) {
                done(false, QStringLiteral("목록이 너무 큼"), QString(), false);
                return;
            }
            const bool written = WriteFileAtomically(target, bytes);
            done(written, written ? QString() : QStringLiteral("저장 실패"), target, false);
            return;
        }
        queue_->Enqueue(QUrl(source.address), target, DownloadQueue::Check::None,
                        [done, target](const DownloadQueue::Result& r) {
                            done(r.saved(), OutcomeText(r), target, false);
                        });
        return;
    }
    finder_->SetConfigured(settings_.DirectoryServer());
    QPointer<ChannelLists> self(this);
    finder_->Find([self, source, target, done](QStringList servers) {
        if (self)
            self->FetchFromServers(source, target, servers, done);
    });
}

void ChannelLists::SearchDirectory(Category category, const QString& text, Searched done) {
    ChannelSource source = SourceOf(category);
    const QString name = text.trimmed();
    if (source.kind != ChannelSource::Kind::Directory || name.isEmpty()) {
        done({}, QStringLiteral("찾을 이름 없음"));
        return;
    }
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("name"), name);
    source.address = query.toString(QUrl::FullyEncoded);
    // One search at a time: a newer one takes the file over, and the older
    // answer is read from it by nobody (its caller has moved on).
    const QString target = QDir(dataFolder_).filePath(QStringLiteral("directory-search.json"));
    QFile::remove(target);
    finder_->SetConfigured(settings_.DirectoryServer());
    QPointer<ChannelLists> self(this);
    finder_->Find([self, source, target, category, done](QStringList servers) {
        if (!self)
            return;
        self->FetchFromServers(
            source, target, servers,
            [self, source, category, done](bool ok, const QString& why, const QString& path, bool) {
                if (!self)
                    return;
                if (!ok) {
                    QFile::remove(path);
                    done({}, why);
                    return;
                }
                self->ParseFileAsync(
                    source, path, QString(), category, QString(),
                    [path, done](Parsed parsed) {
                        QFile::remove(path);
                        done(std::move(parsed.listing),
                             parsed.readable ? QString() : QStringLiteral("찾은 방송국 없음"));
                    },
                    false);
            });
    });
}

void ChannelLists::FetchFromServers(const ChannelSource& source, const QString& target,
                                    QStringList servers, Fetched done) {
    if (servers.isEmpty()) {
        done(false, QStringLiteral("라디오 목록 서버 없음"), QString(), false);
        return;
    }
    const QString server = servers.takeFirst();
    QPointer<ChannelLists> self(this);
    queue_->Enqueue(RadioDirectory::SearchAddress(server, source.address), target,
                    DownloadQueue::Check::None,
                    [self, source, target, servers, server, done](const DownloadQueue::Result& r) {
                        if (!self)
                            return;
                        if (r.saved()) {
                            self->directoryServer_ = server;
                            done(true, QString(), target, false);
                        } else if (!servers.isEmpty()) {
                            // Another of the directory's servers may answer.
                            self->FetchFromServers(source, target, servers, done);
                        } else {
                            done(false, OutcomeText(r), target, false);
                        }
                    });
}

void ChannelLists::Validate(Category category, const QString& newPath, const QString& region,
                            std::function<void(const Refresh&, Listing)> done) {
    const ChannelSource source = SourceOf(category);
    const QString kept = KeptPath(category);
    QPointer<ChannelLists> self(this);
    // Compared with the kept list while the new one is read: the update
    // command tells a list that did not change from one that did.
    ParseFileAsync(source, newPath, kept, category, region,
                   [self, category, newPath, kept, done](Parsed parsed) {
                       if (!parsed.readable) {
                           // The old list stays exactly as it was.
                           QFile::remove(newPath);
                           Refresh empty{category, false, QStringLiteral("채널이 없는 목록")};
                           empty.answered = true;
                           done(empty, {});
                           return;
                       }
                       if (!ReplaceFile(newPath, kept)) {
                           QFile::remove(newPath);
                           done(Refresh{category, false, QStringLiteral("저장 실패")}, {});
                           return;
                       }
                       if (self) {
                           self->refreshedThisRun_.insert(category, true);
                           emit self->refreshed(category);
                       }
                       Refresh result{category, true, QString()};
                       result.unchanged = parsed.unchanged;
                       done(result, std::move(parsed.listing));
                   });
}

void ChannelLists::RefreshAll(std::function<void(std::vector<Refresh>)> done) {
    RefreshNext(std::make_shared<std::vector<Refresh>>(), 0, std::move(done));
}

void ChannelLists::RefreshNext(std::shared_ptr<std::vector<Refresh>> results, std::size_t next,
                               std::function<void(std::vector<Refresh>)> done) {
    while (next < std::size(kSourceTabs) && UsesService(kSourceTabs[next]))
        ++next;
    if (next >= std::size(kSourceTabs)) {
        done(*results);
        return;
    }
    QPointer<ChannelLists> self(this);
    RefreshTab(kSourceTabs[next], [self, results, next, done](const Refresh& r) {
        results->push_back(r);
        if (self)
            self->RefreshNext(results, next + 1, done);
    });
}

void ChannelLists::NotePlayed(const QString& address, const QString& stationUuid) {
    // A typed address counts as the station the directory tab lists under it.
    QString uuid = stationUuid;
    if (uuid.isEmpty()) {
        QMutexLocker lock(&stations_->mutex);
        for (const QHash<QString, QString>& tab : std::as_const(stations_->byTab)) {
            uuid = tab.value(address);
            if (!uuid.isEmpty())
                break;
        }
    }
    if (uuid.isEmpty())
        return;
    QString server = directoryServer_;
    if (server.isEmpty())
        server = settings_.DirectoryServer();
    if (server.isEmpty())
        return; // no server known yet: the play simply is not counted
    QNetworkRequest request(RadioDirectory::ClickAddress(server, uuid));
    request.setRawHeader("User-Agent", RadioDirectory::UserAgent());
    request.setTransferTimeout(10000);
    if (!clicks_)
        clicks_ = new QNetworkAccessManager(this);
    QNetworkReply* reply = clicks_->get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

QString ChannelLists::TabName(Category category) {
    static const char* const names[kSourceTabCount] = {"TV", "해외", "게임", "라디오", "음악방송"};
    return IsSourceTab(category) ? QString::fromUtf8(names[SourceTabIndex(category)]) : QString();
}

UpdateOutcome ChannelLists::OutcomeOf(const std::vector<Refresh>& results) {
    UpdateOutcome outcome;
    for (const Refresh& r : results) {
        const QString name = TabName(r.category);
        if (!r.refreshed)
            outcome.AddFailed(name);
        else if (r.unchanged)
            outcome.AddCurrent(name);
        else
            outcome.AddReplaced(name);
    }
    return outcome;
}
