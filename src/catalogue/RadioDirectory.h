#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

// The public community radio directory, spoken through its JSON API.
namespace RadioDirectory {

struct Station {
    QString uuid;
    QString name;
    QString url; // url_resolved where the directory gives it, else url
    QString homepage;
    QString tags;
    QString state;
    QString codec;
    int bitrate = 0;
    int votes = 0;
    int clickCount = 0;
    bool lastCheckOk = true;
};

// The stations of an answer, broken ones (lastcheckok 0) and those without
// an address left out. nullopt when the answer is not a JSON array.
std::optional<std::vector<Station>> ParseStations(const QByteArray& json);

constexpr int kDefaultLimit = 1000;

// The search address on a server for a stored query ("countrycode=KR",
// "tag=kpop", ...): broken stations hidden, the most voted first, at most
// kDefaultLimit, unless the query says otherwise itself.
QUrl SearchAddress(const QString& server, const QString& query);
// The address that counts a play of a station, as the directory asks
// its clients to call when a user starts one.
QUrl ClickAddress(const QString& server, const QString& stationUuid);

// "host" or "host:port" becomes "https://host"; an address with its scheme
// stays as it is; no trailing slash.
QString ServerBase(const QString& server);

// The User-Agent the directory asks clients to send: the program and version.
QByteArray UserAgent();

// The name of the DNS SRV record that lists the directory's servers.
extern const char* const kSrvName; // "_api._tcp.radio-browser.info"
// Servers tried when the DNS answer is missing or empty.
QStringList FallbackServers();

// Looks up SRV targets ("host:port"); calls back once, with an empty list
// on failure. Tests hand in their own.
using SrvResolver =
    std::function<void(const QString& name, std::function<void(QStringList targets)> done)>;
SrvResolver DnsResolver(); // QDnsLookup

// Finds the directory's servers: the configured one when set, else the SRV
// record's targets in random order, else the fallback list. The answer is
// kept for the program's run once found.
class ServerFinder : public QObject {
    Q_OBJECT
public:
    explicit ServerFinder(QObject* parent = nullptr);

    void SetResolver(SrvResolver resolver) { resolver_ = std::move(resolver); }
    void SetConfigured(const QString& server) { configured_ = server; }

    // Server bases to try, in order.
    void Find(std::function<void(QStringList servers)> done);

private:
    SrvResolver resolver_;
    QString configured_;
    QStringList found_;
};

} // namespace RadioDirectory
