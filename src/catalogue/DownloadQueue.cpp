#include "catalogue/DownloadQueue.h"

#include "app/AtomicFile.h"
#include "app/Paths.h"
#include "app/WorkerTask.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <chrono>

#include <unistd.h>

DownloadQueue::DownloadQueue(QObject* parent)
    : QObject(parent), stallTimer_(new QTimer(this)), nowMs_([] {
          return static_cast<qint64>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
      }),
      readTimer_(new QTimer(this)) {
    stallTimer_->setSingleShot(true);
    connect(stallTimer_, &QTimer::timeout, this, [this] { Fail(Outcome::TimedOut); });
    readTimer_->setSingleShot(true);
    connect(readTimer_, &QTimer::timeout, this, [this] {
        readScheduled_ = false;
        ReadAvailable();
        // The transfer ended while its data waited: it finishes now.
        if (finishWaiting_ && reply_ && reply_->bytesAvailable() == 0) {
            finishWaiting_ = false;
            OnFinished();
        }
    });
}

DownloadQueue::~DownloadQueue() {
    // Callbacks must not run into a half-destroyed owner.
    jobs_.clear();
    if (current_)
        current_->callback = nullptr;
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    if (file_)
        file_->cancelWriting();
}

void DownloadQueue::Enqueue(const QUrl& url, const QString& targetPath, Check check,
                            Callback callback) {
    Enqueue(Request{url, targetPath, check, Validators()}, std::move(callback));
}

void DownloadQueue::Enqueue(Request request, Callback callback) {
    jobs_.push_back(Job{std::move(request), std::move(callback)});
    if (!current_) {
        // Start from the event loop, so a caller that enqueues several jobs
        // in a row sees them all queued before the first one runs.
        QTimer::singleShot(0, this, [this] {
            if (!current_)
                StartNext();
        });
    }
}

bool DownloadQueue::IsPending(const QString& targetPath) const {
    if (current_ && current_->request.targetPath == targetPath)
        return true;
    for (const Job& job : jobs_) {
        if (job.request.targetPath == targetPath)
            return true;
    }
    return false;
}

void DownloadQueue::StartNext() {
    if (current_ || jobs_.empty())
        return;
    current_ = std::make_unique<Job>(std::move(jobs_.front()));
    jobs_.pop_front();
    received_ = 0;
    body_.clear();
    ending_ = false;
    finishWaiting_ = false;
    answered_ = Validators();
    const Request& asked = current_->request;

    Paths::EnsureFolder(QFileInfo(asked.targetPath).absolutePath());
    file_ = std::make_unique<QSaveFile>(asked.targetPath);
    if (!file_->open(QIODevice::WriteOnly)) {
        emit started(asked.targetPath);
        Complete(Result{Outcome::WriteFailed, 0, {}});
        return;
    }

    QNetworkRequest request(asked.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (!userAgent_.isEmpty())
        request.setRawHeader("User-Agent", userAgent_);
    const QByteArray etag = Validators::Usable(asked.kept.etag);
    const QByteArray lastModified = Validators::Usable(asked.kept.lastModified);
    if (!etag.isEmpty())
        request.setRawHeader("If-None-Match", etag);
    if (!lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", lastModified);
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    reply_ = network_->get(request);
    pacer_.SetRate(rateCap_, nowMs_());
    if (rateCap_ > 0)
        reply_->setReadBufferSize(kPacedReadBufferBytes);
    connect(reply_, &QNetworkReply::readyRead, this, &DownloadQueue::OnReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &DownloadQueue::OnFinished);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        stallTimer_->start(stallTimeoutMs_);
        if (current_)
            emit progress(current_->request.targetPath, received, total);
    });
    stallTimer_->start(stallTimeoutMs_);
    emit started(asked.targetPath);
}

void DownloadQueue::SetRateCap(qint64 bytesPerSecond) {
    bytesPerSecond = std::max<qint64>(bytesPerSecond, 0);
    if (bytesPerSecond == rateCap_)
        return;
    rateCap_ = bytesPerSecond;
    if (!reply_ || ending_)
        return;
    pacer_.SetRate(rateCap_, nowMs_());
    reply_->setReadBufferSize(rateCap_ > 0 ? kPacedReadBufferBytes : 0);
    // A slice held back by the old pace is read now.
    if (readScheduled_)
        ScheduleRead(0);
}

namespace {

int StatusOf(QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

constexpr int kNotModified = 304;

} // namespace

void DownloadQueue::OnReadyRead() {
    if (!reply_ || !current_ || ending_)
        return;
    const int status = StatusOf(reply_);
    if (status == kNotModified && !current_->request.kept.IsEmpty())
        return; // no body; the end completes the job
    if (status != 0 && status != 200) {
        Fail(Outcome::HttpError, status);
        return;
    }
    const qint64 announced = reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (announced > sizeCap_) {
        Fail(Outcome::TooLarge, status);
        return;
    }
    ReadAvailable();
}

void DownloadQueue::ReadAvailable() {
    if (!reply_ || !current_ || ending_)
        return;
    // What arrived is read in slices into one buffer, at most kBytesPerTurn
    // per turn of the event loop: a fast server delivers a list of tens of
    // megabytes in a few notifications, and reading and writing 10 MB at once
    // held the window up for 80 ms.
    // Held to a rate, it reads no more than the pace allows and comes back
    // when the next slice may be read.
    if (buffer_.isEmpty())
        buffer_.resize(kSliceBytes);
    qint64 taken = 0;
    const qint64 allowed = std::min(kBytesPerTurn, pacer_.Allowance(nowMs_()));
    while (taken < allowed && reply_->bytesAvailable() > 0) {
        const qint64 n =
            reply_->read(buffer_.data(), std::min<qint64>(buffer_.size(), allowed - taken));
        if (n <= 0)
            break;
        pacer_.Took(n);
        taken += n;
        received_ += n;
        if (received_ > sizeCap_) {
            Fail(Outcome::TooLarge, StatusOf(reply_));
            return;
        }
        if (current_->request.check == Check::IniFile)
            body_.append(buffer_.constData(), n);
        if (file_->write(buffer_.constData(), n) != n) {
            Fail(Outcome::WriteFailed, StatusOf(reply_));
            return;
        }
    }
    if (reply_->bytesAvailable() > 0 && !readScheduled_) {
        const qint64 wait =
            pacer_.WaitMs(nowMs_(), std::min(reply_->bytesAvailable(), kSliceBytes));
        // While the pace holds the reading back, the server is not stalling.
        if (wait > 0)
            stallTimer_->start(stallTimeoutMs_);
        ScheduleRead(wait);
    }
}

void DownloadQueue::ScheduleRead(qint64 waitMs) {
    readScheduled_ = true;
    readTimer_->start(static_cast<int>(std::min<qint64>(waitMs, 60000)));
}

void DownloadQueue::OnFinished() {
    if (!reply_ || !current_ || ending_)
        return;
    const int answer = StatusOf(reply_);
    if (answer == kNotModified) {
        // The kept copy is current: unless none was named, then nothing is.
        if (current_->request.kept.IsEmpty()) {
            Fail(Outcome::HttpError, answer);
        } else {
            file_->cancelWriting();
            Complete(Result{Outcome::Unchanged, answer, {}});
        }
        return;
    }
    OnReadyRead(); // whatever arrived with the end
    if (ending_)
        return;
    if (reply_->bytesAvailable() > 0) {
        finishWaiting_ = true; // the rest is read first, turn by turn
        return;
    }
    const int status = StatusOf(reply_);
    if (reply_->error() != QNetworkReply::NoError) {
        Fail(status != 0 && status != 200 ? Outcome::HttpError : Outcome::NetworkError, status);
        return;
    }
    if (status != 200) {
        Fail(Outcome::HttpError, status);
        return;
    }
    // A connection closed before the length the server announced can end
    // without an error from Qt: such a body is cut short, not a file.
    // (A compressed body's length is of the compressed bytes: not compared.)
    bool announced = false;
    const qint64 length =
        reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong(&announced);
    const QByteArray encoding = reply_->rawHeader("Content-Encoding").trimmed().toLower();
    if (announced && (encoding.isEmpty() || encoding == "identity") && received_ < length) {
        Fail(Outcome::NetworkError, status);
        return;
    }
    if (current_->request.check == Check::IniFile && !LooksLikeIni(body_)) {
        Fail(Outcome::Malformed, status);
        return;
    }
    answered_ = Validators{Validators::Usable(reply_->rawHeader("ETag")),
                           Validators::Usable(reply_->rawHeader("Last-Modified"))};
    SyncThenCommit(status);
}

void DownloadQueue::SyncThenCommit(int status) {
    // QSaveFile::commit() syncs the file to disk before putting it in place,
    // and for a list of tens of megabytes that held the window up for tens of
    // milliseconds. The data is synced on a worker first, through a file
    // descriptor of its own; commit's sync then finds nothing left to write.
    ending_ = true; // the transfer is over: no time-out, no more data
    stallTimer_->stop();
    // What is still buffered is written now. A full disk refuses it here, and
    // commit() would not notice: it put the file in place with what had got
    // to the disk, a catalogue of zero bytes when all of it was buffered.
    if (!file_->flush() || file_->size() != received_) {
        AbandonWrite(status);
        return;
    }
    const int fd = ::dup(file_->handle());
    if (fd < 0) {
        Commit(status);
        return;
    }
    RunOnWorker<bool>(
        this,
        [fd] {
            // A file system that allocates late reports a full disk only here.
            const bool synced = ::fdatasync(fd) == 0;
            return (::close(fd) == 0) && synced;
        },
        [this, status](bool synced) {
            if (synced)
                Commit(status);
            else
                AbandonWrite(status);
        });
}

void DownloadQueue::AbandonWrite(int status) {
    file_->cancelWriting();
    Complete(Result{Outcome::WriteFailed, status, {}});
}

void DownloadQueue::Commit(int status) {
    if (!file_->commit()) {
        Complete(Result{Outcome::WriteFailed, status, {}});
        return;
    }
    Complete(Result{Outcome::Saved, status, answered_});
}

void DownloadQueue::Fail(Outcome outcome, int httpStatus) {
    if (!current_ || ending_)
        return;
    if (file_)
        file_->cancelWriting();
    Complete(Result{outcome, httpStatus, {}});
}

void DownloadQueue::Complete(const Result& result) {
    ending_ = true;
    stallTimer_->stop();
    readTimer_->stop();
    readScheduled_ = false;
    if (reply_) {
        reply_->disconnect(this);
        // A transfer we stop ourselves is aborted. One that ended, or whose
        // server answered with an error status (Qt then reports that error
        // itself), is only let go: aborting it as well makes Qt report an
        // internal error.
        if (!reply_->isFinished() && result.outcome != Outcome::HttpError)
            reply_->abort();
        reply_->deleteLater();
        reply_ = nullptr;
    }
    file_.reset(); // an uncommitted QSaveFile removes its temporary file
    body_.clear();
    std::unique_ptr<Job> job = std::move(current_);
    emit finished(job->request.targetPath, result.saved());
    if (job->callback)
        job->callback(result);
    // The next job starts from the event loop: the callback may enqueue more.
    QTimer::singleShot(0, this, [this] {
        if (!current_)
            StartNext();
    });
}

bool DownloadQueue::LooksLikeIni(const QByteArray& body) {
    if (body.contains('\0'))
        return false;
    bool sawSection = false;
    for (QByteArray line : body.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            sawSection = true;
            continue;
        }
        if (!sawSection || line.indexOf('=') <= 0)
            return false;
    }
    return sawSection;
}

QString DownloadQueue::Validators::PathBeside(const QString& keptPath) {
    return keptPath + QStringLiteral(".validators");
}

QByteArray DownloadQueue::Validators::Usable(const QByteArray& value) {
    const QByteArray trimmed = value.trimmed();
    if (trimmed.size() > 256)
        return QByteArray();
    for (const char c : trimmed) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return QByteArray();
    }
    return trimmed;
}

DownloadQueue::Validators DownloadQueue::Validators::ReadBeside(const QString& keptPath) {
    QByteArray text;
    Validators validators;
    if (!ReadWholeFile(PathBeside(keptPath), &text))
        return validators;
    for (const QByteArray& line : text.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = Usable(line.mid(colon + 1));
        if (name == "etag")
            validators.etag = value;
        else if (name == "last-modified")
            validators.lastModified = value;
    }
    return validators;
}

bool DownloadQueue::Validators::WriteBeside(const QString& keptPath, const Validators& validators) {
    const QString path = PathBeside(keptPath);
    if (validators.IsEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    QByteArray text;
    if (!validators.etag.isEmpty())
        text += "ETag: " + validators.etag + "\n";
    if (!validators.lastModified.isEmpty())
        text += "Last-Modified: " + validators.lastModified + "\n";
    return WriteFileAtomically(path, text);
}
