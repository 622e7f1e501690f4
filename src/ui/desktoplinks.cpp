#include "ui/desktoplinks.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>

namespace {

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString FileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
// A file manager that does not answer within this time counts as absent.
constexpr int RevealTimeoutMs = 5000;

} // namespace

DesktopLinks::DesktopLinks(QDBusConnection bus, UrlHandler open, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_open(open ? std::move(open) : UrlHandler([](const QUrl &url) { return QDesktopServices::openUrl(url); }))
{
}

void DesktopLinks::openLink(const QUrl &link)
{
    m_open(link);
}

QStringList DesktopLinks::fileUris(const QStringList &filePaths)
{
    QStringList uris;
    uris.reserve(filePaths.size());
    for (const QString &path : filePaths)
        uris.append(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    return uris;
}

void DesktopLinks::revealFiles(const QString &folder, const QStringList &filePaths)
{
    if (!m_bus.isConnected()) {
        openFolder(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService, FileManagerPath, FileManagerService,
                                                       QStringLiteral("ShowItems"));
    call << fileUris(filePaths) << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, RevealTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, folder](QDBusPendingCallWatcher *done) {
        const bool taken = !done->isError();
        done->deleteLater();
        if (taken)
            emit revealHandled(folder, true);
        else
            openFolder(folder);
    });
}

void DesktopLinks::openFolder(const QString &folder)
{
    m_open(QUrl::fromLocalFile(folder));
    emit revealHandled(folder, false);
}
