#include "demo/LoopbackHttpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace demo {

namespace {

// How much unsent data a connection keeps queued in its socket; the rest of a
// long body is produced as the socket drains, so a huge body never sits in memory.
constexpr qint64 kWriteAhead = 256 * 1024;
constexpr qint64 kChunk = 64 * 1024;
constexpr int kSlowTickMs = 50;

// Filler for generated bodies: INI comment lines, so an oversized catalogue
// is still text that a reader can walk through.
const QByteArray& FillerLine() {
    static const QByteArray line =
        QByteArray(";") + QByteArray(62, 'x') + QByteArray("\n"); // 64 bytes
    return line;
}

QByteArray Filler(qint64 offset, qint64 length) {
    const QByteArray& line = FillerLine();
    QByteArray out;
    out.reserve(static_cast<int>(length));
    qint64 pos = offset % line.size();
    while (out.size() < length) {
        const qint64 take = std::min<qint64>(line.size() - pos, length - out.size());
        out.append(line.constData() + pos, static_cast<int>(take));
        pos = 0;
    }
    return out;
}

QByteArray ContentTypeOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("m3u8"))
        return "application/vnd.apple.mpegurl";
    if (suffix == QLatin1String("ts"))
        return "video/mp2t";
    if (suffix == QLatin1String("mp3"))
        return "audio/mpeg";
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return "text/html; charset=utf-8";
    if (suffix == QLatin1String("ini") || suffix == QLatin1String("txt"))
        return "text/plain";
    return "application/octet-stream";
}

// The file for a request path under a served folder, or empty when the path
// leaves the folder or names no regular file.
QString ResolveInFolder(const QString& canonicalFolder, const QString& relative) {
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")) ||
        parts.contains(QStringLiteral(".")))
        return {};
    const QFileInfo info(canonicalFolder + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    const QString canonical = info.canonicalFilePath(); // empty when missing
    if (canonical.isEmpty() || !info.isFile() ||
        !canonical.startsWith(canonicalFolder + QLatin1Char('/')))
        return {};
    return canonical;
}

QString StripAbsoluteForm(const QString& target) {
    // "http://host:port/path" as a proxy would send it: keep the path.
    if (!target.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive))
        return target;
    const int slash = target.indexOf(QLatin1Char('/'), 7);
    return slash < 0 ? QStringLiteral("/") : target.mid(slash);
}

} // namespace

QString HttpRequest::path() const {
    const int q = target.indexOf(QLatin1Char('?'));
    return q < 0 ? target : target.left(q);
}

QString HttpRequest::query() const {
    const int q = target.indexOf(QLatin1Char('?'));
    return q < 0 ? QString() : target.mid(q + 1);
}

QByteArray HttpRequest::header(const QByteArray& name) const {
    for (const auto& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0)
            return h.second;
    }
    return {};
}

HttpResponse HttpResponse::Ok(const QByteArray& body, const QByteArray& contentType) {
    HttpResponse r;
    r.body = body;
    r.contentType = contentType;
    return r;
}

HttpResponse HttpResponse::Html(const QByteArray& html) {
    return Ok(html, "text/html; charset=utf-8");
}

HttpResponse HttpResponse::Status(int status, const QByteArray& body) {
    HttpResponse r;
    r.status = status;
    r.body = body.isEmpty() ? QByteArray::number(status) + ' ' + ReasonPhrase(status) + '\n' : body;
    return r;
}

HttpResponse HttpResponse::Refuse() {
    HttpResponse r;
    r.fault = Fault::Refuse;
    return r;
}

HttpResponse HttpResponse::Stall() {
    HttpResponse r;
    r.fault = Fault::Stall;
    return r;
}

HttpResponse HttpResponse::StallAfterHeaders(qint64 declaredLength) {
    HttpResponse r;
    r.fault = Fault::StallAfterHeaders;
    r.declaredLength = declaredLength;
    return r;
}

HttpResponse HttpResponse::Truncated(const QByteArray& sentPart, qint64 declaredLength) {
    HttpResponse r;
    r.fault = Fault::Truncated;
    r.body = sentPart;
    // A "truncated" body must really be short of what is announced.
    r.declaredLength = std::max<qint64>(declaredLength, sentPart.size() + 1);
    return r;
}

HttpResponse HttpResponse::Oversized(qint64 length) {
    HttpResponse r;
    r.generatedLength = std::max<qint64>(length, 1);
    return r;
}

HttpResponse HttpResponse::Slow(const QByteArray& body, int bytesPerSecond) {
    HttpResponse r = Ok(body);
    r.fault = Fault::Slow;
    r.bytesPerSecond = std::max(bytesPerSecond, 1);
    return r;
}

QByteArray ReasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// One accepted connection: reads one request, answers it (or misbehaves as
// told), then closes. Owns its socket; deletes itself when the socket is gone.
class LoopbackHttpServer::Connection : public QObject {
public:
    Connection(LoopbackHttpServer* server, QTcpSocket* socket)
        : QObject(server), server_(server), socket_(socket) {
        socket_->setParent(this);
        server_->connections_.insert(this);
        connect(socket_, &QTcpSocket::readyRead, this, &Connection::OnReadyRead);
        connect(socket_, &QTcpSocket::bytesWritten, this, &Connection::Pump);
        connect(socket_, &QTcpSocket::disconnected, this, &Connection::Finish);
        connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
            if (socket_->state() == QAbstractSocket::UnconnectedState)
                Finish();
        });
        // Bytes that arrived before the signals were connected raise no readyRead.
        if (socket_->bytesAvailable() > 0)
            QMetaObject::invokeMethod(this, &Connection::OnReadyRead, Qt::QueuedConnection);
    }

    bool finished() const { return finished_; }

    void Finish() {
        if (finished_)
            return;
        finished_ = true;
        if (slowTimer_)
            slowTimer_->stop();
        server_->connections_.remove(this);
        deleteLater();
        emit server_->connectionFinished();
    }

    void Drop() {
        socket_->abort();
        Finish();
    }

private:
    enum class State { Head, Body, Answered };

    void OnReadyRead() {
        if (state_ == State::Answered) {
            socket_->readAll(); // one request per connection; anything more is ignored
            return;
        }
        buffer_ += socket_->readAll();
        if (state_ == State::Head) {
            const int end = buffer_.indexOf("\r\n\r\n");
            if (end < 0) {
                if (buffer_.size() > kMaxHeaderBytes)
                    Reject(431);
                return;
            }
            if (end > kMaxHeaderBytes) {
                Reject(431);
                return;
            }
            if (!ParseHead(buffer_.left(end)))
                return;
            buffer_.remove(0, end + 4);
            state_ = State::Body;
        }
        if (state_ == State::Body) {
            if (buffer_.size() < bodyLength_)
                return;
            request_.body = buffer_.left(static_cast<int>(bodyLength_));
            buffer_.clear();
            Dispatch();
        }
    }

    bool ParseHead(const QByteArray& head) {
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> parts = lines.value(0).trimmed().split(' ');
        if (parts.size() != 3 || !parts[2].startsWith("HTTP/1.") || parts[1].isEmpty()) {
            Reject(400);
            return false;
        }
        request_.method = parts[0];
        request_.target = StripAbsoluteForm(QString::fromUtf8(parts[1]));
        for (int i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            if (line.isEmpty())
                continue;
            const int colon = line.indexOf(':');
            if (colon <= 0) {
                Reject(400);
                return false;
            }
            request_.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
        if (!request_.header("Transfer-Encoding").isEmpty()) {
            Reject(501);
            return false;
        }
        const QByteArray length = request_.header("Content-Length");
        if (!length.isEmpty()) {
            bool ok = false;
            bodyLength_ = length.toLongLong(&ok);
            if (!ok || bodyLength_ < 0) {
                Reject(400);
                return false;
            }
            if (bodyLength_ > kMaxBodyBytes) {
                Reject(413);
                return false;
            }
        }
        return true;
    }

    // A request the server cannot take: answer the status and close, unrecorded.
    void Reject(int status) {
        state_ = State::Answered;
        Respond(HttpResponse::Status(status), false);
    }

    void Dispatch() {
        state_ = State::Answered;
        QPointer<Connection> self(this);
        const HttpResponse response = server_->Answer(request_);
        if (!self || finished_)
            return; // the server was closed from a handler or a slot
        Respond(response, request_.method == "HEAD");
    }

    QByteArray Head(const HttpResponse& r, qint64 contentLength) const {
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + ReasonPhrase(r.status) + "\r\n";
        head += "Server: waveorbit-demo\r\n";
        head += "Content-Type: " + r.contentType + "\r\n";
        head += "Content-Length: " + QByteArray::number(contentLength) + "\r\n";
        head += "Cache-Control: no-store\r\n";
        head += "Connection: close\r\n";
        for (const auto& h : r.extraHeaders)
            head += h.first + ": " + h.second + "\r\n";
        head += "\r\n";
        return head;
    }

    void Respond(const HttpResponse& r, bool headOnly) {
        response_ = r;
        using Fault = HttpResponse::Fault;
        switch (r.fault) {
        case Fault::Refuse:
            Drop();
            return;
        case Fault::Stall:
            return; // the connection stays open until the client or the server gives up
        case Fault::StallAfterHeaders:
            socket_->write(Head(r, std::max<qint64>(r.declaredLength, 1)));
            return;
        case Fault::Truncated:
            socket_->write(Head(r, r.declaredLength));
            break;
        case Fault::None:
        case Fault::Slow:
            socket_->write(Head(r, r.bodyLength()));
            break;
        }
        remaining_ = headOnly ? 0 : response_.bodyLength();
        if (r.fault == Fault::Slow && remaining_ > 0) {
            slowTimer_ = new QTimer(this);
            slowTimer_->setInterval(kSlowTickMs);
            connect(slowTimer_, &QTimer::timeout, this, &Connection::SlowTick);
            clock_.start();
            slowTimer_->start();
            return;
        }
        pumping_ = true;
        Pump();
    }

    // Keeps the socket fed from the body until it is all queued, then closes
    // once the socket has sent it.
    void Pump() {
        if (finished_ || !pumping_)
            return;
        while (remaining_ > 0 && socket_->bytesToWrite() < kWriteAhead)
            WriteBody(std::min(remaining_, kChunk));
        if (remaining_ == 0)
            socket_->disconnectFromHost(); // flushes what is queued, then closes
    }

    void SlowTick() {
        const qint64 due = clock_.elapsed() * response_.bytesPerSecond / 1000 -
                           (response_.bodyLength() - remaining_);
        // Catch up after a late tick, but never by more than two ticks' worth:
        // a slow body must stay a trickle even when the process was stalled.
        const qint64 perTick =
            std::max<qint64>(qint64(response_.bytesPerSecond) * kSlowTickMs / 1000, 1);
        const qint64 n = std::min({remaining_, std::max<qint64>(due, 0), 2 * perTick});
        if (n > 0)
            WriteBody(n);
        if (remaining_ == 0) {
            slowTimer_->stop();
            socket_->disconnectFromHost();
        }
    }

    void WriteBody(qint64 n) {
        const qint64 offset = response_.bodyLength() - remaining_;
        if (response_.generatedLength > 0)
            socket_->write(Filler(offset, n));
        else
            socket_->write(response_.body.constData() + offset, n);
        remaining_ -= n;
    }

    LoopbackHttpServer* server_;
    QTcpSocket* socket_;
    State state_ = State::Head;
    QByteArray buffer_;
    qint64 bodyLength_ = 0;
    HttpRequest request_;
    HttpResponse response_;
    qint64 remaining_ = 0;
    QTimer* slowTimer_ = nullptr;
    QElapsedTimer clock_;
    bool pumping_ = false; // the body goes out as the socket drains
    bool finished_ = false;
};

LoopbackHttpServer::LoopbackHttpServer(QObject* parent)
    : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &LoopbackHttpServer::OnNewConnection);
    fallback_ = [](const HttpRequest&) { return HttpResponse::Status(404); };
}

LoopbackHttpServer::~LoopbackHttpServer() {
    Close();
}

bool LoopbackHttpServer::Listen(quint16 port) {
    if (server_->isListening())
        return true;
    return server_->listen(QHostAddress(QHostAddress::LocalHost), port);
}

void LoopbackHttpServer::Close() {
    server_->close();
    const QSet<Connection*> open = connections_; // Drop() removes from the set
    for (Connection* c : open)
        c->Drop();
}

bool LoopbackHttpServer::IsListening() const {
    return server_->isListening();
}

quint16 LoopbackHttpServer::Port() const {
    return server_->serverPort();
}

QString LoopbackHttpServer::BaseUrl() const {
    return QStringLiteral("http://127.0.0.1:") + QString::number(Port());
}

QString LoopbackHttpServer::Url(const QString& target) const {
    return BaseUrl() + target;
}

void LoopbackHttpServer::SetRoute(const QString& target, const HttpResponse& response) {
    routes_.insert(target, [response](const HttpRequest&) { return response; });
}

void LoopbackHttpServer::SetHandler(const QString& target, Handler handler) {
    routes_.insert(target, std::move(handler));
}

void LoopbackHttpServer::ServeFolder(const QString& prefix, const QString& folder) {
    QString base = prefix;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    folders_.append({base, QDir(folder).canonicalPath()});
}

void LoopbackHttpServer::RemoveRoute(const QString& target) {
    routes_.remove(target);
}

void LoopbackHttpServer::SetFallback(Handler handler) {
    fallback_ = std::move(handler);
}

QStringList LoopbackHttpServer::RequestedTargets() const {
    QStringList targets;
    for (const HttpRequest& r : requests_)
        targets.append(r.target);
    return targets;
}

int LoopbackHttpServer::RequestCount(const QString& target) const {
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(),
                      [&](const HttpRequest& r) { return r.target == target; }));
}

int LoopbackHttpServer::OpenConnections() const {
    return static_cast<int>(connections_.size());
}

void LoopbackHttpServer::OnNewConnection() {
    while (QTcpSocket* socket = server_->nextPendingConnection())
        new Connection(this, socket);
}

HttpResponse LoopbackHttpServer::Answer(const HttpRequest& request) {
    requests_.append(request);
    emit requestReceived(request);
    auto it = routes_.constFind(request.target);
    if (it == routes_.constEnd())
        it = routes_.constFind(request.path());
    if (it == routes_.constEnd()) {
        const QString path = QUrl::fromPercentEncoding(request.path().toUtf8());
        for (const auto& [prefix, folder] : folders_) {
            if (folder.isEmpty() || !path.startsWith(prefix))
                continue;
            if (request.method != "GET" && request.method != "HEAD")
                return HttpResponse::Status(405);
            const QString file = ResolveInFolder(folder, path.mid(prefix.size()));
            QFile f(file);
            if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
                return HttpResponse::Status(404);
            return HttpResponse::Ok(f.readAll(), ContentTypeOf(file));
        }
    }
    const Handler handler = it != routes_.constEnd() ? it.value() : fallback_;
    return handler ? handler(request) : HttpResponse::Status(404);
}

} // namespace demo
