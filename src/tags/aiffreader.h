#pragma once

#include "tags/mp3reader.h"

// Reads the ID3v2 chunk of an AIFF file with the MPEG reader's frame logic.
class AIFFReader : public MP3Reader {
public:
    using MP3Reader::parseFile;
    std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const override;
};
