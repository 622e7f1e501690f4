#pragma once

#include "tags/writer.h"

// Writes FLAC files: the Xiph comment (generic fields with the comment, "TRACKNUMBER",
// "TRACKTOTAL", "LYRICS", "COMPILATION", the four album-artist keys, "COMPOSER", "DISCNUMBER",
// "DISCTOTAL") and the picture blocks. A forced write first empties the comment and removes
// every picture, also what this system never reads.
class FLACWriter : public Writer {
public:
    // The open TagLib::FLAC::File, saved later with its generic save().
    using Writer::writeFile;
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const override;
    bool basicCommentHandling() const override;
};
