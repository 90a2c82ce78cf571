#pragma once

#include "catalogue/ReadPacer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QTimer;

// The program's one download queue. Jobs run one at a time, in the order they
// were asked for, and never block the window: the body goes to a temporary
// file beside the target and replaces the target in one rename only when it
// arrived whole, with HTTP 200, within the size cap, and (where asked) reads
// as an INI file. Anything else leaves the target exactly as it was.
//
// A request may carry the validators a server gave with the kept copy (its
// ETag and Last-Modified): the server is then asked whether the copy is still
// current, and its "not modified" (304) completes the job as Unchanged, the
// target untouched. A 304 to a request that carried none is an HTTP error.
// A queue may be held to a rate: the reply is then read in paced slices from
// a small read buffer, so the sender is slowed by TCP's flow control.
class DownloadQueue : public QObject {
    Q_OBJECT
public:
    enum class Check {
        None,    // any complete 200 body
        IniFile, // the body must read as an INI file (catalogues, version list)
    };

    enum class Outcome {
        Saved,
        Unchanged, // 304 to a conditional request: the kept copy stays
        NetworkError,
        HttpError,
        TimedOut,
        TooLarge,
        Malformed,
        WriteFailed
    };

    // What a server said of the body it sent, to ask it later whether a kept
    // copy is still current (If-None-Match, If-Modified-Since).
    struct Validators {
        QByteArray etag;
        QByteArray lastModified;
        bool IsEmpty() const { return etag.isEmpty() && lastModified.isEmpty(); }
        bool operator==(const Validators& o) const {
            return etag == o.etag && lastModified == o.lastModified;
        }

        // Kept beside a file as "<file>.validators", written atomically;
        // empty validators remove it. Unreadable or odd values read as none.
        static QString PathBeside(const QString& keptPath);
        static Validators ReadBeside(const QString& keptPath);
        static bool WriteBeside(const QString& keptPath, const Validators& validators);
        // A header value as sent, or empty when it could not be sent back
        // safely (control characters, over 256 bytes).
        static QByteArray Usable(const QByteArray& value);
    };

    struct Result {
        Outcome outcome = Outcome::NetworkError;
        int httpStatus = 0;
        Validators validators; // of a saved body, as its server gave them
        bool saved() const { return outcome == Outcome::Saved; }
        bool unchanged() const { return outcome == Outcome::Unchanged; }
    };

    struct Request {
        QUrl url;
        QString targetPath;
        Check check = Check::None;
        Validators kept; // the kept copy's; empty: an unconditional request
    };

    using Callback = std::function<void(const Result&)>;

    static constexpr qint64 kDefaultSizeCap = 8 * 1024 * 1024;
    static constexpr int kDefaultStallTimeoutMs = 15000;

    explicit DownloadQueue(QObject* parent = nullptr);
    ~DownloadQueue() override;

    // Queues a download of url into targetPath; callback runs on completion.
    void Enqueue(const QUrl& url, const QString& targetPath, Check check, Callback callback);
    void Enqueue(Request request, Callback callback);

    // True while a job for this target is queued or running.
    bool IsPending(const QString& targetPath) const;
    bool IsIdle() const { return !current_ && jobs_.empty(); }

    void SetStallTimeoutMs(int ms) { stallTimeoutMs_ = ms; }
    void SetSizeCap(qint64 bytes) { sizeCap_ = bytes; }
    // Sent with every request when set (some servers ask clients to name themselves).
    void SetUserAgent(const QByteArray& userAgent) { userAgent_ = userAgent; }
    // Holds the reading to bytesPerSecond (0: full speed); takes effect at
    // once, also on the running job.
    void SetRateCap(qint64 bytesPerSecond);
    qint64 RateCap() const { return rateCap_; }
    // The clock the pacing reads (milliseconds, monotonic); tests set one.
    void SetClock(std::function<qint64()> nowMs) { nowMs_ = std::move(nowMs); }
    // What the running job has read so far.
    qint64 Received() const { return received_; }
    static constexpr qint64 kPacedReadBufferBytes = 16 * 1024;

    // True when the bytes read as an INI file: at least one "[section]" line,
    // and every other line blank, a comment, or a "key=value" line.
    static bool LooksLikeIni(const QByteArray& body);

signals:
    // Progress of the running job (total is -1 when the server did not say).
    void progress(const QString& targetPath, qint64 received, qint64 total);
    void started(const QString& targetPath);
    void finished(const QString& targetPath, bool saved);

private:
    struct Job {
        Request request;
        Callback callback;
    };

    void StartNext();
    void OnReadyRead();
    void ReadAvailable();
    void OnFinished();
    void ScheduleRead(qint64 waitMs);
    void SyncThenCommit(int httpStatus);
    void Commit(int httpStatus);
    // The body could not be written whole: the target stays as it was.
    void AbandonWrite(int httpStatus);
    void Fail(Outcome outcome, int httpStatus = 0);
    void Complete(const Result& result);

    // Made with the first download: a start that shows kept lists and
    // fetches nothing sets up no network access at all.
    QNetworkAccessManager* network_ = nullptr;
    std::deque<Job> jobs_;
    std::unique_ptr<Job> current_;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    QByteArray body_; // kept only for the INI check
    qint64 received_ = 0;
    QTimer* stallTimer_;
    int stallTimeoutMs_ = kDefaultStallTimeoutMs;
    qint64 sizeCap_ = kDefaultSizeCap;
    QByteArray userAgent_;
    qint64 rateCap_ = 0;
    ReadPacer pacer_;
    std::function<qint64()> nowMs_;
    QTimer* readTimer_;   // the next slice, when the event loop or the pace allows
    Validators answered_; // of the body being saved
    bool ending_ = false;
    static constexpr qint64 kSliceBytes = 128 * 1024;
    static constexpr qint64 kBytesPerTurn = 1024 * 1024;
    QByteArray buffer_;          // one slice of what arrived, reused
    bool readScheduled_ = false; // the next slice waits for readTimer_
    bool finishWaiting_ = false; // the transfer ended before its data was read
};
