#include "tags/reader.h"

#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/audioproperties.h>
#include <taglib/tag.h>
#include <taglib/tfilestream.h>

#include <algorithm>

namespace {

void fillIfEmpty(const QString &current, const TagLib::String &value, Song *song,
                 void (Song::*setter)(const QString &))
{
    if (!current.isEmpty())
        return;
    (song->*setter)(TagLibConvert::toQString(value));
}

} // namespace

void Reader::readTag(const TagLib::Tag *tag, Song *toSong, bool withCommentHandling) const
{
    if (!tag || !toSong)
        return;
    fillIfEmpty(toSong->title(), tag->title(), toSong, &Song::setTitle);
    fillIfEmpty(toSong->artist(), tag->artist(), toSong, &Song::setArtist);
    fillIfEmpty(toSong->album(), tag->album(), toSong, &Song::setAlbum);
    fillIfEmpty(toSong->genre(), tag->genre(), toSong, &Song::setGenre);
    if (toSong->year() == 0)
        toSong->setYear(qint64(tag->year()));
    if (withCommentHandling)
        fillIfEmpty(toSong->comment(), tag->comment(), toSong, &Song::setComment);
}

std::unique_ptr<Song> Reader::parseFile(const QString &path) const
{
    // Opened as TagLib opens a file by name: for writing where allowed, else read-only.
    const QByteArray fileName = path.toUtf8();
    TagLib::FileStream stream(fileName.constData());
    return parseStream(&stream);
}

std::unique_ptr<Song> Reader::parseStream(TagLib::IOStream *stream) const
{
    Q_UNUSED(stream);
    return nullptr;
}

void Reader::readAudioProps(const TagLib::AudioProperties *props, Song *toSong) const
{
    if (!props || !toSong)
        return;
    toSong->setBitrate(props->bitrate());
    // A damaged header can make the library report a negative length (an MPEG frame count whose
    // duration overflows its milliseconds gives minus 2^31 of them); it counts as unknown.
    toSong->setLength(std::max(0, props->length()));
}
