#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QUrl>

// Fetches one address with QNetworkAccessManager and waits for the outcome in
// a local event loop, so other timers and sockets keep running meanwhile.
struct FetchResult {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0; // HTTP status, 0 when none arrived
    QByteArray body;
    QList<int> pieces;     // sizes of the body pieces as they arrived
    qint64 announced = -1; // Content-Length, -1 when none arrived
    QByteArray contentType;
    bool gaveUp = false; // the overall deadline passed and the fetch was aborted
};

struct FetchOptions {
    QByteArray method = "GET";
    QByteArray body;
    int transferTimeoutMs = 0; // QNetworkRequest transfer time-out; 0: none
    int deadlineMs = 10000;    // aborts the fetch when it passes (a safety net, not a timing test)
    qint64 abortAfterBytes = -1; // aborts once this many body bytes arrived
};

FetchResult Fetch(const QUrl& url, const FetchOptions& options = {});
