#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpServer;
class QTcpSocket;

namespace demo {

// One request as the server saw it. The target is the path with its query,
// exactly as the client sent it.
struct HttpRequest {
    QByteArray method;
    QString target;
    QList<QPair<QByteArray, QByteArray>> headers; // names as sent
    QByteArray body;

    QString path() const;                            // the target without its query
    QString query() const;                           // the text after "?", empty when none
    QByteArray header(const QByteArray& name) const; // case-insensitive, empty when absent
};

// What the server answers to one request, including the ways it can
// misbehave on purpose so clients can be tested against broken servers.
struct HttpResponse {
    enum class Fault {
        None,              // a well-formed answer
        Refuse,            // read the request, then close the connection without a byte
        Stall,             // read the request, then send nothing and keep the connection open
        StallAfterHeaders, // send the status line and headers, then nothing more
        Truncated,         // announce declaredLength bytes, send the body (shorter), then close
        Slow,              // send the body at bytesPerSecond, driven by a timer
    };

    int status = 200;
    QByteArray contentType = "text/plain; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> extraHeaders;
    Fault fault = Fault::None;

    // Generated body: when generatedLength > 0 the body is that many bytes of
    // filler, streamed in pieces instead of held in memory.
    qint64 generatedLength = 0;
    qint64 declaredLength = -1; // Truncated: the Content-Length announced
    int bytesPerSecond = 0;     // Slow: the rate of the body

    qint64 bodyLength() const { return generatedLength > 0 ? generatedLength : body.size(); }

    static HttpResponse Ok(const QByteArray& body,
                           const QByteArray& contentType = "text/plain; charset=utf-8");
    static HttpResponse Html(const QByteArray& html);
    static HttpResponse Status(int status, const QByteArray& body = QByteArray());
    static HttpResponse Refuse();
    static HttpResponse Stall();
    static HttpResponse StallAfterHeaders(qint64 declaredLength);
    static HttpResponse Truncated(const QByteArray& sentPart, qint64 declaredLength);
    static HttpResponse Oversized(qint64 length);
    static HttpResponse Slow(const QByteArray& body, int bytesPerSecond);
};

// A small HTTP/1.1 server for tests and the demo service. It listens on
// 127.0.0.1 only: nothing else on the network can reach it. Every response
// closes its connection ("Connection: close"), which keeps the framing simple
// and makes each request visible as its own connection.
//
// Routes match the full target (path and query) first, then the path alone;
// a request for anything else gets 404. Requests are recorded in arrival
// order so tests can assert what a client fetched and when.
class LoopbackHttpServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    // Limits on what a client may send; larger requests get 431 or 413.
    static constexpr int kMaxHeaderBytes = 64 * 1024;
    static constexpr int kMaxBodyBytes = 1024 * 1024;

    explicit LoopbackHttpServer(QObject* parent = nullptr);
    ~LoopbackHttpServer() override;

    // Port 0 picks a free port. False when the port is taken.
    bool Listen(quint16 port = 0);
    void Close(); // stops listening and drops every open connection
    bool IsListening() const;
    quint16 Port() const;
    QString BaseUrl() const;                  // "http://127.0.0.1:<port>"
    QString Url(const QString& target) const; // BaseUrl() + target

    void SetRoute(const QString& target, const HttpResponse& response);
    void SetHandler(const QString& target, Handler handler);
    void RemoveRoute(const QString& target);
    // Serves the files under folder at prefix + their relative path (for
    // example HLS playlists and segments written by an encoder). Only regular
    // files inside the folder are served; ".." and links out of it get 404.
    void ServeFolder(const QString& prefix, const QString& folder);
    // Answers every request that no route matches (default: 404).
    void SetFallback(Handler handler);

    QList<HttpRequest> Requests() const { return requests_; }
    QStringList RequestedTargets() const; // targets in arrival order
    int RequestCount(const QString& target) const;
    void ClearRequests() { requests_.clear(); }

    int OpenConnections() const;

signals:
    // After the request has been recorded, before its answer is sent.
    void requestReceived(const demo::HttpRequest& request);
    // The connection is gone: answered in full, faulted, or dropped by the client.
    void connectionFinished();

private:
    class Connection;
    friend class Connection;

    void OnNewConnection();
    HttpResponse Answer(const HttpRequest& request);

    QTcpServer* server_;
    QHash<QString, Handler> routes_;
    QList<QPair<QString, QString>> folders_; // prefix, canonical folder
    Handler fallback_;
    QList<HttpRequest> requests_;
    QSet<Connection*> connections_; // open, not yet finished
};

// The reason phrase of a status code ("OK", "Not Found", ...).
QByteArray ReasonPhrase(int status);

} // namespace demo
