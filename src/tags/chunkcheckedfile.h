#pragma once

#include <taglib/rifffile.h>

#include <algorithm>
#include <utility>

// An AIFF or WAV file opened for writing that counts as invalid unless TagLib read its chunk list
// to the end of the form (or of the file, when the file is shorter) and found a chunk besides the
// tag chunks. TagLib stops at the first chunk with a bad name or a size past the end of the file;
// its save then puts the tag behind the last chunk it read, sets the form size to end there (so
// that the chunks it did not read fall outside the form) and, when it found tag chunks only,
// removes them and writes nothing. The save pass refuses an invalid file, leaving it as it was.
template <class RiffFile>
class ChunkCheckedFile : public RiffFile {
public:
    template <class... Args>
    explicit ChunkCheckedFile(Args &&...args)
        : RiffFile(std::forward<Args>(args)...)
    {
        if (this->isValid() && !readsWholeForm())
            this->setValid(false);
    }

private:
    bool readsWholeForm()
    {
        const unsigned int count = this->chunkCount();
        bool hasOtherChunk = false;
        for (unsigned int i = 0; i < count && !hasOtherChunk; ++i) {
            const TagLib::ByteVector name = this->chunkName(i);
            hasOtherChunk = name != "ID3 " && name != "id3 " && name != "LIST";
        }
        if (!hasOtherChunk)
            return false;
        const unsigned int last = count - 1;
        const long long readEnd = (long long)this->chunkOffset(last) + this->chunkDataSize(last)
            + this->chunkPadding(last);
        const long long formEnd = std::min<long long>(this->length(), 8LL + this->riffSize());
        // TagLib reads no chunk header that the file cannot hold, so fewer bytes may be left over.
        return readEnd + 8 > formEnd;
    }
};
