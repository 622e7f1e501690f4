#pragma once

#include <QByteArray>
#include <QString>

struct PlannedSong;

// Writes the planned values and the JPEG cover into a copy of an untagged fixture, with
// TagLib, in the tag each format keeps (ID3v2 for MP3, AIFF and WAV; MP4 items; Xiph comment
// and a picture block for FLAC). Returns false when TagLib cannot save the file.
namespace CorpusTagger {

bool tag(const QString &path, const PlannedSong &song, const QByteArray &jpegCover);

} // namespace CorpusTagger
