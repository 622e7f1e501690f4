#pragma once

#include "editor/linkopener.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>

// The desktop side of the outside links: links open with the desktop's handler; files are shown
// by the file manager's service on the session bus (its ShowItems call, the files as file://
// links), and where no service answers the folder is opened instead.
class DesktopLinks : public QObject, public LinkOpener {
    Q_OBJECT

public:
    using UrlHandler = std::function<bool(const QUrl &)>;

    // The bus to ask and what opens a link or a folder (the desktop's handler unless given).
    explicit DesktopLinks(QDBusConnection bus = QDBusConnection::sessionBus(), UrlHandler open = {},
                          QObject *parent = nullptr);

    void openLink(const QUrl &link) override;
    void revealFiles(const QString &folder, const QStringList &filePaths) override;

    static QStringList fileUris(const QStringList &filePaths);

signals:
    // Once per request: whether the file manager's service took it (false: the folder was opened).
    void revealHandled(const QString &folder, bool byFileManager);

private:
    void openFolder(const QString &folder);

    QDBusConnection m_bus;
    UrlHandler m_open;
};
