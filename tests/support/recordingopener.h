#pragma once

#include "editor/linkopener.h"

#include <QList>
#include <utility>

// A link opener that records what the outside links asked of the desktop, in order.
class RecordingOpener : public LinkOpener {
public:
    void openLink(const QUrl &link) override { links.append(link); }
    void revealFiles(const QString &folder, const QStringList &filePaths) override
    {
        reveals.append({folder, filePaths});
    }

    QList<QUrl> links;
    QList<std::pair<QString, QStringList>> reveals;
};
