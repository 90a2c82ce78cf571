#pragma once

#include "demo/LoopbackHttpServer.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

namespace demo {

struct DemoServiceOptions {
    quint16 servicePort = 8730; // 0 picks a free port
    quint16 countPort = 8731;
    int catalogueVersion = 1;
    QString countLogPath; // each count is appended here as one line; empty: not kept
};

// The service the player talks to, on 127.0.0.1: the web server with the
// catalogues, the version list and the web pages, and the count server.
class DemoService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kCountKeyQuery = "mode=a&key=nimbuskit2";

    explicit DemoService(QObject* parent = nullptr);
    ~DemoService() override;

    // Listens on both ports and prepares every document. False, with a reason,
    // when a port is taken or the catalogues cannot be built.
    bool Start(const DemoServiceOptions& options, QString* error);
    void Stop();

    quint16 ServicePort() const { return service_.Port(); }
    quint16 CountPort() const { return count_.Port(); }
    LoopbackHttpServer& ServiceServer() { return service_; }
    LoopbackHttpServer& CountServer() { return count_; }

    int CountTotal() const { return countTotal_; }
    // The bytes served for a path of the web server (empty when none).
    QByteArray Document(const QString& path) const;

signals:
    // One line for a request's log: "<server> <method> <target> <status>".
    void requestLogged(const QString& line);
    // One line for each count received; also appended to the count log.
    void countRecorded(const QString& line);
    // Something went wrong that the service survives (the count log cannot be written).
    void warning(const QString& message);

private:
    HttpResponse ServeDocument(const HttpRequest& request) const;
    HttpResponse ServeCount(const HttpRequest& request);
    void Log(const QString& server, const HttpRequest& request, const HttpResponse& response);

    struct StoredDocument {
        QByteArray body;
        QByteArray contentType;
    };

    LoopbackHttpServer service_;
    LoopbackHttpServer count_;
    QHash<QString, StoredDocument> documents_;
    QString countLogPath_;
    int countTotal_ = 0;
};

} // namespace demo
