#include "catalogue/RadioDirectory.h"

#include "app/Endpoints.h"
#include "catalogue/DirectoryAnswerReader.h"

#include <QCoreApplication>
#include <QDnsLookup>
#include <QPointer>
#include <QRandomGenerator>
#include <QUrlQuery>

#include <algorithm>

namespace RadioDirectory {

const char* const kSrvName = "_api._tcp.radio-browser.info";

std::optional<std::vector<Station>> ParseStations(const QByteArray& json) {
    return ReadDirectoryAnswer(json);
}

QString ServerBase(const QString& server) {
    QString base = Endpoints::WithoutTrailingSlashes(server.trimmed());
    if (!base.contains(QLatin1String("://")))
        base.prepend(QStringLiteral("https://"));
    return base;
}

QUrl SearchAddress(const QString& server, const QString& query) {
    QUrl url(ServerBase(server) + QStringLiteral("/json/stations/search"));
    QUrlQuery q(query);
    const auto setDefault = [&q](const QString& key, const QString& value) {
        if (!q.hasQueryItem(key))
            q.addQueryItem(key, value);
    };
    setDefault(QStringLiteral("hidebroken"), QStringLiteral("true"));
    setDefault(QStringLiteral("order"), QStringLiteral("votes"));
    setDefault(QStringLiteral("reverse"), QStringLiteral("true"));
    setDefault(QStringLiteral("limit"), QString::number(kDefaultLimit));
    url.setQuery(q);
    return url;
}

QUrl ClickAddress(const QString& server, const QString& stationUuid) {
    return QUrl(ServerBase(server) + QStringLiteral("/json/url/") +
                QString::fromLatin1(QUrl::toPercentEncoding(stationUuid)));
}

QByteArray UserAgent() {
    const QString version = QCoreApplication::applicationVersion();
    return "WAVEORBIT/" + (version.isEmpty() ? QByteArray("5.0.0") : version.toUtf8());
}

QStringList FallbackServers() {
    return {QStringLiteral("https://de1.api.radio-browser.info"),
            QStringLiteral("https://nl1.api.radio-browser.info"),
            QStringLiteral("https://at1.api.radio-browser.info")};
}

SrvResolver DnsResolver() {
    return [](const QString& name, std::function<void(QStringList)> done) {
        auto* lookup = new QDnsLookup(QDnsLookup::SRV, name);
        QObject::connect(lookup, &QDnsLookup::finished, lookup, [lookup, done] {
            QStringList targets;
            if (lookup->error() == QDnsLookup::NoError) {
                for (const QDnsServiceRecord& r : lookup->serviceRecords())
                    targets << r.target() + QLatin1Char(':') + QString::number(r.port());
            }
            lookup->deleteLater();
            done(targets);
        });
        lookup->lookup();
    };
}

ServerFinder::ServerFinder(QObject* parent) : QObject(parent), resolver_(DnsResolver()) {}

void ServerFinder::Find(std::function<void(QStringList)> done) {
    if (!configured_.trimmed().isEmpty()) {
        done({ServerBase(configured_)});
        return;
    }
    if (!found_.isEmpty()) {
        done(found_);
        return;
    }
    QPointer<ServerFinder> self(this);
    resolver_(QString::fromLatin1(kSrvName), [self, done](QStringList targets) {
        QStringList servers;
        for (QString target : targets) {
            target.replace(QLatin1String(".:"), QLatin1String(":"));
            while (target.endsWith(QLatin1Char('.')))
                target.chop(1);
            // Port 443 is https's own (the directory's servers all use it);
            // a server on another port is spoken to in plain http.
            if (target.endsWith(QLatin1String(":443")))
                servers << QStringLiteral("https://") + target.chopped(4);
            else if (!target.isEmpty())
                servers << QStringLiteral("http://") + target;
        }
        // The directory asks clients to spread their load over its servers.
        std::shuffle(servers.begin(), servers.end(), *QRandomGenerator::global());
        if (servers.isEmpty())
            servers = FallbackServers();
        else if (self)
            self->found_ = servers;
        done(servers);
    });
}

} // namespace RadioDirectory
