#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class EditorController;
class Song;

// The track-numbering tool: numbers the selected songs in selection order, optionally cut into
// consecutive segments (one per disc) that are numbered from 1 each and also get their disc
// number. The two formatting operations are shared with the tag readers, which build track and
// disc texts from integer pairs the same way. The songs controller must outlive the tool.
class NumberingController {
public:
    explicit NumberingController(EditorController *songsController);

    // Numbers the whole selection as one segment; the discs are not touched.
    void applyNumberingToSongs();
    // Numbers the selection by segments: resetAtIndices holds the 1-based positions in the
    // selection where a segment starts, ascending, followed by the selection's size plus 1.
    // With more than one segment every song also gets its segment's disc number and count.
    // Reads NUMBERING_LEADING_ZERO and NUMBERING_TRACK_COUNT at each call.
    void applyNumberingToSongs(const QList<int> &resetAtIndices);

    // The numbering itself on a list of songs with given options. Positions outside the list
    // are skipped; a segment that does not end after it starts is empty.
    static void numberSongs(const QList<Song *> &songs, const QList<int> &resetAtIndices, bool leadingZeros,
                            bool trackCount);

    // The texts of NumberText, under the names the tool has always had.
    static QString addLeadingZerosToNumber(qint32 number, qint32 forCount, bool ifDesired);
    static QString addLeadingZerosAndSlashToCount(qint32 count, bool ifDesired);

private:
    EditorController *m_songsController;
};
