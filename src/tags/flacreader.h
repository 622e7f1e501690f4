#pragma once

#include "tags/reader.h"

// Reads FLAC files: the fields of the Xiph comment and the picture blocks.
class FLACReader : public Reader {
public:
    std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const override;
};
