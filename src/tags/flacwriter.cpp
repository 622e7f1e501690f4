#include "tags/flacwriter.h"

#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/xiphcomment.h>

namespace {

// Read in this order; all of them are written so that every reader finds the album artist.
const char *const AlbumArtistKeys[] = {"ALBUMARTIST", "ALBUM ARTIST", "ALBUM_ARTIST", "ENSEMBLE"};

void addText(TagLib::Ogg::XiphComment *comment, const char *key, const QString &text)
{
    const TagLib::String value = TagLibConvert::fromSongText(text);
    if (!value.isEmpty())
        comment->addField(key, value, true);
}

// "NUMBER" and "TOTAL" keys of a pair; the parts keep their leading zeros.
void writePair(TagLib::Ogg::XiphComment *comment, const char *numberKey, const char *totalKey,
               qint32 number, qint32 count, const QString &numberText, const QString &countText)
{
    comment->removeFields(numberKey);
    comment->removeFields(totalKey);
    if (number > 0)
        addText(comment, numberKey, numberText);
    if (count > 0)
        addText(comment, totalKey, countText);
}

void writePictures(TagLib::FLAC::File *file, const Song &song, bool forced)
{
    file->removePictures();
    for (const Image &image : song.images()) {
        const QByteArray bytes = Writer::pictureBytes(image, forced);
        auto *picture = new TagLib::FLAC::Picture;
        picture->setData(TagLibConvert::toByteVector(bytes));
        picture->setMimeType(Writer::mimeType(bytes));
        file->addPicture(picture);
    }
}

void clearTag(TagLib::FLAC::File *file)
{
    file->removePictures();
    if (TagLib::Ogg::XiphComment *comment = file->xiphComment(false)) {
        comment->removeAllFields();
        // Pictures kept as comment fields are not blocks of the file; they go too.
        comment->removeAllPictures();
    }
}

} // namespace

std::unique_ptr<TagLib::File> FLACWriter::writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const
{
    // Only the tags are written: the audio properties are not read.
    auto file = stream ? std::make_unique<TagLib::FLAC::File>(stream, TagLib::ID3v2::FrameFactory::instance(), false)
                       : std::make_unique<TagLib::FLAC::File>(song.filePath().toUtf8().constData(), false);
    if (forced)
        clearTag(file.get());
    TagLib::Ogg::XiphComment *comment = file->xiphComment(false);
    if (!comment)
        return file;
    writeTag(comment, song, forced);
    if (forced || song.isTrackModified())
        writePair(comment, "TRACKNUMBER", "TRACKTOTAL", song.trackNumber(), song.trackCount(),
                  song.trackNumberAsString(), song.trackCountAsString());
    if (forced || song.isLyricsModified()) {
        comment->removeFields("LYRICS");
        addText(comment, "LYRICS", song.lyrics());
    }
    if (forced || song.isImagesModified())
        writePictures(file.get(), song, forced);
    if (forced || song.isCompilationModified()) {
        comment->removeFields("COMPILATION");
        if (song.isCompilation() != 0)
            comment->addField("COMPILATION", "1", true);
    }
    if (forced || song.isAlbumArtistModified()) {
        for (const char *key : AlbumArtistKeys)
            comment->removeFields(key);
        for (const char *key : AlbumArtistKeys)
            addText(comment, key, song.albumArtist());
    }
    if (forced || song.isComposerModified()) {
        comment->removeFields("COMPOSER");
        addText(comment, "COMPOSER", song.composer());
    }
    if (forced || song.isDiscModified())
        writePair(comment, "DISCNUMBER", "DISCTOTAL", song.discNumber(), song.discCount(),
                  song.discNumberAsString(), song.discCountAsString());
    return file;
}

bool FLACWriter::basicCommentHandling() const
{
    return true;
}
