#pragma once

#include "lookup/requestprofile.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <optional>

class QNetworkAccessManager;
class QTimer;

// Why a transfer failed.
struct DownloadError {
    QNetworkReply::NetworkError code = QNetworkReply::NoError;
    QString description;
};

// One GET request of a download batch. It lives on the thread that started the batch: the
// batch starts it there, its transfer events and timers arrive there, and the consumer reads its
// results there during DownloadManagerAdvisor::processDownload(). Only http and https addresses
// are fetched, also across redirects; of a redirected request only the last response is kept.
class DownloadOperation : public QObject {
    Q_OBJECT

public:
    // The address is parsed from the string; the times are seconds on now()'s clock, startTime
    // 0 meaning "at once" (see DownloadManager for pacing).
    DownloadOperation(const QString &string, const QVariant &context, double startTime,
                      double expectedRunTime, QObject *parent = nullptr);
    ~DownloadOperation() override;
    DownloadOperation(const DownloadOperation &) = delete;
    DownloadOperation &operator=(const DownloadOperation &) = delete;

    // The client and the headers to use; set by the batch before start().
    void setNetwork(QNetworkAccessManager *network, const RequestProfile &profile);

    const QUrl &url() const { return m_url; }
    // Opaque to the batch; invalid when the request has none.
    const QVariant &context() const { return m_context; }
    // The status of the last response; 0 until a response arrives.
    qint64 statusCode() const { return m_statusCode; }
    // The body of the last response, decoded.
    const QByteArray &data() const { return m_data; }
    const std::optional<DownloadError> &error() const { return m_error; }
    // The header fields of the last response, names as the server spelled them.
    const QList<QNetworkReply::RawHeaderPair> &responseHeaders() const { return m_responseHeaders; }
    // The value of one response header, the name compared ignoring case; empty when absent.
    QByteArray responseHeader(QByteArrayView name) const;
    double startTime() const { return m_startTime; }
    double expectedRunTime() const { return m_expectedRunTime; }
    bool isExecuting() const { return m_executing; }
    bool isFinished() const { return m_finished; }
    bool isCancelled() const { return m_cancelled; }
    // Operations run concurrently: start() returns at once and finished() follows later.
    static constexpr bool isConcurrent() { return true; }

    // Sends the request, at startTime when that lies ahead (a timer; nothing waits).
    void start();
    // Ends the operation; unless forced, a paced request keeps its slot until startTime +
    // expectedRunTime first.
    void finishForced(bool forced);
    // Stops the transfer and ends the operation at once; nothing more is recorded.
    void cancel();

    // Unscrambles a stored credential: byte i XOR byte (i mod k) of the scramble key, read as
    // UTF-8.
    static QString decrypt(QByteArrayView scrambled);

    // Seconds on a monotonic clock, the clock of startTime.
    static double now();

signals:
    // The operation has finished (isFinished() turned true).
    void finished();

private:
    void send();
    void sendTo(const QUrl &url);
    void connectionDidReceiveResponse();
    void connectionDidReceiveData();
    void connectionDidFinishLoading();
    bool followRedirect();
    void fail(DownloadError error);
    void recordResponse();
    bool acceptBody();
    void dropReply();
    void setFinished();

    QUrl m_url;
    QVariant m_context;
    qint64 m_statusCode = 0;
    QByteArray m_data;
    std::optional<DownloadError> m_error;
    QList<QNetworkReply::RawHeaderPair> m_responseHeaders;
    double m_startTime = 0;
    double m_expectedRunTime = 0;
    bool m_executing = false;
    bool m_finished = false;
    bool m_cancelled = false;

    QNetworkAccessManager *m_network = nullptr;
    RequestProfile m_profile;
    QNetworkReply *m_connection = nullptr;
    int m_redirects = 0;
    QTimer *m_waitTimer = nullptr;
};
