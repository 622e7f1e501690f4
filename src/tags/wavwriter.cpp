#include "tags/wavwriter.h"

#include "model/song.h"
#include "tags/chunkcheckedfile.h"

#include <taglib/wavfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/tpropertymap.h>

std::unique_ptr<TagLib::File> WAVWriter::writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const
{
    // Only the tags are written: the audio properties are not read.
    auto file = stream ? std::make_unique<ChunkCheckedFile<TagLib::RIFF::WAV::File>>(stream, false)
                       : std::make_unique<ChunkCheckedFile<TagLib::RIFF::WAV::File>>(song.filePath().toUtf8().constData(), false);
    // Clears every field TagLib knows as a property; the forced write then rebuilds the tag.
    if (forced)
        file->setProperties(TagLib::PropertyMap());
    if (TagLib::ID3v2::Tag *tag = file->tag())
        MP3Writer::writeFile(song, tag, forced);
    return file;
}
