#pragma once

#include <taglib/tfilestream.h>

// A read-only file stream that knows the file's length. TagLib asks its stream for the length
// again and again while it parses (before every chunk of a RIFF file, for every tag it renders),
// and a plain file stream answers each time with three seeks that also throw away its read
// buffer. Saves go through AtomicSaveStream instead.
class LengthCachingStream : public TagLib::FileStream {
public:
    // Takes over an open descriptor (closed with the stream) of a file whose length is known.
    LengthCachingStream(int descriptor, long length);

    long length() override;

private:
    const long m_length;
};
