#include "tools/numberingcontroller.h"

#include "editor/editorcontroller.h"
#include "model/numbertext.h"
#include "model/song.h"
#include "model/userdefaults.h"

QString NumberingController::addLeadingZerosToNumber(qint32 number, qint32 forCount, bool ifDesired)
{
    return NumberText::addLeadingZerosToNumber(number, forCount, ifDesired);
}

QString NumberingController::addLeadingZerosAndSlashToCount(qint32 count, bool ifDesired)
{
    return NumberText::addLeadingZerosAndSlashToCount(count, ifDesired);
}

NumberingController::NumberingController(EditorController *songsController)
    : m_songsController(songsController)
{
}

void NumberingController::applyNumberingToSongs()
{
    const qsizetype count = m_songsController->selectedObjects().size();
    applyNumberingToSongs({1, int(count) + 1});
}

void NumberingController::applyNumberingToSongs(const QList<int> &resetAtIndices)
{
    const UserDefaults &defaults = UserDefaults::shared();
    const bool leadingZeros = defaults.boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO"));
    const bool trackCount = defaults.boolForKey(QStringLiteral("NUMBERING_TRACK_COUNT"));
    numberSongs(m_songsController->selectedObjects(), resetAtIndices, leadingZeros, trackCount);
}

void NumberingController::numberSongs(const QList<Song *> &songs, const QList<int> &resetAtIndices,
                                      bool leadingZeros, bool trackCount)
{
    const qint32 segments = qint32(resetAtIndices.size()) - 1;
    const QString discCountText = trackCount ? addLeadingZerosAndSlashToCount(segments, leadingZeros) : QString();
    for (qint32 s = 0; s < segments; ++s) {
        const qint32 first = resetAtIndices[s];
        const qint32 size = qint32(qint64(resetAtIndices[s + 1]) - first);
        const QString trackCountText = trackCount ? addLeadingZerosAndSlashToCount(size, leadingZeros) : QString();
        const QString discText = addLeadingZerosToNumber(s + 1, segments, leadingZeros) + discCountText;
        // j runs over the segment's songs (1-based); the bounds keep it inside the list.
        const qint64 firstJ = qMax<qint64>(1, 2 - qint64(first));
        const qint64 lastJ = qMin<qint64>(size, songs.size() + 1 - qint64(first));
        for (qint64 j = firstJ; j <= lastJ; ++j) {
            Song *song = songs[first + j - 2];
            song->setTrack(addLeadingZerosToNumber(qint32(j), size, leadingZeros) + trackCountText);
            if (segments > 1)
                song->setDisc(discText);
        }
    }
}
