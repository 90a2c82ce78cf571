#include "guide/GuideBook.h"

#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "app/WorkerTask.h"
#include "catalogue/DownloadQueue.h"
#include "guide/GuideCache.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

namespace {

QString DownloadFailure(const DownloadQueue::Result& result) {
    switch (result.outcome) {
    case DownloadQueue::Outcome::Saved:
    case DownloadQueue::Outcome::Unchanged:
        return QString();
    case DownloadQueue::Outcome::HttpError:
        return QStringLiteral("편성표를 받지 못했습니다 (서버 응답 %1)").arg(result.httpStatus);
    case DownloadQueue::Outcome::TimedOut:
        return QStringLiteral("편성표를 받지 못했습니다 (응답 없음)");
    case DownloadQueue::Outcome::TooLarge:
        return QStringLiteral("편성표가 너무 큽니다");
    case DownloadQueue::Outcome::Malformed:
    case DownloadQueue::Outcome::WriteFailed:
        return QStringLiteral("편성표를 저장하지 못했습니다");
    case DownloadQueue::Outcome::NetworkError:
        break;
    }
    return QStringLiteral("편성표를 받지 못했습니다 (연결 실패)");
}

bool IsRemote(const QString& address) {
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString LocalPath(const QString& address) {
    return address.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
               ? QUrl(address).toLocalFile()
               : address;
}

// Whether two files hold the same bytes (read a slice at a time; on a worker).
bool SameFileBytes(const QString& a, const QString& b) {
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    constexpr qint64 kSlice = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray x = first.read(kSlice);
        if (x.isEmpty() || x != second.read(kSlice))
            return false;
    }
    return true;
}

// The kept copy was found current: it counts as fetched now.
void TouchFile(const QString& path, const QDateTime& when) {
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(when, QFileDevice::FileModificationTime);
}

} // namespace

QString GuideBook::Source::StatusText() const {
    QString text;
    if (busy)
        text = QStringLiteral("읽는 중");
    else if (!failure.isEmpty())
        text = failure + QStringLiteral(". 이전 편성표를 그대로 둡니다");
    else if (report.outcome == GuideReport::Outcome::Failed &&
             report.fault != GuideReport::Fault::None)
        text = report.StatusText();
    if (guide && readAt.isValid()) {
        const QString kept = readAt.toLocalTime().toString(QStringLiteral("MM/dd HH:mm")) +
                             QStringLiteral(" 읽음 · %1 / %2 채널")
                                 .arg(guide->ChannelCount())
                                 .arg(report.listChannels);
        // A server that had nothing newer says so.
        const QString same = fetched == Fetched::Same && IsRemote(address)
                                 ? QStringLiteral("바뀐 것 없음 · ")
                                 : QString();
        return text.isEmpty()
                   ? (report.usable()
                          ? readAt.toLocalTime().toString(QStringLiteral("MM/dd HH:mm")) +
                                QStringLiteral(" 읽음 · ") + same + report.StatusText()
                          : kept)
                   : text + QStringLiteral(" (") + kept + QStringLiteral(")");
    }
    return text.isEmpty() ? QStringLiteral("아직 읽지 않았습니다") : text;
}

GuideBook::GuideBook(QString dataFolder, QObject* parent)
    : QObject(parent), dataFolder_(std::move(dataFolder)), queue_(new DownloadQueue(this)),
      now_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    queue_->SetSizeCap(kDownloadCap);
    queue_->SetStallTimeoutMs(30000);
}

GuideBook::~GuideBook() = default;

QStringList GuideBook::SplitAddresses(const QString& text) {
    QStringList addresses;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString address = part.trimmed();
        if (!address.isEmpty() && !addresses.contains(address))
            addresses << address;
    }
    return addresses;
}

QStringList GuideBook::UserAddresses(Category category, const SettingsStore& store) {
    switch (category) {
    case Category::Tv:
        return SplitAddresses(Settings::ReadText(Settings::GuideTv, store));
    case Category::World:
        return SplitAddresses(Settings::ReadText(Settings::GuideWorld, store));
    case Category::Game:
        return SplitAddresses(Settings::ReadText(Settings::GuideGame, store));
    default:
        return {};
    }
}

QString GuideBook::KeptPath(const QString& address) const {
    const QByteArray hash =
        QCryptographicHash::hash(address.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return dataFolder_ + QStringLiteral("/guides/") + QString::fromLatin1(hash) +
           QStringLiteral(".xmltv");
}

void GuideBook::SetTab(Category category, std::vector<GuideChannel> channels,
                       const QStringList& addresses) {
    Tab& tab = tabs_[category];
    ++tab.generation;
    tab.channels = std::make_shared<const std::vector<GuideChannel>>(std::move(channels));
    std::vector<Source> sources;
    for (const QString& address : addresses) {
        Source source;
        source.address = address;
        sources.push_back(std::move(source));
    }
    const bool hadGuide = std::any_of(tab.sources.cbegin(), tab.sources.cend(),
                                      [](const Source& s) { return s.guide != nullptr; });
    tab.sources = std::move(sources);
    if (hadGuide)
        emit guideChanged(category);
    emit statusChanged(category);
    // What is kept is shown before any network use.
    for (int i = 0; i < static_cast<int>(tab.sources.size()); ++i)
        ReadKept(category, i);
}

GuideBook::Source* GuideBook::SourceAt(Category category, int index, int generation) {
    const auto found = tabs_.find(category);
    if (found == tabs_.end() || found->generation != generation ||
        index >= static_cast<int>(found->sources.size()))
        return nullptr;
    return &found->sources[static_cast<size_t>(index)];
}

void GuideBook::ReadKept(Category category, int index) {
    const Source& source = tabs_[category].sources[static_cast<size_t>(index)];
    const QString path =
        IsRemote(source.address) ? KeptPath(source.address) : LocalPath(source.address);
    if (!QFileInfo::exists(path))
        return;
    ReadInto(category, index, path, GuideCache::PathFor(KeptPath(source.address)), nullptr,
             nullptr);
}

void GuideBook::ReadInto(Category category, int index, const QString& path,
                         const QString& cachePath, std::function<bool()> commit,
                         std::function<void(bool)> done) {
    Tab& tab = tabs_[category];
    const int generation = tab.generation;
    tab.sources[static_cast<size_t>(index)].busy = true;
    const quint64 serial = ++reads_;
    GuideReadOptions options = options_;
    options.now = now_();
    auto channels = tab.channels;
    struct Reading {
        GuideReadResult result;
        QByteArray stamp;
        bool fromCache = false;
    };
    RunOnWorker<Reading>(
        this,
        [path, cachePath, channels, options] {
            // What an earlier read made of the same bytes, when it holds.
            Reading reading;
            reading.stamp = GuideCache::StampOf(path, *channels, options);
            reading.result = GuideCache::Read(cachePath, reading.stamp, options.now);
            reading.fromCache = reading.result.data != nullptr;
            if (!reading.fromCache)
                reading.result = ReadGuideFile(path, *channels, options);
            return reading;
        },
        [this, category, index, generation, path, cachePath, serial, now = options.now,
         commit = std::move(commit), done = std::move(done)](Reading reading) {
            GuideReadResult& result = reading.result;
            Source* source = SourceAt(category, index, generation);
            if (!source) {
                if (done)
                    done(false);
                return;
            }
            source->busy = false;
            if (serial < source->usedRead) {
                // A read started earlier (the kept copy at a start) ended
                // after a newer one: the newer guide stays.
                if (done)
                    done(false);
                return;
            }
            source->failure.clear();
            source->report = result.report;
            bool used = false;
            const QDateTime modified = QFileInfo(path).lastModified();
            if (result.data && (!commit || commit())) {
                // The reading is kept for the next start, after it is shown.
                if (!reading.fromCache && !reading.stamp.isEmpty())
                    RunOnWorker<bool>(
                        this,
                        [cachePath, stamp = reading.stamp, now, kept = result] {
                            return GuideCache::Write(cachePath, stamp, now, kept);
                        },
                        [](bool) {});
                source->guide = std::move(result.data);
                source->readAt = modified;
                source->usedRead = serial;
                used = true;
            } else if (result.data) {
                source->failure = QStringLiteral("편성표를 저장하지 못했습니다");
            }
            if (used)
                emit guideChanged(category);
            emit statusChanged(category);
            if (done)
                done(used);
        });
}

void GuideBook::Refresh(Category category, bool force, std::function<void()> done) {
    const auto found = tabs_.constFind(category);
    const int count = found == tabs_.cend() ? 0 : static_cast<int>(found->sources.size());
    if (count == 0) {
        if (done)
            done();
        return;
    }
    auto left = std::make_shared<int>(count);
    auto one = [left, done = std::move(done)] {
        if (--*left == 0 && done)
            done();
    };
    for (int i = 0; i < count; ++i)
        Fetch(category, i, force, one);
}

void GuideBook::Fetch(Category category, int index, bool force, std::function<void()> done) {
    Tab& tab = tabs_[category];
    const int generation = tab.generation;
    const QString address = tab.sources[static_cast<size_t>(index)].address;
    if (!IsRemote(address)) {
        // A local guide is read where it is, every time.
        ReadInto(category, index, LocalPath(address), GuideCache::PathFor(KeptPath(address)),
                 nullptr, [this, category, index, generation, done](bool used) {
                     if (Source* source = SourceAt(category, index, generation))
                         source->fetched = used ? Source::Fetched::Same : Source::Fetched::Failed;
                     done();
                 });
        return;
    }
    const QString kept = KeptPath(address);
    const QFileInfo keptInfo(kept);
    if (!force && keptInfo.exists() &&
        keptInfo.lastModified().secsTo(QDateTime::fromSecsSinceEpoch(now_())) <
            kRefreshAfterSeconds) {
        done();
        return;
    }
    const QString staging = kept + QStringLiteral(".download");
    tab.sources[static_cast<size_t>(index)].busy = true;
    emit statusChanged(category);
    // The server is asked whether the kept copy is still current, with what
    // it said of it; validators without their copy are dropped.
    DownloadQueue::Request request{QUrl(address), staging, DownloadQueue::Check::None, {}};
    if (keptInfo.exists())
        request.kept = DownloadQueue::Validators::ReadBeside(kept);
    else
        DownloadQueue::Validators::WriteBeside(kept, {});
    // The kept copy counts as fetched now: nothing is read anew.
    auto keepCurrent = [this, category, kept](Source* source) {
        TouchFile(kept, QDateTime::fromSecsSinceEpoch(now_()));
        source->busy = false;
        source->failure.clear();
        source->readAt = QFileInfo(kept).lastModified();
        source->fetched = Source::Fetched::Same;
        emit statusChanged(category);
    };
    queue_->Enqueue(std::move(request), [this, category, index, generation, kept, staging, done,
                                         keepCurrent](const DownloadQueue::Result& r) {
        Source* source = SourceAt(category, index, generation);
        if (r.unchanged() && source) {
            keepCurrent(source);
            done();
            return;
        }
        if (!r.saved() || !source) {
            QFile::remove(staging);
            if (source) {
                source->busy = false;
                source->failure = DownloadFailure(r);
                source->fetched = Source::Fetched::Failed;
                emit statusChanged(category);
            }
            done();
            return;
        }
        // The same bytes as the kept copy (a server without validators):
        // nothing to read again. Compared on a worker.
        RunOnWorker<bool>(
            this, [kept, staging] { return SameFileBytes(kept, staging); },
            [this, category, index, generation, kept, staging, done, keepCurrent,
             validators = r.validators](bool same) {
                Source* now = SourceAt(category, index, generation);
                if (same && now && now->guide) {
                    QFile::remove(staging);
                    DownloadQueue::Validators::WriteBeside(kept, validators);
                    keepCurrent(now);
                    done();
                    return;
                }
                if (!now) {
                    QFile::remove(staging);
                    done();
                    return;
                }
                // Read from the staging file; put in place only when it is usable.
                // Its reading is kept for the copy it becomes.
                ReadInto(
                    category, index, staging, GuideCache::PathFor(kept),
                    [kept, staging, validators] {
                        if (std::rename(QFile::encodeName(staging).constData(),
                                        QFile::encodeName(kept).constData()) != 0)
                            return false;
                        // After the copy they belong to: validators left
                        // from the old copy only cost a full answer.
                        DownloadQueue::Validators::WriteBeside(kept, validators);
                        return true;
                    },
                    [this, category, index, generation, staging, done](bool used) {
                        QFile::remove(staging);
                        if (Source* s = SourceAt(category, index, generation))
                            s->fetched = used ? Source::Fetched::Replaced : Source::Fetched::Failed;
                        done();
                    });
            });
    });
}

const GuideData* GuideBook::Find(Category category, const QString& key) const {
    const auto found = tabs_.constFind(category);
    if (found == tabs_.cend())
        return nullptr;
    for (const Source& source : found->sources) {
        if (source.guide && source.guide->Has(key))
            return source.guide.get();
    }
    return nullptr;
}

std::vector<GuideBook::Source> GuideBook::Sources(Category category) const {
    const auto found = tabs_.constFind(category);
    return found == tabs_.cend() ? std::vector<Source>() : found->sources;
}
