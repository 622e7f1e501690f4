#include "editor/playerdetection.h"

#include <QStandardPaths>

namespace PlayerDetection {

const QList<Player> &knownPlayers()
{
    // Each command hands the file to the instance already running and returns.
    static const QList<Player> players = {
        {QStringLiteral("audacious"), QStringLiteral("audacious --enqueue %f")},
        {QStringLiteral("rhythmbox-client"), QStringLiteral("rhythmbox-client --enqueue %f")},
        {QStringLiteral("strawberry"), QStringLiteral("strawberry --append %f")},
        {QStringLiteral("clementine"), QStringLiteral("clementine --append %f")},
        {QStringLiteral("qmmp"), QStringLiteral("qmmp --enqueue %f")},
        {QStringLiteral("deadbeef"), QStringLiteral("deadbeef --queue %f")},
        {QStringLiteral("amarok"), QStringLiteral("amarok --append %f")},
        {QStringLiteral("vlc"), QStringLiteral("vlc --one-instance --playlist-enqueue %f")},
    };
    return players;
}

QList<Player> installedPlayers(const QStringList &searchPaths)
{
    QList<Player> found;
    for (const Player &player : knownPlayers()) {
        if (!QStandardPaths::findExecutable(player.program, searchPaths).isEmpty())
            found.append(player);
    }
    return found;
}

} // namespace PlayerDetection
