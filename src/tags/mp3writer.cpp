#include "tags/mp3writer.h"

#include "model/song.h"
#include "tags/mpegcheckedfile.h"
#include "tags/taglibconvert.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

namespace {

// Removes the frames of a kind that have no description; frames with one belong to other
// programs and stay.
template <typename FrameType>
void removeFramesWithoutDescription(TagLib::ID3v2::Tag *tag, const char *frameId)
{
    // A copy: removeFrame() changes the tag's own lists.
    const TagLib::ID3v2::FrameList frames = tag->frameList(frameId);
    for (TagLib::ID3v2::Frame *frame : frames) {
        auto *typed = dynamic_cast<FrameType *>(frame);
        if (typed && typed->description().isEmpty())
            tag->removeFrame(frame, true);
    }
}

} // namespace

std::unique_ptr<TagLib::File> MP3Writer::writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const
{
    // Only the tags are written: the audio properties are not read.
    auto file = stream ? std::make_unique<MpegCheckedFile>(stream)
                       : std::make_unique<MpegCheckedFile>(song.filePath().toUtf8().constData());
    // Stripping writes at once; a file that could not be opened is not touched (its save is
    // refused).
    if (!file->isValid())
        return file;
    if (forced)
        file->strip(TagLib::MPEG::File::ID3v2);
    if (file->hasID3v1Tag() || file->hasAPETag()) {
        file->strip(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::APE);
        forced = true;
    }
    if (TagLib::ID3v2::Tag *tag = file->ID3v2Tag(true))
        writeFile(song, tag, forced);
    return file;
}

void MP3Writer::writeFile(const Song &song, TagLib::ID3v2::Tag *tag, bool forced) const
{
    if (!tag)
        return;
    writeTag(tag, song, forced);
    if (forced || song.isTrackModified()) {
        tag->removeFrames("TRCK");
        writeTextFrame(tag, "TRCK",
                       pairText(song.track(), song.trackNumber(), song.trackCount(),
                                song.trackNumberAsString(), song.trackCountAsString()));
    }
    if (forced || song.isCommentModified())
        writeComment(tag, song.comment());
    if (forced || song.isLyricsModified())
        writeLyrics(tag, song.lyrics());
    if (forced || song.isImagesModified())
        writePictures(tag, song, forced);
    if (forced || song.isCompilationModified()) {
        tag->removeFrames("TCMP");
        // A song that is not a compilation carries no frame at all, rather than "0".
        writeTextFrame(tag, "TCMP", song.isCompilation() != 0 ? QStringLiteral("1") : QString());
    }
    if (forced || song.isAlbumArtistModified()) {
        tag->removeFrames("TPE2");
        writeTextFrame(tag, "TPE2", song.albumArtist());
    }
    if (forced || song.isComposerModified()) {
        tag->removeFrames("TCOM");
        writeTextFrame(tag, "TCOM", song.composer());
    }
    if (forced || song.isDiscModified()) {
        tag->removeFrames("TPOS");
        writeTextFrame(tag, "TPOS",
                       pairText(song.disc(), song.discNumber(), song.discCount(),
                                song.discNumberAsString(), song.discCountAsString()));
    }
}

QString MP3Writer::pairText(const QString &value, qint32 number, qint32 count,
                            const QString &numberText, const QString &countText)
{
    if (value.isEmpty())
        return {};
    if (count > 0)
        return numberText + u'/' + countText;
    if (number >= 1)
        return numberText;
    return {};
}

void MP3Writer::writeTextFrame(TagLib::ID3v2::Tag *tag, const char *frameId, const QString &text)
{
    const TagLib::String value = TagLibConvert::fromSongText(text);
    if (value.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(frameId, TagLib::String::UTF8);
    frame->setText(value);
    tag->addFrame(frame);
}

void MP3Writer::writeComment(TagLib::ID3v2::Tag *tag, const QString &comment)
{
    removeFramesWithoutDescription<TagLib::ID3v2::CommentsFrame>(tag, "COMM");
    const TagLib::String value = TagLibConvert::fromSongText(comment);
    if (value.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
    frame->setLanguage("eng");
    frame->setText(value);
    tag->addFrame(frame);
}

void MP3Writer::writeLyrics(TagLib::ID3v2::Tag *tag, const QString &lyrics)
{
    removeFramesWithoutDescription<TagLib::ID3v2::UnsynchronizedLyricsFrame>(tag, "USLT");
    const TagLib::String value = TagLibConvert::fromSongText(lyrics);
    if (value.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
    frame->setLanguage("eng");
    frame->setText(value);
    tag->addFrame(frame);
}

void MP3Writer::writePictures(TagLib::ID3v2::Tag *tag, const Song &song, bool forced)
{
    tag->removeFrames("APIC");
    for (const Image &image : song.images()) {
        const QByteArray bytes = pictureBytes(image, forced);
        auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType(mimeType(bytes));
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setPicture(TagLibConvert::toByteVector(bytes));
        tag->addFrame(frame);
    }
}
