#include "songjson.h"

#include "jsonwriter.h"
#include "pictureinfo.h"

#include "model/song.h"

#include <functional>

namespace SongJson {

namespace {

using FieldWriter = std::function<void(JsonWriter *, const Song &)>;

struct Field {
    const char *key;
    FieldWriter write;
};

FieldWriter text(const QString &(Song::*getter)() const)
{
    return [getter](JsonWriter *writer, const Song &song) { writer->string((song.*getter)()); };
}

template <typename Number>
FieldWriter number(Number (Song::*getter)() const)
{
    return [getter](JsonWriter *writer, const Song &song) { writer->number((song.*getter)()); };
}

// The name on disk: a pending rename may ask for characters the file system or the sanitizing
// of names would not take, and a rename that failed left the old one.
void writeFileName(JsonWriter *writer, const Song &song)
{
    if (song.fileName().isNull())
        writer->null();
    else
        writer->string(song.filePath().section(QLatin1Char('/'), -1));
}

void writeImages(JsonWriter *writer, const Song &song)
{
    writer->beginArray();
    for (const Image &image : song.images())
        writePicture(writer, image);
    writer->endArray();
}

const QList<Field> &fields()
{
    static const QList<Field> all = {
        {"filePath", text(&Song::filePath)},
        {"fileName", writeFileName},
        {"track", text(&Song::track)},
        {"title", text(&Song::title)},
        {"artist", text(&Song::artist)},
        {"albumArtist", text(&Song::albumArtist)},
        {"composer", text(&Song::composer)},
        {"album", text(&Song::album)},
        {"disc", text(&Song::disc)},
        {"genre", text(&Song::genre)},
        {"year", number(&Song::year)},
        {"comment", text(&Song::comment)},
        {"lyrics", text(&Song::lyrics)},
        {"isCompilation", number(&Song::isCompilation)},
        {"bitrate", number(&Song::bitrate)},
        {"length", number(&Song::length)},
        {"isRenamable", [](JsonWriter *writer, const Song &song) { writer->boolean(song.isRenamable()); }},
        {"isModified", [](JsonWriter *writer, const Song &song) { writer->boolean(song.isModified()); }},
        {"images", writeImages},
    };
    return all;
}

} // namespace

const QStringList &keys()
{
    static const QStringList names = [] {
        QStringList result;
        for (const Field &field : fields())
            result.append(QLatin1String(field.key));
        return result;
    }();
    return names;
}

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

void writeSongFields(JsonWriter *writer, const Song &song, const QStringList &onlyKeys)
{
    writer->beginObject();
    for (const Field &field : fields()) {
        if (!onlyKeys.isEmpty() && !onlyKeys.contains(QLatin1String(field.key)))
            continue;
        writer->key(field.key);
        field.write(writer, song);
    }
}

void writeSong(JsonWriter *writer, const Song &song, const QStringList &onlyKeys)
{
    writeSongFields(writer, song, onlyKeys);
    writer->endObject();
}

QByteArray songsDocument(const QList<Song *> &songs, const QStringList &onlyKeys)
{
    JsonWriter writer;
    writer.beginArray();
    for (const Song *song : songs)
        writeSong(&writer, *song, onlyKeys);
    writer.endArray();
    return writer.data();
}

} // namespace SongJson
