#include "httptestserver.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <zlib.h>

#include <chrono>
#include <unordered_map>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

bool sameName(const QByteArray &a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

HttpTestResponse HttpTestResponse::withBody(const QByteArray &body, int status)
{
    HttpTestResponse response;
    response.status = status;
    response.body = body;
    return response;
}

HttpTestResponse HttpTestResponse::redirect(const QByteArray &location, int status)
{
    HttpTestResponse response;
    response.status = status;
    response.headers.append({"Location", location});
    return response;
}

QByteArray HttpTestRequest::header(QByteArrayView name) const
{
    for (const auto &[headerName, value] : headers) {
        if (sameName(headerName, name))
            return value;
    }
    return {};
}

bool HttpTestRequest::hasHeader(QByteArrayView name) const
{
    for (const auto &pair : headers) {
        if (sameName(pair.first, name))
            return true;
    }
    return false;
}

// Lives on the server's thread: accepts connections, reads requests, sends the scripted answers.
class HttpTestServer::Worker : public QObject {
public:
    explicit Worker(HttpTestServer *owner) : m_owner(owner) {}

    quint16 listen()
    {
        m_server = new QTcpServer(this);
        if (!m_server->listen(QHostAddress::LocalHost, 0))
            return 0;
        connect(m_server, &QTcpServer::newConnection, this, &Worker::accept);
        return m_server->serverPort();
    }

private:
    struct Exchange {
        QByteArray received;
        // A request is being answered; later ones wait in `received`.
        bool busy = false;
        bool counted = false;
    };

    void accept()
    {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            m_exchanges.emplace(socket, Exchange{});
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                answered(socket);
                m_exchanges.erase(socket);
                socket->deleteLater();
            });
        }
    }

    void read(QTcpSocket *socket)
    {
        m_exchanges[socket].received += socket->readAll();
        answerNext(socket);
    }

    // Answers the next complete request on the connection, if it is idle.
    void answerNext(QTcpSocket *socket)
    {
        Exchange &exchange = m_exchanges[socket];
        const qsizetype end = exchange.received.indexOf("\r\n\r\n");
        if (exchange.busy || end < 0)
            return;
        exchange.busy = true;
        exchange.counted = true;

        HttpTestRequest request;
        const QList<QByteArray> lines = exchange.received.left(end).split('\n');
        exchange.received.remove(0, end + 4);
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.target = requestLine.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines.at(i).indexOf(':');
            if (colon > 0)
                request.headers.append({lines.at(i).left(colon).trimmed(),
                                        lines.at(i).mid(colon + 1).trimmed()});
        }
        request.arrivedAtMs = HttpTestServer::nowMs();
        m_owner->requestArrived(request);

        const HttpTestResponse response = m_owner->responseFor(request.target);
        // Precise: a coarse timer may fire several milliseconds late, which the timings of a
        // client under test would wrongly take for its own.
        QTimer::singleShot(response.delayMs, Qt::PreciseTimer, socket, [this, socket, response] {
            answer(socket, response);
        });
    }

    void answer(QTcpSocket *socket, const HttpTestResponse &response)
    {
        QByteArray body = response.gzip ? HttpTestServer::gzip(response.body) : response.body;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' '
            + reasonPhrase(response.status) + "\r\n";
        for (const auto &[name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        if (response.gzip)
            head += "Content-Encoding: gzip\r\n";
        // A body without a length ends when the connection closes; other connections stay open
        // for the client's next request.
        const bool closes = response.contentLength == HttpTestResponse::NoLength;
        if (!closes) {
            const qint64 length = response.contentLength == HttpTestResponse::BodySize
                ? body.size()
                : response.contentLength;
            head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        } else {
            head += "Connection: close\r\n";
        }
        head += "\r\n";
        socket->write(head);

        const bool stalls = response.stallAfter >= 0;
        if (stalls)
            body.truncate(response.stallAfter);
        const int pieces = qMax(1, response.pieces);
        const qsizetype pieceSize = (body.size() + pieces - 1) / pieces;
        sendPieces(socket, body, pieceSize, response.pieceIntervalMs, stalls, closes);
    }

    void sendPieces(QTcpSocket *socket, QByteArray rest, qsizetype pieceSize, int intervalMs,
                    bool stalls, bool closes)
    {
        socket->write(rest.left(pieceSize));
        rest.remove(0, pieceSize);
        if (!rest.isEmpty()) {
            QTimer::singleShot(intervalMs, Qt::PreciseTimer, socket, [=, this] {
                sendPieces(socket, rest, pieceSize, intervalMs, stalls, closes);
            });
            return;
        }
        if (stalls)
            return;
        answered(socket);
        if (closes) {
            socket->disconnectFromHost();
            return;
        }
        m_exchanges[socket].busy = false;
        answerNext(socket);
    }

    void answered(QTcpSocket *socket)
    {
        const auto it = m_exchanges.find(socket);
        if (it == m_exchanges.end() || !it->second.counted)
            return;
        it->second.counted = false;
        m_owner->requestAnswered();
    }

    HttpTestServer *m_owner;
    QTcpServer *m_server = nullptr;
    std::unordered_map<QTcpSocket *, Exchange> m_exchanges;
};

HttpTestServer::HttpTestServer()
{
    m_thread.setObjectName(QStringLiteral("HttpTestServer"));
    m_thread.start();
    m_worker = new Worker(this);
    m_worker->moveToThread(&m_thread);
    // Sockets and timers belong to the server's thread and are deleted there when it ends.
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->listen(); }, Qt::BlockingQueuedConnection);
}

HttpTestServer::~HttpTestServer()
{
    m_thread.quit();
    m_thread.wait();
}

QString HttpTestServer::url(const QString &target) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(target);
}

void HttpTestServer::setResponse(const QString &target, const HttpTestResponse &response)
{
    QMutexLocker locker(&m_mutex);
    for (auto &entry : m_state.responses) {
        if (entry.first == target) {
            entry.second = response;
            return;
        }
    }
    m_state.responses.append({target, response});
}

HttpTestResponse HttpTestServer::responseFor(const QByteArray &target) const
{
    const QString full = QString::fromUtf8(target);
    const QString path = full.section(u'?', 0, 0);
    QMutexLocker locker(&m_mutex);
    for (const auto &entry : m_state.responses) {
        if (entry.first == full)
            return entry.second;
    }
    for (const auto &entry : m_state.responses) {
        if (entry.first == path)
            return entry.second;
    }
    return HttpTestResponse::withBody("no response for " + target, 404);
}

void HttpTestServer::requestArrived(const HttpTestRequest &request)
{
    QMutexLocker locker(&m_mutex);
    m_state.requests.append(request);
    m_state.maxInProgress = qMax(m_state.maxInProgress, ++m_state.inProgress);
}

void HttpTestServer::requestAnswered()
{
    QMutexLocker locker(&m_mutex);
    --m_state.inProgress;
}

QList<HttpTestRequest> HttpTestServer::requests() const
{
    QMutexLocker locker(&m_mutex);
    return m_state.requests;
}

qsizetype HttpTestServer::requestCount() const
{
    QMutexLocker locker(&m_mutex);
    return m_state.requests.size();
}

int HttpTestServer::maxConcurrency() const
{
    QMutexLocker locker(&m_mutex);
    return m_state.maxInProgress;
}

void HttpTestServer::clearRequests()
{
    QMutexLocker locker(&m_mutex);
    m_state.requests.clear();
    m_state.maxInProgress = m_state.inProgress;
}

qint64 HttpTestServer::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QByteArray HttpTestServer::gzip(const QByteArray &bytes)
{
    z_stream stream{};
    // 15 window bits + 16: a gzip wrapper instead of a zlib one.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY)
        != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}
