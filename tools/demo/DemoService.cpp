#include "demo/DemoService.h"

#include "demo/DemoCatalogues.h"
#include "demo/DemoPages.h"
#include "demo/DemoSources.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTimeZone>

namespace demo {

namespace {

const QByteArray kCatalogueType = "text/plain; charset=us-ascii";
const QByteArray kHtmlType = "text/html; charset=utf-8";

bool IsReadMethod(const QByteArray& method) {
    return method == "GET" || method == "HEAD";
}

// The date form of HTTP headers ("Wed, 09 Dec 2026 21:30:00 GMT").
const QString kHttpDate = QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'");

QByteArray HttpDate(qint64 seconds) {
    return QLocale::c()
        .toString(QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc()), kHttpDate)
        .toLatin1();
}

// UTC seconds, or -1 when the text is no HTTP date.
qint64 ReadHttpDate(const QByteArray& text) {
    QDateTime date = QLocale::c().toDateTime(QString::fromLatin1(text.trimmed()), kHttpDate);
    if (!date.isValid())
        return -1;
    date.setTimeZone(QTimeZone::utc());
    return date.toSecsSinceEpoch();
}

// Whether the client's copy of a document with this tag and date is current:
// If-None-Match decides when sent (a list of tags, or "*"), else
// If-Modified-Since.
bool ClientCopyIsCurrent(const HttpRequest& request, const QByteArray& etag, qint64 modified) {
    const QByteArray tags = request.header("If-None-Match");
    if (!tags.isEmpty()) {
        for (QByteArray tag : tags.split(',')) {
            tag = tag.trimmed();
            if (tag.startsWith("W/"))
                tag = tag.mid(2);
            if (tag == "*" || tag == etag)
                return true;
        }
        return false;
    }
    const QByteArray since = request.header("If-Modified-Since");
    const qint64 date = since.isEmpty() ? -1 : ReadHttpDate(since);
    return date >= 0 && modified <= date;
}

// The guide is one edition per half hour, made around the edition's time so
// a programme is always on; gzip-compressed, as guides often are. It says
// when it changed and under which tag, and a client whose copy is current
// gets 304 without a body.
HttpResponse ServeGuide(const HttpRequest& request, qint64 now) {
    constexpr qint64 kEdition = 30 * 60;
    const qint64 edition = now / kEdition * kEdition;
    const QByteArray etag = "\"kr-guide-" + QByteArray::number(edition) + "\"";
    HttpResponse response;
    if (ClientCopyIsCurrent(request, etag, edition))
        response.status = 304; // no body
    else
        response = HttpResponse::Ok(GzipCompress(DemoGuide(edition)), "application/gzip");
    response.extraHeaders.append({"ETag", etag});
    response.extraHeaders.append({"Last-Modified", HttpDate(edition)});
    return response;
}

} // namespace

DemoService::DemoService(QObject* parent) : QObject(parent) {}

DemoService::~DemoService() {
    Stop();
}

bool DemoService::Start(const DemoServiceOptions& options, QString* error) {
    auto fail = [&](const QString& why) {
        Stop();
        if (error)
            *error = why;
        return false;
    };
    if (!service_.Listen(options.servicePort))
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(options.servicePort));
    if (!count_.Listen(options.countPort))
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(options.countPort));

    // Web-page channels point at this server as it really listens.
    CatalogueOptions catalogueOptions;
    catalogueOptions.serviceBase = service_.BaseUrl();
    catalogueOptions.defaultVersion = options.catalogueVersion;
    const std::vector<DemoCatalogue> catalogues = BuildDemoCatalogues(catalogueOptions);
    documents_.clear();
    for (const DemoCatalogue& c : catalogues) {
        QByteArray bytes;
        QString why;
        if (!RenderCatalogue(c, &bytes, &why))
            return fail(why);
        documents_.insert(QStringLiteral("/ver/live/file/") + c.fileName, {bytes, kCatalogueType});
    }
    documents_.insert(QStringLiteral("/ver/5.0/live/update.php"),
                      {RenderVersionList(catalogues), kCatalogueType});
    for (const QString& path : DemoPagePaths())
        documents_.insert(path, {DemoPage(path), kHtmlType});
    documents_.insert(QStringLiteral("/index.html"), documents_.value(QStringLiteral("/")));
    documents_.insert(QString::fromLatin1(kDemoPlaylistPath),
                      {DemoPlaylist(service_.Url(QString::fromLatin1(kDemoGuidePath))),
                       "audio/x-mpegurl; charset=utf-8"});
    documents_.insert(QString::fromLatin1(kDemoDirectoryPath),
                      {DemoDirectoryAnswer(), "application/json; charset=utf-8"});

    countLogPath_ = options.countLogPath;
    service_.SetFallback([this](const HttpRequest& r) {
        HttpResponse response = ServeDocument(r);
        Log(QStringLiteral("service"), r, response);
        return response;
    });
    count_.SetFallback([this](const HttpRequest& r) {
        HttpResponse response = ServeCount(r);
        Log(QStringLiteral("count"), r, response);
        return response;
    });
    return true;
}

void DemoService::Stop() {
    service_.Close();
    count_.Close();
}

QByteArray DemoService::Document(const QString& path) const {
    return documents_.value(path).body;
}

HttpResponse DemoService::ServeDocument(const HttpRequest& request) const {
    if (!IsReadMethod(request.method))
        return HttpResponse::Status(405);
    // The player asks with fixed paths and no query; a query changes nothing.
    // A directory client counts each play it starts.
    if (request.path().startsWith(QLatin1String(kDemoClickPrefix)))
        return HttpResponse::Ok("{\"ok\":true}", "application/json");
    if (request.path() == QLatin1String(kDemoGuidePath))
        return ServeGuide(request, QDateTime::currentSecsSinceEpoch());
    const auto it = documents_.constFind(request.path());
    if (it == documents_.constEnd())
        return HttpResponse::Status(404);
    return HttpResponse::Ok(it->body, it->contentType);
}

HttpResponse DemoService::ServeCount(const HttpRequest& request) {
    if (!IsReadMethod(request.method))
        return HttpResponse::Status(405);
    if (request.path() != QStringLiteral("/log/count.php"))
        return HttpResponse::Status(404);
    if (request.query() != QLatin1String(kCountKeyQuery))
        return HttpResponse::Status(400, "unknown count key\n");
    ++countTotal_;
    const QString line =
        QStringLiteral("%1 count %2 total=%3")
            .arg(QDateTime::currentDateTime().toString(Qt::ISODate), request.query())
            .arg(countTotal_);
    if (!countLogPath_.isEmpty()) {
        QFile log(countLogPath_);
        if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            log.write(line.toUtf8() + '\n');
        } else {
            emit warning(QStringLiteral("count log %1: %2").arg(countLogPath_, log.errorString()));
        }
    }
    emit countRecorded(line);
    return HttpResponse::Ok("OK\n");
}

void DemoService::Log(const QString& server, const HttpRequest& request,
                      const HttpResponse& response) {
    emit requestLogged(QStringLiteral("%1 %2 %3 %4")
                           .arg(server, QString::fromLatin1(request.method), request.target)
                           .arg(response.status));
}

} // namespace demo
