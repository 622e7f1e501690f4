#pragma once

#include <QByteArray>

#include <memory>

class Image;
class Song;

namespace TagLib {
class File;
class IOStream;
class Tag;
}

// Base of the per-format writers: opens a song's file, puts the song's values into its tags and
// hands the file back unsaved; the caller saves it and destroys it. Writers keep no state between
// files and never change the song.
//
// forced: write every field, not only the flagged ones; clear the file's existing tag first (each
// format its own way) and pass every picture through PictureData::scaleIfNeeded().
class Writer {
public:
    Writer() = default;
    virtual ~Writer() = default;
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // The open file holding the changes, not yet saved, or null (the base always). A file that
    // cannot be opened still comes back; its save fails.
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced) const;
    // The same on the song's file opened by the caller as stream (kept by the caller, and alive
    // until the file is gone); with a null stream the file is opened by its path.
    virtual std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const;

    // Title, artist, album, genre and year through the generic tag, and the comment as well when
    // basicCommentHandling() says so. Empty texts and year 0 remove the field.
    void writeTag(TagLib::Tag *tag, const Song &forSong, bool forced) const;

    // Whether writeTag() writes the comment; formats that keep comments in frames of their own
    // answer false.
    virtual bool basicCommentHandling() const;

    // The picture's bytes as they go into the file: scaled when forced.
    static QByteArray pictureBytes(const Image &image, bool forced);
    // "image/jpeg" for bytes that pass the JPEG test, else "image/png", whatever they hold.
    static const char *mimeType(const QByteArray &pictureBytes);
};
