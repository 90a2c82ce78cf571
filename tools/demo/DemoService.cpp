#include "demo/DemoService.h"

#include "demo/DemoCatalogues.h"
#include "demo/DemoPages.h"
#include "demo/DemoSources.h"

#include <QDateTime>
#include <QFile>

namespace demo {

namespace {

const QByteArray kCatalogueType = "text/plain; charset=us-ascii";
const QByteArray kHtmlType = "text/html; charset=utf-8";

bool IsReadMethod(const QByteArray& method) {
    return method == "GET" || method == "HEAD";
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
    // The guide is made at each request, around the time it is asked at,
    // so a programme is always on; gzip-compressed, as guides often are.
    if (request.path() == QLatin1String(kDemoGuidePath))
        return HttpResponse::Ok(GzipCompress(DemoGuide(QDateTime::currentSecsSinceEpoch())),
                                "application/gzip");
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
