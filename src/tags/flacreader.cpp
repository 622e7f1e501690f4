#include "tags/flacreader.h"

#include "model/imagepool.h"
#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/xiphcomment.h>

using TagLibConvert::toQString;

namespace {

// The first value of the field, or null if the key is absent or has no value.
QString firstValue(const TagLib::Ogg::FieldListMap &fields, const char *key)
{
    const auto found = fields.find(key);
    if (found == fields.end() || found->second.isEmpty())
        return QString();
    return toQString(found->second.front());
}

// Appends a total to the number read before it: "n/N", or "/N" when there is no number.
void appendTotal(Song *song, const QString &total, const QString &(Song::*getter)() const,
                 void (Song::*setter)(const QString &))
{
    if (total.isNull())
        return;
    const QString &number = (song->*getter)();
    (song->*setter)(number.isEmpty() ? u'/' + total : number + u'/' + total);
}

void setIfPresent(Song *song, const QString &value, void (Song::*setter)(const QString &))
{
    if (!value.isNull())
        (song->*setter)(value);
}

// Keys under which album artists are found, most common first; the first present one counts.
constexpr const char *AlbumArtistKeys[] = {"ALBUMARTIST", "ALBUM ARTIST", "ALBUM_ARTIST", "ENSEMBLE"};

void addPictures(const TagLib::List<TagLib::FLAC::Picture *> &pictures, Song *song)
{
    for (const TagLib::FLAC::Picture *picture : pictures)
        song->addImage(ImagePool::shared().imageFor(TagLibConvert::toQByteArrayView(picture->data())));
}

void setCompilation(const TagLib::Ogg::FieldListMap &fields, Song *song)
{
    const auto found = fields.find("COMPILATION");
    if (found != fields.end() && !found->second.isEmpty())
        song->setIsCompilation(qint64(found->second.front().toInt()));
}

void setAlbumArtist(const TagLib::Ogg::FieldListMap &fields, Song *song)
{
    for (const char *key : AlbumArtistKeys) {
        const QString albumArtist = firstValue(fields, key);
        if (!albumArtist.isNull()) {
            song->setAlbumArtist(albumArtist);
            return;
        }
    }
}

} // namespace

std::unique_ptr<Song> FLACReader::parseStream(TagLib::IOStream *stream) const
{
    auto song = std::make_unique<Song>();
    TagLib::FLAC::File file(stream, TagLib::ID3v2::FrameFactory::instance(), true,
                            TagLib::AudioProperties::Average);
    const TagLib::Ogg::XiphComment *comment = file.xiphComment(true);
    if (!comment)
        return song;
    readTag(comment, song.get(), true);
    readAudioProps(file.audioProperties(), song.get());

    const TagLib::Ogg::FieldListMap &fields = comment->fieldListMap();
    setIfPresent(song.get(), firstValue(fields, "TRACKNUMBER"), &Song::setTrack);
    appendTotal(song.get(), firstValue(fields, "TRACKTOTAL"), &Song::track, &Song::setTrack);
    setIfPresent(song.get(), firstValue(fields, "LYRICS"), &Song::setLyrics);
    addPictures(file.pictureList(), song.get());
    setCompilation(fields, song.get());
    setAlbumArtist(fields, song.get());
    setIfPresent(song.get(), firstValue(fields, "COMPOSER"), &Song::setComposer);
    setIfPresent(song.get(), firstValue(fields, "DISCNUMBER"), &Song::setDisc);
    appendTotal(song.get(), firstValue(fields, "DISCTOTAL"), &Song::disc, &Song::setDisc);
    return song;
}
