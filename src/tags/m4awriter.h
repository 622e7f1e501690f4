#pragma once

#include "tags/writer.h"

// Writes MP4 files ("m4a", "m4b"): the generic fields, comment included, and the items "trkn",
// "©lyr", "covr", "cpil", "aART", "©wrt" and "disk". A forced write first drops every item,
// also those this system never reads.
class M4AWriter : public Writer {
public:
    // The open TagLib::MP4::File, saved later with its generic save().
    using Writer::writeFile;
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const override;
    bool basicCommentHandling() const override;
};
