#include "lookup/downloadoperation.h"

#include "lookup/consumercredentials.h"
#include "model/localized.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>

#include <chrono>
#include <cmath>

namespace {

bool isHttpScheme(const QUrl &url)
{
    return url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0
        || url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

// The HTTP layer turns an error status (4xx, 5xx) into an error code as well; for the batch such
// a response is an ordinary finish whose status, headers and body go to the consumer.
bool isStatusError(QNetworkReply::NetworkError code)
{
    return code == QNetworkReply::ProtocolInvalidOperationError
        || (code >= QNetworkReply::ContentAccessDenied
            && code <= QNetworkReply::UnknownContentError)
        || (code >= QNetworkReply::InternalServerError
            && code <= QNetworkReply::UnknownServerError);
}

int milliseconds(double seconds)
{
    return int(std::ceil(seconds * 1000.0));
}

} // namespace

DownloadOperation::DownloadOperation(const QString &string, const QVariant &context,
                                     double startTime, double expectedRunTime, QObject *parent)
    : QObject(parent)
    , m_url(string, QUrl::StrictMode)
    , m_context(context)
    , m_startTime(startTime)
    , m_expectedRunTime(expectedRunTime)
    , m_waitTimer(new QTimer(this))
{
    m_waitTimer->setSingleShot(true);
    m_waitTimer->setTimerType(Qt::PreciseTimer);
}

DownloadOperation::~DownloadOperation()
{
    dropReply();
}

void DownloadOperation::setNetwork(QNetworkAccessManager *network, const RequestProfile &profile)
{
    m_network = network;
    m_profile = profile;
}

QByteArray DownloadOperation::responseHeader(QByteArrayView name) const
{
    for (const auto &[headerName, value] : m_responseHeaders) {
        if (headerName.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

void DownloadOperation::start()
{
    if (m_cancelled) {
        setFinished();
        return;
    }
    if (!m_url.isValid() || m_network == nullptr) {
        finishForced(true);
        return;
    }
    if (!isHttpScheme(m_url)) {
        m_error = DownloadError{QNetworkReply::ProtocolUnknownError,
                               Localized::text("AddressXIsNotHttp").arg(m_url.toDisplayString())};
        finishForced(true);
        return;
    }
    const double wait = m_startTime - now();
    if (m_startTime != 0 && wait > 0) {
        QObject::disconnect(m_waitTimer, nullptr, this, nullptr);
        connect(m_waitTimer, &QTimer::timeout, this, &DownloadOperation::send);
        m_waitTimer->start(milliseconds(wait));
        return;
    }
    send();
}

void DownloadOperation::send()
{
    m_executing = true;
    m_finished = false;
    sendTo(m_url);
}

void DownloadOperation::sendTo(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", m_profile.userAgent);
    // Accept-Encoding is left to the client: it offers gzip itself, and undoes the encoding only
    // for requests where it did so.
    if (!m_profile.authorization.isEmpty())
        request.setRawHeader("Authorization", m_profile.authorization);
    request.setTransferTimeout(int(m_profile.limits.stallTimeout.count()));
    // The client's own guard against compression bombs would refuse some bodies below our limit;
    // our limit on the decoded size covers them.
    request.setDecompressedSafetyCheckThreshold(m_profile.limits.maxBodyBytes);
    // Redirects are followed here: the client's own following sometimes sends a request twice
    // and can mix the header fields of two responses.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);

    m_connection = m_network->get(request);
    if (m_connection == nullptr) {
        finishForced(true);
        return;
    }
    connect(m_connection, &QNetworkReply::metaDataChanged, this,
            &DownloadOperation::connectionDidReceiveResponse);
    connect(m_connection, &QNetworkReply::readyRead, this,
            &DownloadOperation::connectionDidReceiveData);
    connect(m_connection, &QNetworkReply::finished, this,
            &DownloadOperation::connectionDidFinishLoading);
}

void DownloadOperation::connectionDidReceiveResponse()
{
    // A new response (after a redirect, say) replaces everything of the one before.
    m_data = QByteArray();
    recordResponse();
    const QVariant length = m_connection->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_profile.limits.maxBodyBytes) {
        fail(DownloadError{QNetworkReply::ContentOperationNotPermittedError,
                           Localized::text("ResponseLargerThanXMiB")
                               .arg(m_profile.limits.maxBodyBytes / (1024 * 1024))});
    }
}

void DownloadOperation::connectionDidReceiveData()
{
    m_data += m_connection->readAll();
    acceptBody();
}

void DownloadOperation::connectionDidFinishLoading()
{
    if (m_connection->isReadable())
        m_data += m_connection->readAll();
    if (!acceptBody())
        return;
    recordResponse();
    const QNetworkReply::NetworkError code = m_connection->error();
    if (code == QNetworkReply::NoError && followRedirect())
        return;
    if (code == QNetworkReply::OperationCanceledError || code == QNetworkReply::TimeoutError) {
        // Every abort of our own disconnects first, so a cancelled transfer arriving here was
        // ended by the client's transfer timeout.
        m_error = DownloadError{QNetworkReply::TimeoutError,
                                Localized::text("NoProgressForXSeconds")
                                    .arg(m_profile.limits.stallTimeout.count() / 1000.0)};
    } else if (code != QNetworkReply::NoError && !(m_statusCode >= 400 && isStatusError(code))) {
        m_error = DownloadError{code, m_connection->errorString()};
    }
    dropReply();
    finishForced(false);
}

bool DownloadOperation::followRedirect()
{
    static constexpr int MaxRedirects = 20;
    const bool redirect = m_statusCode == 301 || m_statusCode == 302 || m_statusCode == 303
        || m_statusCode == 307 || m_statusCode == 308;
    const QByteArray location = m_connection->rawHeader("Location");
    if (!redirect || location.isEmpty())
        return false;

    // Only http and https, and never from https down to http.
    const QUrl from = m_connection->url();
    const QUrl next = from.resolved(QUrl::fromEncoded(location));
    const bool downgrade = from.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0
        && next.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0;
    if (!next.isValid() || !isHttpScheme(next) || downgrade) {
        fail(DownloadError{downgrade ? QNetworkReply::InsecureRedirectError
                                     : QNetworkReply::ProtocolUnknownError,
                           Localized::text("RedirectToXRefused").arg(next.toDisplayString())});
        return true;
    }
    if (++m_redirects > MaxRedirects) {
        fail(DownloadError{QNetworkReply::TooManyRedirectsError,
                           Localized::text("RedirectToXRefused").arg(next.toDisplayString())});
        return true;
    }
    dropReply();
    m_data = QByteArray();
    sendTo(next);
    return true;
}

void DownloadOperation::recordResponse()
{
    const QVariant status = m_connection->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return;
    m_statusCode = status.toLongLong();
    m_responseHeaders = m_connection->rawHeaderPairs();
}

bool DownloadOperation::acceptBody()
{
    if (m_data.size() <= m_profile.limits.maxBodyBytes)
        return true;
    fail(DownloadError{QNetworkReply::ContentOperationNotPermittedError,
                       Localized::text("ResponseLargerThanXMiB")
                           .arg(m_profile.limits.maxBodyBytes / (1024 * 1024))});
    return false;
}

void DownloadOperation::fail(DownloadError error)
{
    m_error = std::move(error);
    m_data = QByteArray();
    dropReply();
    finishForced(false);
}

void DownloadOperation::dropReply()
{
    if (m_connection == nullptr)
        return;
    QNetworkReply *connection = m_connection;
    m_connection = nullptr;
    // Disconnected first: an abort of our own must not be taken for a failed transfer.
    QObject::disconnect(connection, nullptr, this, nullptr);
    connection->abort();
    connection->deleteLater();
}

void DownloadOperation::finishForced(bool forced)
{
    if (m_finished)
        return;
    const double remaining = m_startTime + m_expectedRunTime - now();
    if (!forced && m_startTime != 0 && remaining > 0) {
        // A paced request keeps its slot for its planned run time, success or failure.
        QObject::disconnect(m_waitTimer, nullptr, this, nullptr);
        connect(m_waitTimer, &QTimer::timeout, this, &DownloadOperation::setFinished);
        m_waitTimer->start(milliseconds(remaining));
        return;
    }
    setFinished();
}

void DownloadOperation::cancel()
{
    m_waitTimer->stop();
    dropReply();
    finishForced(true);
    m_cancelled = true;
}

void DownloadOperation::setFinished()
{
    m_waitTimer->stop();
    m_executing = false;
    if (m_finished)
        return;
    m_finished = true;
    emit finished();
}

QString DownloadOperation::decrypt(QByteArrayView scrambled)
{
    const std::string_view key = ConsumerCredentials::ScrambleKey;
    QByteArray bytes(scrambled.data(), scrambled.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(bytes[i] ^ key[std::size_t(i) % key.size()]);
    return QString::fromUtf8(bytes);
}

double DownloadOperation::now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
