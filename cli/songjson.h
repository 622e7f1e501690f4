#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

class JsonWriter;
class Song;
class Image;

// The JSON form of songs that scripts rely on: one object per song, keys in a fixed order.
namespace SongJson {

// The keys of a song object, in the order they are written.
const QStringList &keys();

// The song's object with the keys given (every key when none is given), in the order of keys().
// "fileName" is the name of the file on disk (after a save, the name it got), null only for a
// song that was never given one.
void writeSong(JsonWriter *writer, const Song &song, const QStringList &onlyKeys = {});
// The song's object without its closing brace, so that a caller can add keys of its own.
void writeSongFields(JsonWriter *writer, const Song &song, const QStringList &onlyKeys = {});
void writePicture(JsonWriter *writer, const Image &image);
// One array with one object per song, in the given order.
QByteArray songsDocument(const QList<Song *> &songs, const QStringList &onlyKeys = {});

} // namespace SongJson
