#pragma once

#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>

// An MP3 file opened for writing that counts as invalid when it starts like another kind of file,
// or holds neither an ID3v2 tag nor MPEG audio. TagLib opens any file as MPEG and its
// save puts an ID3v2 tag in front of whatever the file holds, so an MP4, FLAC, RIFF or Ogg file
// named ".mp3" (or any other file) would no longer start with its own header. The save pass
// refuses an invalid file, leaving it as it was. A file that already starts with an ID3v2 tag
// loses nothing by a new one and stays writable.
class MpegCheckedFile : public TagLib::MPEG::File {
public:
    explicit MpegCheckedFile(TagLib::FileName path)
        : TagLib::MPEG::File(path, false)
    {
        check();
    }
    explicit MpegCheckedFile(TagLib::IOStream *stream)
        : TagLib::MPEG::File(stream, TagLib::ID3v2::FrameFactory::instance(), false)
    {
        check();
    }

private:
    void check()
    {
        if (!isValid())
            return;
        seek(0);
        // Another container may hold an ID3v2 tag of its own (a WAV chunk) that TagLib would
        // rewrite in place, past the container's sizes: its header decides first.
        if (startsLikeOtherFile(readBlock(12)) || (!hasID3v2Tag() && firstFrameOffset() < 0))
            setValid(false);
    }

    static bool startsLikeOtherFile(const TagLib::ByteVector &head)
    {
        return head.startsWith("fLaC") || head.startsWith("RIFF") || head.startsWith("FORM")
            || head.startsWith("OggS") || head.containsAt("ftyp", 4);
    }
};
