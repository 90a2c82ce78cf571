#include "catalogue/DownloadQueue.h"

#include "app/Paths.h"
#include "app/WorkerTask.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#include <unistd.h>

DownloadQueue::DownloadQueue(QObject* parent) : QObject(parent), stallTimer_(new QTimer(this)) {
    stallTimer_->setSingleShot(true);
    connect(stallTimer_, &QTimer::timeout, this, [this] { Fail(Outcome::TimedOut); });
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
    jobs_.push_back(Job{url, targetPath, check, std::move(callback)});
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
    if (current_ && current_->targetPath == targetPath)
        return true;
    for (const Job& job : jobs_) {
        if (job.targetPath == targetPath)
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

    Paths::EnsureFolder(QFileInfo(current_->targetPath).absolutePath());
    file_ = std::make_unique<QSaveFile>(current_->targetPath);
    if (!file_->open(QIODevice::WriteOnly)) {
        emit started(current_->targetPath);
        Complete(Result{Outcome::WriteFailed, 0});
        return;
    }

    QNetworkRequest request(current_->url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    if (!userAgent_.isEmpty())
        request.setRawHeader("User-Agent", userAgent_);
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &DownloadQueue::OnReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &DownloadQueue::OnFinished);
    connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        stallTimer_->start(stallTimeoutMs_);
        if (current_)
            emit progress(current_->targetPath, received, total);
    });
    stallTimer_->start(stallTimeoutMs_);
    emit started(current_->targetPath);
}

namespace {

int StatusOf(QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

void DownloadQueue::OnReadyRead() {
    if (!reply_ || !current_ || ending_)
        return;
    const int status = StatusOf(reply_);
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
    if (buffer_.isEmpty())
        buffer_.resize(kSliceBytes);
    qint64 taken = 0;
    while (taken < kBytesPerTurn && reply_->bytesAvailable() > 0) {
        const qint64 n = reply_->read(buffer_.data(), buffer_.size());
        if (n <= 0)
            break;
        taken += n;
        received_ += n;
        if (received_ > sizeCap_) {
            Fail(Outcome::TooLarge, StatusOf(reply_));
            return;
        }
        if (current_->check == Check::IniFile)
            body_.append(buffer_.constData(), n);
        if (file_->write(buffer_.constData(), n) != n) {
            Fail(Outcome::WriteFailed, StatusOf(reply_));
            return;
        }
    }
    if (reply_->bytesAvailable() > 0 && !readScheduled_) {
        readScheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            readScheduled_ = false;
            ReadAvailable();
            // The transfer ended while its data waited: it finishes now.
            if (finishWaiting_ && reply_ && reply_->bytesAvailable() == 0) {
                finishWaiting_ = false;
                OnFinished();
            }
        });
    }
}

void DownloadQueue::OnFinished() {
    if (!reply_ || !current_ || ending_)
        return;
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
    if (current_->check == Check::IniFile && !LooksLikeIni(body_)) {
        Fail(Outcome::Malformed, status);
        return;
    }
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
    Complete(Result{Outcome::WriteFailed, status});
}

void DownloadQueue::Commit(int status) {
    if (!file_->commit()) {
        Complete(Result{Outcome::WriteFailed, status});
        return;
    }
    Complete(Result{Outcome::Saved, status});
}

void DownloadQueue::Fail(Outcome outcome, int httpStatus) {
    if (!current_ || ending_)
        return;
    if (file_)
        file_->cancelWriting();
    Complete(Result{outcome, httpStatus});
}

void DownloadQueue::Complete(const Result& result) {
    ending_ = true;
    stallTimer_->stop();
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
    emit finished(job->targetPath, result.saved());
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
