#include "installer/CountRequest.h"

#include "app/Endpoints.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

CountRequest::CountRequest(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), deadline_(new QTimer(this)) {
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] {
        if (reply_)
            reply_->abort(); // finished() follows and ends the request
    });
}

CountRequest::~CountRequest() {
    if (reply_) {
        // Leaving while a count is under way: drop it quietly, without a
        // Finished from inside the destructor.
        reply_->disconnect(this);
        reply_->abort();
        delete reply_;
    }
}

QString CountRequest::Address(const QString& baseAddress) {
    return Endpoints::WithoutTrailingSlashes(baseAddress) +
           QString::fromLatin1(Endpoints::kCountPath);
}

bool CountRequest::Send(const QString& baseAddress) {
    if (reply_)
        return false;
    QNetworkRequest request(QUrl(Address(baseAddress), QUrl::StrictMode));
    request.setHeader(QNetworkRequest::UserAgentHeader, QCoreApplication::applicationName());
    // The server's answer is never looked at: a cached one must not stand in
    // for a count that was not sent.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(timeoutMs_);
    answerBytes_ = 0;
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &CountRequest::OnReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &CountRequest::OnReplyFinished);
    // The transfer time-out only notices silence; a server that trickles an
    // endless answer is stopped by this one.
    deadline_->start(timeoutMs_);
    return true;
}

void CountRequest::OnReadyRead() {
    if (!reply_)
        return;
    answerBytes_ += reply_->readAll().size();
    if (answerBytes_ > kMaxAnswerBytes)
        reply_->abort();
}

void CountRequest::OnReplyFinished() {
    deadline_->stop();
    if (!reply_)
        return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    if (reply->isOpen())
        reply->readAll();
    reply->deleteLater();
    emit finished();
}
