#include "tags/mp3reader.h"

#include "model/imagepool.h"
#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/unsynchronizedlyricsframe.h>

using TagLibConvert::toQString;

namespace {

using Getter = const QString &(Song::*)() const;
using Setter = void (Song::*)(const QString &);

// Calls the function with every frame stored under the id, in tag order.
template <typename Function>
void forEachFrame(const TagLib::ID3v2::FrameListMap &frames, const char *id, Function function)
{
    const auto found = frames.find(TagLib::ByteVector(id, 4));
    if (found == frames.end())
        return;
    for (const TagLib::ID3v2::Frame *frame : found->second)
        function(frame);
}

// The first frame under the id that is of the given kind and has an empty description.
template <typename FrameKind>
const FrameKind *firstWithoutDescription(const TagLib::ID3v2::FrameListMap &frames, const char *id)
{
    const auto found = frames.find(TagLib::ByteVector(id, 4));
    if (found == frames.end())
        return nullptr;
    for (const TagLib::ID3v2::Frame *frame : found->second) {
        const auto *typed = dynamic_cast<const FrameKind *>(frame);
        if (typed && typed->description().isEmpty())
            return typed;
    }
    return nullptr;
}

// Sets a track or disc text, then reduces it to "n", "n/N", "/N" or "": a trailing "/" goes, and
// a pair without any number becomes empty.
void setNumberPair(Song *song, const QString &text, Getter getter, Setter setter)
{
    (song->*setter)(text);
    const QString &stored = (song->*getter)();
    if (Song::secondNaturalNumberInPair(stored) != 0) {
        (song->*setter)(Song::firstStringInPair(stored) + u'/' + Song::secondStringInPair(stored));
    } else if (Song::firstNaturalNumberInPair(stored) < 1) {
        (song->*setter)(QStringLiteral(""));
    } else {
        (song->*setter)(Song::firstStringInPair(stored));
    }
}

void readFrames(const TagLib::ID3v2::FrameListMap &frames, Song *song)
{
    forEachFrame(frames, "TRCK", [song](const TagLib::ID3v2::Frame *frame) {
        setNumberPair(song, toQString(frame->toString()), &Song::track, &Song::setTrack);
    });
    forEachFrame(frames, "APIC", [song](const TagLib::ID3v2::Frame *frame) {
        if (const auto *picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame))
            song->addImage(ImagePool::shared().imageFor(TagLibConvert::toQByteArrayView(picture->picture())));
    });
    forEachFrame(frames, "TCMP", [song](const TagLib::ID3v2::Frame *frame) {
        song->setIsCompilation(toQString(frame->toString()));
    });
    forEachFrame(frames, "TPE2", [song](const TagLib::ID3v2::Frame *frame) {
        song->setAlbumArtist(toQString(frame->toString()));
    });
    forEachFrame(frames, "TCOM", [song](const TagLib::ID3v2::Frame *frame) {
        song->setComposer(toQString(frame->toString()));
    });
    forEachFrame(frames, "TPOS", [song](const TagLib::ID3v2::Frame *frame) {
        setNumberPair(song, toQString(frame->toString()), &Song::disc, &Song::setDisc);
    });
    if (const auto *comment = firstWithoutDescription<TagLib::ID3v2::CommentsFrame>(frames, "COMM"))
        song->setComment(toQString(comment->text()));
    if (const auto *lyrics = firstWithoutDescription<TagLib::ID3v2::UnsynchronizedLyricsFrame>(frames, "USLT"))
        song->setLyrics(toQString(lyrics->text()));
}

} // namespace

std::unique_ptr<Song> MP3Reader::parseStream(TagLib::IOStream *stream) const
{
    auto song = std::make_unique<Song>();
    TagLib::MPEG::File file(stream, TagLib::ID3v2::FrameFactory::instance(), true,
                            TagLib::AudioProperties::Average);
    // Asking for the ID3v2 tag with create = true always gives one (empty if the file has none),
    // so the audio properties are read even from an untagged file.
    if (TagLib::ID3v2::Tag *id3v2 = file.ID3v2Tag(true))
        parseFile(file, song.get(), id3v2);
    const TagLib::ID3v1::Tag *id3v1 = file.ID3v1Tag(false);
    if (file.hasID3v1Tag() && id3v1) {
        readTag(id3v1, song.get(), true);
        if (song->track().isEmpty()) {
            const unsigned int track = id3v1->track();
            song->setTrack(track != 0 ? QString::number(track) : QStringLiteral(""));
        }
    }
    return song;
}

void MP3Reader::parseFile(TagLib::File &file, Song *song, TagLib::ID3v2::Tag *tag) const
{
    if (!song || !tag)
        return;
    readTag(tag, song, false);
    readAudioProps(file.audioProperties(), song);
    readFrames(tag->frameListMap(), song);
}
