#pragma once

#include "tags/writer.h"

#include <QString>

namespace TagLib::ID3v2 {
class Tag;
}

// Writes MP3 files: ID3v2 frames for every song field. Every MP3 it writes loses its ID3v1 and
// APE tags here (the save may write a fresh ID3v1 tag from the ID3v2 values); a file that had
// one is written as if forced, since its ID3v2 tag may lack what the old tags held.
class MP3Writer : public Writer {
public:
    // The open TagLib::MPEG::File. Stripping tags writes to the file at once, before the save.
    using Writer::writeFile;
    std::unique_ptr<TagLib::File> writeFile(const Song &song, bool forced, TagLib::IOStream *stream) const override;

    // The generic fields and the frames of the song into an ID3v2 tag (MP3, AIFF and WAV).
    void writeFile(const Song &song, TagLib::ID3v2::Tag *tag, bool forced) const;

    // The text of a track or disc frame: "n/N" when there is a count, "n" for a number alone,
    // empty (no frame) otherwise. The parts keep their leading zeros.
    static QString pairText(const QString &value, qint32 number, qint32 count,
                            const QString &numberText, const QString &countText);

private:
    static void writeTextFrame(TagLib::ID3v2::Tag *tag, const char *frameId, const QString &text);
    static void writeComment(TagLib::ID3v2::Tag *tag, const QString &comment);
    static void writeLyrics(TagLib::ID3v2::Tag *tag, const QString &lyrics);
    static void writePictures(TagLib::ID3v2::Tag *tag, const Song &song, bool forced);
};
