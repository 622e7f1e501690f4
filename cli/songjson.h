#pragma once

#include <QByteArray>
#include <QList>

class JsonWriter;
class Song;
class Image;

// The JSON form of songs that scripts rely on: one object per song, keys in a fixed order.
namespace SongJson {

void writeSong(JsonWriter *writer, const Song &song);
void writePicture(JsonWriter *writer, const Image &image);
// One array with one object per song, in the given order.
QByteArray songsDocument(const QList<Song *> &songs);

} // namespace SongJson
