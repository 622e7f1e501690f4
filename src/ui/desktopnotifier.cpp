#include "ui/desktopnotifier.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVariantMap>

namespace {

const QString NotificationService = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationPath = QStringLiteral("/org/freedesktop/Notifications");

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject *parent)
    : QObject(parent), m_bus(std::move(bus))
{
}

DesktopNotifier::~DesktopNotifier()
{
    delete m_tray;
}

void DesktopNotifier::notify(const QString &title, const QString &text)
{
    if (!m_bus.isConnected()) {
        showInTray(title, text);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(NotificationService, NotificationPath, NotificationService,
                                                       QStringLiteral("Notify"));
    // The service plays its own sound for a notification that names none.
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral(QUORL_APP_ID));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    call << QApplication::applicationDisplayName() << uint(0) << QStringLiteral(QUORL_APP_ID) << title << text
         << QStringList() << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, ServiceTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, title, text](QDBusPendingCallWatcher *done) {
        const bool taken = !done->isError();
        done->deleteLater();
        if (taken)
            emit delivered(Route::Service);
        else
            showInTray(title, text);
    });
}

void DesktopNotifier::showInTray(const QString &title, const QString &text)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages()) {
        emit delivered(Route::None);
        return;
    }
    // An icon of its own, shown only while its message is.
    if (!m_tray)
        m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_tray->show();
    m_tray->showMessage(title, text, QSystemTrayIcon::Information, MessageShownMs);
    QTimer::singleShot(MessageShownMs, m_tray, [tray = m_tray] {
        if (tray)
            tray->hide();
    });
    emit delivered(Route::Tray);
}
