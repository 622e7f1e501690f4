#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QThread>

#include <memory>

// What the test server answers to one request target.
struct HttpTestResponse {
    // Value of contentLength: announce the size of the (possibly compressed) body.
    static constexpr qint64 BodySize = -1;
    // Value of contentLength: announce none; the body ends when the server closes the
    // connection. Answers with a length keep the connection open for the next request.
    static constexpr qint64 NoLength = -2;

    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Send the body gzip-compressed, with "Content-Encoding: gzip".
    bool gzip = false;
    // Wait this long after the request has arrived before answering.
    int delayMs = 0;
    // Send the body in this many pieces, pieceIntervalMs apart.
    int pieces = 1;
    int pieceIntervalMs = 0;
    // Go silent after this many bytes of the (sent) body, keeping the connection open; -1 never.
    qint64 stallAfter = -1;
    qint64 contentLength = BodySize;

    static HttpTestResponse withBody(const QByteArray &body, int status = 200);
    static HttpTestResponse redirect(const QByteArray &location, int status = 302);
};

Q_DECLARE_METATYPE(HttpTestResponse)

// One request as the server received it.
struct HttpTestRequest {
    QByteArray method;
    // Path and query as sent.
    QByteArray target;
    QList<QPair<QByteArray, QByteArray>> headers;
    // HttpTestServer::nowMs() when the request had fully arrived.
    qint64 arrivedAtMs = 0;

    // The value of a header, the name compared ignoring case; empty when absent.
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const;
};

// An HTTP/1.1 server on 127.0.0.1 at a free port, for tests of code that downloads. It runs on
// a thread of its own, so a test may block its own thread or run its event loop while requests
// are served. Tests script an answer per request target (exact path and query first, then the
// path alone; anything else gets 404) and read back the requests it received. Connections are
// kept open between requests, as HTTP/1.1 servers do. All members may be called from any thread.
class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer &) = delete;
    HttpTestServer &operator=(const HttpTestServer &) = delete;

    bool isListening() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the target ("/releases/1").
    QString url(const QString &target) const;

    void setResponse(const QString &target, const HttpTestResponse &response);

    QList<HttpTestRequest> requests() const;
    qsizetype requestCount() const;
    // The largest number of requests that were being answered at the same time.
    int maxConcurrency() const;
    // Forgets the requests received and the concurrency seen; the responses stay.
    void clearRequests();

    // Milliseconds on a monotonic clock, the clock of HttpTestRequest::arrivedAtMs.
    static qint64 nowMs();

    // gzip-compresses bytes (RFC 1952).
    static QByteArray gzip(const QByteArray &bytes);

private:
    class Worker;
    friend class Worker;

    struct State {
        QList<QPair<QString, HttpTestResponse>> responses;
        QList<HttpTestRequest> requests;
        int inProgress = 0;
        int maxInProgress = 0;
    };

    HttpTestResponse responseFor(const QByteArray &target) const;
    void requestArrived(const HttpTestRequest &request);
    void requestAnswered();

    mutable QMutex m_mutex;
    State m_state;
    QThread m_thread;
    Worker *m_worker = nullptr;
    quint16 m_port = 0;
};
