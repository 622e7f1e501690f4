#include "tags/lengthcachingstream.h"

LengthCachingStream::LengthCachingStream(TagLib::FileName path)
    : TagLib::FileStream(path)
{
}

LengthCachingStream::LengthCachingStream(int descriptor, bool openReadOnly, long length)
    : TagLib::FileStream(descriptor, openReadOnly)
    , m_length(length)
{
}

long LengthCachingStream::length()
{
    if (m_changed)
        return TagLib::FileStream::length();
    if (m_length < 0)
        m_length = TagLib::FileStream::length();
    return m_length;
}

void LengthCachingStream::writeBlock(const TagLib::ByteVector &data)
{
    m_changed = true;
    TagLib::FileStream::writeBlock(data);
}

void LengthCachingStream::insert(const TagLib::ByteVector &data, unsigned long start, unsigned long replace)
{
    m_changed = true;
    TagLib::FileStream::insert(data, start, replace);
}

void LengthCachingStream::removeBlock(unsigned long start, unsigned long length)
{
    m_changed = true;
    TagLib::FileStream::removeBlock(start, length);
}

void LengthCachingStream::truncate(long length)
{
    m_changed = true;
    TagLib::FileStream::truncate(length);
}
