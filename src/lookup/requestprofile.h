#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// The intervals and limits of a download batch. The defaults are the product's; tests shorten
// them. Any thread.
struct DownloadLimits {
    // How often the batch reports progress and asks whether to stop.
    std::chrono::milliseconds pollInterval{1000};
    // How long a transfer may go without receiving anything before it fails.
    std::chrono::milliseconds stallTimeout{60000};
    // The largest response body accepted, counted after decoding.
    qint64 maxBodyBytes = qint64(32) * 1024 * 1024;
};

// What every request of a batch carries: fixed when the batch starts, so a change of the token
// setting applies to the next batch.
struct RequestProfile {
    QByteArray userAgent;
    // The value of the Authorization header; empty means the header is left out.
    QByteArray authorization;
    DownloadLimits limits;

    // The profile with the current "DISCOGS_TOKEN" setting and the built-in credentials.
    static RequestProfile current(const DownloadLimits &limits);
};

namespace RequestHeaders {

// "Quorl/<version> +<project address>".
QByteArray userAgent();

// "Discogs token=<token>" when the token is not blank; otherwise "Discogs key=<key>,
// secret=<secret>" when both are given; otherwise empty (no header).
QByteArray authorization(const QString &token, const QString &key, const QString &secret);

} // namespace RequestHeaders
