#pragma once

#include "tags/leading0sreader.h"

// Reads MPEG-4 audio files (m4a, m4b): the generic fields and the items of the tag's item list.
class M4AReader : public Leading0sReader {
public:
    std::unique_ptr<Song> parseStream(TagLib::IOStream *stream) const override;

private:
    // The text of an integer pair (number, count) as stored in "trkn" and "disk".
    QString pairText(int number, int count) const;
};
