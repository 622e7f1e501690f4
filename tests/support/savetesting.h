#pragma once

#include "tags/tagswriter.h"

#include <QByteArray>
#include <QString>

#include <memory>

class Song;

// Reads one file as loading does (one thread, flags cleared); null for an unknown type.
std::unique_ptr<Song> readSong(const QString &path);

// Runs one save pass over the single song.
SaveReport writeSong(Song *song, bool forced = false);

// The whole file, or empty if it cannot be read.
QByteArray fileBytes(const QString &path);
