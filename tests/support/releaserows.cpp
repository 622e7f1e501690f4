#include "releaserows.h"

#include "lookup/release.h"

QStringList releaseRows(const Release &release)
{
    QStringList lines;
    for (qsizetype i = 0; i < release.countOfTracks(); ++i) {
        lines.append(QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(release.objectInDiscsAtIndex(i), release.objectInTracksAtIndex(i),
                              release.objectInTitlesAtIndex(i),
                              release.objectInTitleArtistsAtIndex(i),
                              QString::number(release.objectInFlagsAtIndex(i))));
    }
    return lines;
}

bool rowsAreConsistent(const Release &release, QString *problem)
{
    const qsizetype n = release.countOfTracks();
    if (release.countOfDiscs() != n || release.countOfTitles() != n
        || release.countOfTitleArtists() != n || release.countOfFlags() != n) {
        *problem = QStringLiteral("row lists of different lengths");
        return false;
    }
    for (qsizetype i = 0; i < n; ++i) {
        bool ok = false;
        if (release.objectInDiscsAtIndex(i).toInt(&ok) < 1 || !ok) {
            *problem = QStringLiteral("row %1 has disc %2")
                           .arg(QString::number(i), release.objectInDiscsAtIndex(i));
            return false;
        }
        if (release.objectInFlagsAtIndex(i) != 1) {
            *problem = QStringLiteral("row %1 is not checked").arg(i);
            return false;
        }
    }
    return true;
}
