#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

class QSystemTrayIcon;

// Desktop notifications: a message of the desktop's notification service on the session bus,
// or, where no service answers, a message of the system tray icon where there is a tray, or
// nothing. Never waits for the bus: the service is asked in the background and the tray
// takes over when the call fails.
class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    enum class Route { Service, Tray, None };
    Q_ENUM(Route)

    static constexpr int ServiceTimeoutMs = 3000;
    static constexpr int MessageShownMs = 6000;

    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~DesktopNotifier() override;

    // Posts the notification; delivered() tells where it went.
    void notify(const QString &title, const QString &text);

signals:
    void delivered(DesktopNotifier::Route route);

private:
    void showInTray(const QString &title, const QString &text);

    QDBusConnection m_bus;
    QPointer<QSystemTrayIcon> m_tray;
};
