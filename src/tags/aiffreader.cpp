#include "tags/aiffreader.h"

#include "model/song.h"

#include <taglib/aifffile.h>
#include <taglib/id3v2tag.h>

std::unique_ptr<Song> AIFFReader::parseFile(const QString &path) const
{
    auto song = std::make_unique<Song>();
    const QByteArray fileName = path.toUtf8();
    TagLib::RIFF::AIFF::File file(fileName.constData(), true, TagLib::AudioProperties::Average);
    if (TagLib::ID3v2::Tag *tag = file.tag())
        parseFile(file, song.get(), tag);
    return song;
}
