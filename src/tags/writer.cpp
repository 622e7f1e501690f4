#include "tags/writer.h"

#include "model/image.h"
#include "model/picturedata.h"
#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/tag.h>
#include <taglib/tfile.h>

#include <limits>

std::unique_ptr<TagLib::File> Writer::writeFile(const Song &song, bool forced) const
{
    return writeFile(song, forced, nullptr);
}

std::unique_ptr<TagLib::File> Writer::writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const
{
    Q_UNUSED(song);
    Q_UNUSED(forced);
    Q_UNUSED(stream);
    return nullptr;
}

void Writer::writeTag(TagLib::Tag *tag, const Song &forSong, bool forced) const
{
    if (!tag)
        return;
    if (forced || forSong.isTitleModified())
        tag->setTitle(TagLibConvert::fromSongText(forSong.title()));
    if (forced || forSong.isArtistModified())
        tag->setArtist(TagLibConvert::fromSongText(forSong.artist()));
    if (forced || forSong.isAlbumModified())
        tag->setAlbum(TagLibConvert::fromSongText(forSong.album()));
    if (forced || forSong.isGenreModified())
        tag->setGenre(TagLibConvert::fromSongText(forSong.genre()));
    if (forced || forSong.isYearModified()) {
        // A negative year (a text such as "-5" read as a number) has no place in a tag; it
        // removes the year like 0 does.
        const qint64 year = forSong.year();
        const qint64 limit = std::numeric_limits<int>::max();
        tag->setYear(year <= 0 ? 0u : static_cast<unsigned int>(qMin(year, limit)));
    }
    if (basicCommentHandling() && (forced || forSong.isCommentModified()))
        tag->setComment(TagLibConvert::fromSongText(forSong.comment()));
}

bool Writer::basicCommentHandling() const
{
    return false;
}

QByteArray Writer::pictureBytes(const Image &image, bool forced)
{
    return forced ? PictureData::scaleIfNeeded(image.data()) : image.data();
}

const char *Writer::mimeType(const QByteArray &pictureBytes)
{
    return PictureData::isValidJPEG(pictureBytes) ? "image/jpeg" : "image/png";
}
