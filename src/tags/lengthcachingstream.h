#pragma once

#include <taglib/tfilestream.h>

// A file stream that remembers the file's length until the file is changed through it. TagLib
// asks its stream for the length again and again while it parses (before every chunk of a RIFF
// file, for every tag it renders), and a plain file stream answers each time with three seeks
// that also throw away its read buffer. The first change (a write, an insertion, a removal or a
// truncation) ends the remembering: from then on every answer is asked of the file again.
class LengthCachingStream : public TagLib::FileStream {
public:
    // Opens the file as TagLib opens a file by name: for writing where allowed, else read-only.
    explicit LengthCachingStream(TagLib::FileName path);
    // Takes over an open descriptor (closed with the stream) of a file whose length is known.
    LengthCachingStream(int descriptor, bool openReadOnly, long length);

    long length() override;
    void writeBlock(const TagLib::ByteVector &data) override;
    void insert(const TagLib::ByteVector &data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    void truncate(long length) override;

private:
    long m_length = -1; // not known yet
    bool m_changed = false;
};
