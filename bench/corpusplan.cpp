#include "corpusplan.h"

#include <QRandomGenerator>

#include <algorithm>

namespace CorpusPlan {

namespace {

const QStringList Adjectives = {
    "Silver", "Broken", "Golden", "Quiet", "Electric", "Lonely", "Crimson", "Endless", "Hollow",
    "Midnight", "Paper", "Velvet", "Distant", "Wild", "Northern", "Faded", "Burning", "Secret",
    "Little", "Blue", "Restless", "Frozen", "Sweet", "Gentle"};
const QStringList Nouns = {
    "River", "Morning", "Heart", "Highway", "Garden", "Window", "Ocean", "Letter", "Mountain",
    "Shadow", "Summer", "Station", "Harbour", "Mirror", "Lantern", "Thunder", "Orchard", "Engine",
    "Carousel", "Meadow", "Signal", "Island", "Canyon", "Tide"};
const QStringList Phrases = {
    "Home", "Again", "Tonight", "Forever", "in the Rain", "on Fire", "After Dark", "Goodbye",
    "(Live)", "(Remastered 2011)", "Part II", "Blues", "Waltz", "Reprise"};
const QStringList FirstNames = {
    "Anna", "Marcus", "Lena", "José", "Kenji", "Fatima", "Oskar", "Mireille", "Tom", "Ingrid",
    "Samuel", "Chloé", "Dmitri", "Ada", "Rafael", "Yuki", "Noor", "Björn"};
const QStringList LastNames = {
    "Holloway", "Brandt", "Okafor", "Lindqvist", "Moreau", "Tanaka", "Reyes", "Novak", "Byrne",
    "Castellano", "Weiss", "Abbott", "Sørensen", "Dubois", "Kowalski", "Fontaine"};
const QStringList Genres = {
    "Rock", "Jazz", "Pop", "Folk", "Electronic", "Classical", "Hip-Hop", "Blues", "Soul",
    "Country", "Ambient", "Reggae"};
const QStringList LyricLines = {
    "I walked along the water line", "and every light was turning red",
    "you said the night would never end", "so hold on, hold on, hold on",
    "the city sleeps beneath the snow", "we were younger than the sea"};

QString pick(QRandomGenerator &random, const QStringList &list)
{
    return list.at(int(random.bounded(quint32(list.size()))));
}

QString personName(QRandomGenerator &random)
{
    return pick(random, FirstNames) + u' ' + pick(random, LastNames);
}

QString artistName(QRandomGenerator &random)
{
    switch (random.bounded(3)) {
    case 0: return personName(random);
    case 1: return QStringLiteral("The ") + pick(random, Nouns) + QStringLiteral("s");
    default: return pick(random, Adjectives) + u' ' + pick(random, Nouns);
    }
}

QString songTitle(QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0: return pick(random, Adjectives) + u' ' + pick(random, Nouns);
    case 1: return pick(random, Nouns) + u' ' + pick(random, Phrases);
    case 2: return QStringLiteral("The ") + pick(random, Adjectives) + u' ' + pick(random, Nouns);
    default: return pick(random, Nouns);
    }
}

QString safeName(QString text)
{
    return text.replace(u'/', u'-');
}

} // namespace

const QStringList &formats()
{
    static const QStringList list = {"mp3", "m4a", "flac", "aiff", "wav"};
    return list;
}

QList<PlannedSong> make(int songCount)
{
    QList<PlannedSong> songs;
    songs.reserve(songCount);
    QRandomGenerator random(20240611);
    for (int album = 0; album * SongsPerAlbum < songCount; ++album) {
        const bool compilation = album % 7 == 6;
        const QString albumArtist = compilation ? QStringLiteral("Various Artists") : artistName(random);
        const QString albumTitle = pick(random, Adjectives) + u' ' + pick(random, Nouns)
                                   + (album % 5 == 0 ? QStringLiteral(" (Deluxe Edition)") : QString());
        const QString genre = pick(random, Genres);
        const unsigned year = 1965 + random.bounded(59);
        const QString composer = random.bounded(2) ? personName(random) : QString();
        const int tracks = std::min(SongsPerAlbum, songCount - album * SongsPerAlbum);
        for (int track = 1; track <= tracks; ++track) {
            PlannedSong song;
            song.albumIndex = album;
            song.extension = formats().at((album + track) % formats().size());
            song.title = songTitle(random);
            song.artist = compilation ? artistName(random) : albumArtist;
            song.album = albumTitle;
            song.albumArtist = albumArtist;
            song.composer = composer;
            song.genre = genre;
            song.year = year;
            song.compilation = compilation;
            song.track = track;
            song.trackCount = SongsPerAlbum;
            song.disc = 1;
            song.discCount = 1;
            if (random.bounded(4) == 0)
                song.comment = QStringLiteral("Recorded at ") + pick(random, Nouns) + QStringLiteral(" Studios");
            if (random.bounded(4) == 0) {
                QStringList lines;
                for (int line = 0; line < 8; ++line)
                    lines.append(pick(random, LyricLines));
                song.lyrics = lines.join(u'\n');
            }
            song.relativePath = safeName(albumArtist + QStringLiteral(" - ") + albumTitle) + u'/'
                                + QStringLiteral("%1 ").arg(track, 2, 10, QLatin1Char('0'))
                                + safeName(song.title) + u'.' + song.extension;
            songs.append(song);
        }
    }
    return songs;
}

} // namespace CorpusPlan
