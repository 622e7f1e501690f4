#pragma once

#include "tags/tagswriter.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryDir;
class Song;

// Reads one file as loading does (one thread, flags cleared); null for an unknown type.
std::unique_ptr<Song> readSong(const QString &path);

// Runs one save pass over the single song.
SaveReport writeSong(Song *song, bool forced = false);

// The whole file, or empty if it cannot be read.
QByteArray fileBytes(const QString &path);

// A file written from bytes into the folder, loaded, given a new title (and a picture when one is given) and run
// through one save pass; the song is kept for the checks.
struct TitleSave {
    QString path;
    std::unique_ptr<Song> song;
    SaveReport report;
};
// Null song when the file could not be written or loaded.
TitleSave saveNewTitle(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes,
                       const QString &title, const QByteArray &picture = {});

// What is wrong with a save the pass had to refuse: it must be listed, save nothing, leave the
// song's title flagged and the file byte for byte as it was. Empty when all of that holds.
QString refusalFault(const TitleSave &save, const QByteArray &bytes);
