#pragma once

#include <QString>
#include <QStringList>

class Release;

// The track rows of a release, one line per row: "disc|track|title|title artist|flag".
QStringList releaseRows(const Release &release);

// True when the five row lists have one length, every row is checked and every disc is a
// positive number; otherwise false with the first problem described.
bool rowsAreConsistent(const Release &release, QString *problem);
