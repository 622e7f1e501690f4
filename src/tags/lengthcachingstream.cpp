#include "tags/lengthcachingstream.h"

LengthCachingStream::LengthCachingStream(int descriptor, long length)
    : TagLib::FileStream(descriptor, true)
    , m_length(length)
{
}

long LengthCachingStream::length()
{
    return m_length;
}
