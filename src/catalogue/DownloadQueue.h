#pragma once

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
class DownloadQueue : public QObject {
    Q_OBJECT
public:
    enum class Check {
        None,    // any complete 200 body
        IniFile, // the body must read as an INI file (catalogues, version list)
    };

    enum class Outcome {
        Saved,
        NetworkError,
        HttpError,
        TimedOut,
        TooLarge,
        Malformed,
        WriteFailed
    };

    struct Result {
        Outcome outcome = Outcome::NetworkError;
        int httpStatus = 0;
        bool saved() const { return outcome == Outcome::Saved; }
    };

    using Callback = std::function<void(const Result&)>;

    static constexpr qint64 kDefaultSizeCap = 8 * 1024 * 1024;
    static constexpr int kDefaultStallTimeoutMs = 15000;

    explicit DownloadQueue(QObject* parent = nullptr);
    ~DownloadQueue() override;

    // Queues a download of url into targetPath; callback runs on completion.
    void Enqueue(const QUrl& url, const QString& targetPath, Check check, Callback callback);

    // True while a job for this target is queued or running.
    bool IsPending(const QString& targetPath) const;
    bool IsIdle() const { return !current_ && jobs_.empty(); }

    void SetStallTimeoutMs(int ms) { stallTimeoutMs_ = ms; }
    void SetSizeCap(qint64 bytes) { sizeCap_ = bytes; }
    // Sent with every request when set (some servers ask clients to name themselves).
    void SetUserAgent(const QByteArray& userAgent) { userAgent_ = userAgent; }

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
        QUrl url;
        QString targetPath;
        Check check = Check::None;
        Callback callback;
    };

    void StartNext();
    void OnReadyRead();
    void ReadAvailable();
    void OnFinished();
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
    bool ending_ = false;
    static constexpr qint64 kSliceBytes = 128 * 1024;
    static constexpr qint64 kBytesPerTurn = 1024 * 1024;
    QByteArray buffer_;          // one slice of what arrived, reused
    bool readScheduled_ = false; // the next slice waits for the event loop
    bool finishWaiting_ = false; // the transfer ended before its data was read
};
