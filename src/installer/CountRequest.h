#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QTimer;

// The one count request the installer sends: a plain GET of the count path
// on the count server. It runs without blocking the window; the answer is
// read and thrown away, and every failure (no server, a refused or stalled
// connection, an error status) simply ends it. Finished() comes exactly once
// per Send, at the latest after the time-out.
class CountRequest : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 5000;
    // More of an answer than this is not worth reading: it is dropped anyway.
    static constexpr qint64 kMaxAnswerBytes = 64 * 1024;

    explicit CountRequest(QObject* parent = nullptr);
    ~CountRequest() override;

    void SetTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

    // Starts the request for baseAddress + the count path. False (and no
    // Finished) when one is already running.
    bool Send(const QString& baseAddress);
    bool Running() const { return reply_ != nullptr; }

    // The address Send requests for the base address.
    static QString Address(const QString& baseAddress);

signals:
    void finished();

private:
    void OnReadyRead();
    void OnReplyFinished();

    QNetworkAccessManager* network_;
    QTimer* deadline_;
    QPointer<QNetworkReply> reply_;
    qint64 answerBytes_ = 0;
    int timeoutMs_ = kDefaultTimeoutMs;
};
