#include "lookup/requestprofile.h"

#include "lookup/consumercredentials.h"
#include "lookup/downloadoperation.h"
#include "model/userdefaults.h"
#include "quorlversion.h"

RequestProfile RequestProfile::current(const DownloadLimits &limits)
{
    RequestProfile profile;
    profile.userAgent = RequestHeaders::userAgent();
    const QString token = UserDefaults::shared().stringForKey(QStringLiteral("DISCOGS_TOKEN"));
    QString key;
    QString secret;
    if (token.trimmed().isEmpty() && ConsumerCredentials::isBuiltIn()) {
        key = DownloadOperation::decrypt(ConsumerCredentials::scrambledKey());
        secret = DownloadOperation::decrypt(ConsumerCredentials::scrambledSecret());
    }
    profile.authorization = RequestHeaders::authorization(token, key, secret);
    profile.limits = limits;
    return profile;
}

namespace RequestHeaders {

QByteArray userAgent()
{
    return QByteArrayLiteral("Quorl/" QUORL_VERSION " +" QUORL_PROJECT_URL);
}

namespace {

// A header value must stay on its line: control characters of a pasted token are dropped.
QByteArray headerText(const QString &text)
{
    QByteArray bytes = text.trimmed().toUtf8();
    bytes.removeIf([](char c) { return uchar(c) < 0x20 || uchar(c) == 0x7f; });
    return bytes;
}

} // namespace

QByteArray authorization(const QString &token, const QString &key, const QString &secret)
{
    const QByteArray tokenText = headerText(token);
    if (!tokenText.isEmpty())
        return "Discogs token=" + tokenText;
    const QByteArray keyText = headerText(key);
    const QByteArray secretText = headerText(secret);
    if (keyText.isEmpty() || secretText.isEmpty())
        return {};
    return "Discogs key=" + keyText + ", secret=" + secretText;
}

} // namespace RequestHeaders
