#pragma once

#include "tags/mp3writer.h"

// AIFF files: the ID3v2 tag in the file's "ID3 " chunk, written with the MP3 frames.
class AIFFWriter : public MP3Writer {
public:
    // The open TagLib::RIFF::AIFF::File, saved later with its generic save().
    using MP3Writer::writeFile;
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const override;
};
