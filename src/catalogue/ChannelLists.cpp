#include "catalogue/ChannelLists.h"

#include "app/AtomicFile.h"
#include "app/WorkerTask.h"
#include "catalogue/ChannelMerge.h"
#include "catalogue/DirectoryAnswerReader.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/SourceMapping.h"

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
      queue_(new DownloadQueue(this)), finder_(new RadioDirectory::ServerFinder(this)) {
    queue_->SetSizeCap(kSizeCap);
    queue_->SetUserAgent(RadioDirectory::UserAgent());
}

ChannelLists::~ChannelLists() = default;

bool ChannelLists::UsesService(Category category) const {
    return SourceOf(category).kind == ChannelSource::Kind::Service;
}

QString ChannelLists::KeptPath(Category category) const {
    const ChannelSource source = SourceOf(category);
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
    if (!IsSourceTab(category) || UsesService(category))
        return;
    const ChannelSource source = SourceOf(category);
    const bool haveKept = QFileInfo::exists(KeptPath(category));
    QPointer<ChannelLists> self(this);
    // shown: the kept list was there and held a channel.
    auto afterKept = [self, category, region, rows, failed](bool shown) {
        if (!self || (shown && self->refreshedThisRun_.value(category)))
            return;
        self->RefreshWith(category, region,
                          [self, category, region, rows, failed,
                           shown](const Refresh& r, Listing fresh, const QString& arrangedFor) {
                              if (!self)
                                  return;
                              if (!r.refreshed) {
                                  // The kept list stays on screen; without one, nothing will come.
                                  if (!shown && failed)
                                      failed(r);
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
        afterKept(false);
        return;
    }
    ParseFileAsync(source, KeptPath(category), QString(), category, region,
                   [rows, afterKept](Parsed parsed) {
                       if (parsed.readable)
                           rows(std::move(parsed.listing));
                       afterKept(parsed.readable);
                   });
}

void ChannelLists::RefreshTab(Category category, std::function<void(Refresh)> done) {
    RefreshWith(category, QString(),
                [done](const Refresh& r, Listing, const QString&) { done(r); });
}

void ChannelLists::RefreshWith(Category category, const QString& region, Fresh done) {
    if (!IsSourceTab(category) || UsesService(category)) {
        done(Refresh{category, false, QStringLiteral("서비스 목록")}, {}, region);
        return;
    }
    const bool alreadyRunning = running_.contains(category);
    running_[category].push_back(std::move(done));
    if (alreadyRunning)
        return;
    QPointer<ChannelLists> self(this);
    const auto finish = [self, category, region](const Refresh& r, Listing listing) {
        if (!self)
            return;
        const auto waiting = self->running_.take(category);
        // The rows are copied only for a second caller, moved to the last.
        for (size_t i = 0; i < waiting.size(); ++i)
            waiting[i](r, i + 1 < waiting.size() ? listing : std::move(listing), region);
    };
    Fetch(category,
          [self, category, region, finish](bool ok, const QString& why, const QString& newPath) {
              if (!self)
                  return;
              if (!ok) {
                  finish(Refresh{category, false, why}, {});
                  return;
              }
              self->Validate(category, newPath, region, finish);
          });
}

void ChannelLists::Fetch(Category category, std::function<void(bool, QString, QString)> done) {
    const ChannelSource source = SourceOf(category);
    const QString target = KeptPath(category) + QStringLiteral(".new");
    QFile::remove(target);
    if (source.kind == ChannelSource::Kind::Playlist) {
        if (!IsWebAddress(source.address)) {
            QByteArray bytes;
            if (!ReadWholeFile(LocalPath(source.address), &bytes)) {
                done(false, QStringLiteral("파일을 읽을 수 없음"), QString());
                return;
            }
            if (bytes.size() > kSizeCap) {
                done(false, QStringLiteral("목록이 너무 큼"), QString());
                return;
            }
            const bool written = WriteFileAtomically(target, bytes);
            done(written, written ? QString() : QStringLiteral("저장 실패"), target);
            return;
        }
        queue_->Enqueue(QUrl(source.address), target, DownloadQueue::Check::None,
                        [done, target](const DownloadQueue::Result& r) {
                            done(r.saved(), OutcomeText(r), target);
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
            [self, source, category, done](bool ok, const QString& why, const QString& path) {
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
                                    QStringList servers,
                                    std::function<void(bool, QString, QString)> done) {
    if (servers.isEmpty()) {
        done(false, QStringLiteral("라디오 목록 서버 없음"), QString());
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
                            done(true, QString(), target);
                        } else if (!servers.isEmpty()) {
                            // Another of the directory's servers may answer.
                            self->FetchFromServers(source, target, servers, done);
                        } else {
                            done(false, OutcomeText(r), target);
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
