#pragma once

#include <QString>

#include <memory>

class Song;

namespace TagLib {
class AudioProperties;
class IOStream;
class Tag;
}

// Base of the per-format readers: turns one file into a fresh Song through its setters, and holds
// the copying shared by all formats. Readers keep no state between files; parseFile() opens and
// closes its file within the call, parseStream() reads a file the caller opened, and both may
// run on several threads at once (const throughout).
class Reader {
public:
    Reader() = default;
    virtual ~Reader() = default;
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // Copies title, artist, album, genre, year and (with withCommentHandling) comment into the
    // fields of the song that are still empty, so a second tag only fills gaps.
    virtual void readTag(const TagLib::Tag *tag, Song *toSong, bool withCommentHandling) const;

    // A new song for the file, or null if this reader makes none (the base never does). A file
    // that cannot be read gives a song with the values of a new one. Opens the file and hands it
    // to parseStream().
    std::unique_ptr<Song> parseFile(const QString &path) const;

    // The same for a file the caller opened; a stream that is not open gives a song with the
    // values of a new one. The stream stays the caller's.
    virtual std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const;

    // Bit rate (kbit/s) and length (whole seconds); absent properties leave both 0. A negative
    // length, which only a damaged header gives, is left 0 as well.
    virtual void readAudioProps(const TagLib::AudioProperties *props, Song *toSong) const;
};
