#pragma once

#include <QList>
#include <QString>

// The tag values of one song of the benchmark corpus.
struct PlannedSong {
    QString relativePath; // "<artist> - <album>/<nn> <title>.<ext>"
    QString extension;    // mp3, m4a, flac, aiff, wav
    int albumIndex = 0;   // index of the album, and of its cover
    QString title, artist, album, albumArtist, composer, genre, comment, lyrics;
    int track = 0, trackCount = 0, disc = 0, discCount = 0;
    unsigned year = 0;
    bool compilation = false;
};

// A deterministic corpus: albums of 12 songs by one artist (every seventh album a compilation
// of several artists), with realistic titles, numbers and years, and the five formats mixed
// within each album. The same count always gives the same plan.
namespace CorpusPlan {

constexpr int SongsPerAlbum = 12;
const QStringList &formats();
QList<PlannedSong> make(int songCount);

} // namespace CorpusPlan
