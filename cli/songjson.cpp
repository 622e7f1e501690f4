#include "songjson.h"

#include "jsonwriter.h"
#include "pictureinfo.h"

#include "model/song.h"

namespace SongJson {

void writePicture(JsonWriter *writer, const Image &image)
{
    const PictureInfo info = PictureInfo::of(image);
    writer->beginObject();
    writer->key("md5");
    writer->string(QString::fromLatin1(info.md5Hex));
    writer->key("bytes");
    writer->number(info.bytes);
    writer->key("mime");
    writer->string(info.mime);
    writer->key("width");
    writer->number(info.width);
    writer->key("height");
    writer->number(info.height);
    writer->endObject();
}

void writeSong(JsonWriter *writer, const Song &song)
{
    const auto text = [writer](const char *key, const QString &value) {
        writer->key(key);
        writer->string(value);
    };
    writer->beginObject();
    text("filePath", song.filePath());
    writer->key("fileName");
    if (song.fileName().isNull())
        writer->null();
    else
        writer->string(song.fileName());
    text("track", song.track());
    text("title", song.title());
    text("artist", song.artist());
    text("albumArtist", song.albumArtist());
    text("composer", song.composer());
    text("album", song.album());
    text("disc", song.disc());
    text("genre", song.genre());
    writer->key("year");
    writer->number(song.year());
    text("comment", song.comment());
    text("lyrics", song.lyrics());
    writer->key("isCompilation");
    writer->number(song.isCompilation());
    writer->key("bitrate");
    writer->number(song.bitrate());
    writer->key("length");
    writer->number(song.length());
    writer->key("isRenamable");
    writer->boolean(song.isRenamable());
    writer->key("isModified");
    writer->boolean(song.isModified());
    writer->key("images");
    writer->beginArray();
    for (const Image &image : song.images())
        writePicture(writer, image);
    writer->endArray();
    writer->endObject();
}

QByteArray songsDocument(const QList<Song *> &songs)
{
    JsonWriter writer;
    writer.beginArray();
    for (const Song *song : songs)
        writeSong(&writer, *song);
    writer.endArray();
    return writer.data();
}

} // namespace SongJson
