#include "HttpFetch.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

FetchResult Fetch(const QUrl& url, const FetchOptions& options) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    if (options.transferTimeoutMs > 0)
        request.setTransferTimeout(options.transferTimeoutMs);
    QBuffer upload;
    upload.setData(options.body);
    upload.open(QIODevice::ReadOnly);
    QNetworkReply* reply = manager.sendCustomRequest(request, options.method, &upload);
    // A client that stops early must not have buffered the whole body already.
    if (options.abortAfterBytes >= 0)
        reply->setReadBufferSize(64 * 1024);

    FetchResult result;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        result.gaveUp = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        const QByteArray piece = reply->readAll();
        if (piece.isEmpty())
            return;
        result.pieces.append(static_cast<int>(piece.size()));
        result.body += piece;
        if (options.abortAfterBytes >= 0 && result.body.size() >= options.abortAfterBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(options.deadlineMs);
    if (!reply->isFinished())
        loop.exec();

    const QByteArray rest = reply->isOpen() ? reply->readAll() : QByteArray();
    if (!rest.isEmpty()) {
        result.pieces.append(static_cast<int>(rest.size()));
        result.body += rest;
    }
    result.error = reply->error();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    result.announced = length.isValid() ? length.toLongLong() : -1;
    result.contentType = reply->rawHeader("Content-Type");
    delete reply;
    return result;
}
