#include "tags/aiffreader.h"

#include "model/song.h"

#include <taglib/aifffile.h>
#include <taglib/id3v2tag.h>

std::unique_ptr<Song> AIFFReader::parseStream(TagLib::IOStream *stream) const
{
    auto song = std::make_unique<Song>();
    TagLib::RIFF::AIFF::File file(stream, true, TagLib::AudioProperties::Average);
    if (TagLib::ID3v2::Tag *tag = file.tag())
        parseFile(file, song.get(), tag);
    return song;
}
