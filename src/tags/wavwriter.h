#pragma once

#include "tags/mp3writer.h"

// WAV files: the ID3v2 tag in the file's "id3 " chunk, written with the MP3 frames. A forced write
// also empties the INFO chunk.
class WAVWriter : public MP3Writer {
public:
    // The open TagLib::RIFF::WAV::File, saved later with its generic save().
    using MP3Writer::writeFile;
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const override;
};
