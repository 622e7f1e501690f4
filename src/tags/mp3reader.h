#pragma once

#include "tags/reader.h"

namespace TagLib {
class File;
namespace ID3v2 {
class Tag;
}
}

// Reads MPEG files: the ID3v2 tag first, then the gaps from the ID3v1 tag. The ID3v2 part is
// shared with the AIFF and WAV readers, whose files carry an ID3v2 chunk.
class MP3Reader : public Reader {
public:
    using Reader::parseFile;
    std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const override;

    // Reads the generic fields, the audio properties of the open file and the ID3v2 frames
    // (track, pictures, compilation, album artist, composer, disc, comment, lyrics) into the song.
    void parseFile(TagLib::File &file, Song *song, TagLib::ID3v2::Tag *tag) const;
};
