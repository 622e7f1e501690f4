#include "tags/m4awriter.h"

#include "model/picturedata.h"
#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4item.h>
#include <taglib/mp4tag.h>

namespace {

const char *const TrackKey = "trkn";
const char *const LyricsKey = "\251lyr";
const char *const CoverKey = "covr";
const char *const CompilationKey = "cpil";
const char *const AlbumArtistKey = "aART";
const char *const ComposerKey = "\251wrt";
const char *const DiscKey = "disk";

// Keys are Latin-1 texts; "\251" is the byte 0xA9 (©).
TagLib::String key(const char *name)
{
    return TagLib::String(name, TagLib::String::Latin1);
}

// The encoder's delay and padding: they describe the audio, not the song, and a player that
// lost them plays the encoder's silence at both ends.
const char *const GaplessKey = "----:com.apple.iTunes:iTunSMPB";

// Every item but the gapless playback information.
void clearItems(TagLib::MP4::Tag *tag)
{
    const TagLib::MP4::ItemMap items = tag->itemMap();
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it->first != GaplessKey)
            tag->removeItem(it->first);
    }
}

void writePair(TagLib::MP4::Tag *tag, const char *name, qint32 number, qint32 count)
{
    tag->removeItem(key(name));
    // Only the numbers are stored: leading zeros of the song's text are a matter of reading.
    if (number > 0 || count > 0)
        tag->setItem(key(name), TagLib::MP4::Item(number, count));
}

void writeText(TagLib::MP4::Tag *tag, const char *name, const QString &text)
{
    tag->removeItem(key(name));
    const TagLib::String value = TagLibConvert::fromSongText(text);
    if (!value.isEmpty())
        tag->setItem(key(name), TagLib::MP4::Item(TagLib::StringList(value)));
}

void writeCovers(TagLib::MP4::Tag *tag, const Song &song, bool forced)
{
    tag->removeItem(key(CoverKey));
    TagLib::MP4::CoverArtList covers;
    for (const Image &image : song.images()) {
        const QByteArray bytes = Writer::pictureBytes(image, forced);
        const auto format = PictureData::isValidJPEG(bytes) ? TagLib::MP4::CoverArt::JPEG
                                                            : TagLib::MP4::CoverArt::PNG;
        covers.append(TagLib::MP4::CoverArt(format, TagLibConvert::toByteVector(bytes)));
    }
    // Set even when empty: a song without pictures says so with an empty item.
    tag->setItem(key(CoverKey), TagLib::MP4::Item(covers));
}

} // namespace

std::unique_ptr<TagLib::File> M4AWriter::writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const
{
    // Only the tags are written: the audio properties are not read.
    auto file = stream ? std::make_unique<TagLib::MP4::File>(stream, false)
                       : std::make_unique<TagLib::MP4::File>(song.filePath().toUtf8().constData(), false);
    TagLib::MP4::Tag *tag = file->tag();
    if (!tag)
        return file;
    if (forced)
        clearItems(tag);
    writeTag(tag, song, forced);
    if (forced || song.isTrackModified())
        writePair(tag, TrackKey, song.trackNumber(), song.trackCount());
    if (forced || song.isLyricsModified())
        writeText(tag, LyricsKey, song.lyrics());
    if (forced || song.isImagesModified())
        writeCovers(tag, song, forced);
    if (forced || song.isCompilationModified()) {
        tag->removeItem(key(CompilationKey));
        if (song.isCompilation() != 0)
            tag->setItem(key(CompilationKey), TagLib::MP4::Item(true));
    }
    if (forced || song.isAlbumArtistModified())
        writeText(tag, AlbumArtistKey, song.albumArtist());
    if (forced || song.isComposerModified())
        writeText(tag, ComposerKey, song.composer());
    if (forced || song.isDiscModified())
        writePair(tag, DiscKey, song.discNumber(), song.discCount());
    return file;
}

bool M4AWriter::basicCommentHandling() const
{
    return true;
}
