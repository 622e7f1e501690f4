#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The desktop's hand-over points the editor's outside links use: the web browser or mail
// client for a link, the file manager for files. Called on the main thread.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;

    // Opens a web page or a mail link with the desktop's handler for it.
    virtual void openLink(const QUrl &link) = 0;
    // Asks the file manager to show the files, all in one folder, selected in that folder.
    virtual void revealFiles(const QString &folder, const QStringList &filePaths) = 0;
};
