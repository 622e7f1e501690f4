#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Music players that take files on their command line, for the music-library hand-off: the
// preferences offer the ones installed here with a command that adds a file to the running
// player's list.
namespace PlayerDetection {

struct Player {
    // The program looked for on the search path.
    QString program;
    // The hand-off command for it, "%f" standing for the file.
    QString command;
    bool operator==(const Player &) const = default;
};

// Every player known, in the order offered.
const QList<Player> &knownPlayers();
// The known players whose program is an executable file in one of the folders (the PATH when
// none are given), in the order of knownPlayers().
QList<Player> installedPlayers(const QStringList &searchPaths = {});

} // namespace PlayerDetection
