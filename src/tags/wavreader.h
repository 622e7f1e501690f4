#pragma once

#include "tags/mp3reader.h"

// Reads the ID3v2 chunk of a WAV file with the MPEG reader's frame logic. INFO chunks are not
// read: the editor keeps a WAV file's tags in its ID3v2 chunk only.
class WAVReader : public MP3Reader {
public:
    using MP3Reader::parseFile;
    std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const override;
};
