#include "tags/wavreader.h"

#include "model/song.h"

#include <taglib/id3v2tag.h>
#include <taglib/wavfile.h>

std::unique_ptr<Song> WAVReader::parseStream(TagLib::IOStream *stream) const
{
    auto song = std::make_unique<Song>();
    TagLib::RIFF::WAV::File file(stream, true, TagLib::AudioProperties::Average);
    if (TagLib::ID3v2::Tag *tag = file.tag())
        parseFile(file, song.get(), tag);
    return song;
}
