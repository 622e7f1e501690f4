#include "tags/atomicsavestream.h"

#include "model/systemerror.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Small reads (TagLib reads headers a few bytes at a time) are served from one read-ahead.
constexpr long long ReadAhead = 16 * 1024;
// Bytes moved at a time where the kernel cannot copy between files itself.
constexpr long long CopyChunk = 1024 * 1024;

// Reads exactly size bytes at offset; 0 or the errno (EIO when the file ends early).
int preadAll(int descriptor, char *into, long long size, long long offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(descriptor, into, size_t(size), off_t(offset));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return EIO;
        into += got;
        size -= got;
        offset += got;
    }
    return 0;
}

int pwriteAll(int descriptor, const char *from, long long size, long long offset)
{
    while (size > 0) {
        const ssize_t put = ::pwrite(descriptor, from, size_t(size), off_t(offset));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (put == 0)
            return EIO;
        from += put;
        size -= put;
        offset += put;
    }
    return 0;
}

int copyByReading(int from, long long fromOffset, int to, long long toOffset, long long size)
{
    QByteArray buffer(int(std::min(size, CopyChunk)), Qt::Uninitialized);
    while (size > 0) {
        const long long chunk = std::min<long long>(size, buffer.size());
        if (const int error = preadAll(from, buffer.data(), chunk, fromOffset))
            return error;
        if (const int error = pwriteAll(to, buffer.constData(), chunk, toOffset))
            return error;
        fromOffset += chunk;
        toOffset += chunk;
        size -= chunk;
    }
    return 0;
}

// Copies size bytes between two files, in the kernel where it can (which shares the blocks on
// file systems that allow it); 0 or the errno.
int copyRange(int from, long long fromOffset, int to, long long toOffset, long long size)
{
    while (size > 0) {
        loff_t in = fromOffset;
        loff_t out = toOffset;
        const ssize_t copied = ::copy_file_range(from, &in, to, &out, size_t(size), 0);
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                return copyByReading(from, fromOffset, to, toOffset, size);
            return errno;
        }
        if (copied == 0)
            return EIO;
        fromOffset += copied;
        toOffset += copied;
        size -= copied;
    }
    return 0;
}

} // namespace

AtomicSaveStream::AtomicSaveStream(QByteArray path, QByteArray realPath, int descriptor, const struct stat &original)
    : m_path(std::move(path))
    , m_realPath(std::move(realPath))
    , m_descriptor(descriptor)
    , m_original(original)
    , m_length(original.st_size)
{
}

AtomicSaveStream::~AtomicSaveStream()
{
    m_replacement.discard();
    // Closing the descriptor ends the lock.
    ::close(m_descriptor);
}

Result<std::unique_ptr<AtomicSaveStream>> AtomicSaveStream::open(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    // The new file is renamed over the path: over a link it would replace the link, so a linked
    // file is saved where the link leads. (Linked folders on the way need nothing: a rename acts
    // in the folder they lead to.)
    QByteArray realPath = native;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return systemError(errno, native, "cannot be found");
    if (S_ISLNK(st.st_mode)) {
        char *resolved = ::realpath(native.constData(), nullptr);
        if (!resolved)
            return systemError(errno, native, "cannot be found");
        realPath = resolved;
        std::free(resolved);
    }

    const int descriptor = ::open(realPath.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0)
        return systemError(errno, native, "cannot be opened for writing");
    const auto refuse = [&](int error, const char *what) {
        ::close(descriptor);
        return systemError(error, native, what);
    };
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
        return refuse(errno, "is being saved by another program");
    // Read under the lock: a save that held it until now has changed the file.
    if (::fstat(descriptor, &st) != 0)
        return refuse(errno, "cannot be read");
    if (!S_ISREG(st.st_mode))
        return refuse(EINVAL, "is no regular file");
    auto stream = std::unique_ptr<AtomicSaveStream>(new AtomicSaveStream(native, realPath, descriptor, st));
    if (!stream->isStillAtPath())
        return systemError(ESTALE, native, "was replaced while opening");
    return stream;
}

bool AtomicSaveStream::isStillAtPath() const
{
    struct stat st {};
    return ::stat(m_realPath.constData(), &st) == 0 && st.st_dev == m_original.st_dev
        && st.st_ino == m_original.st_ino;
}

Result<void> AtomicSaveStream::commit()
{
    if (m_failed)
        return m_failure;
    if (m_replacement.descriptor() >= 0) {
        if (auto committed = m_replacement.commit(m_descriptor, m_original); !committed)
            return committed;
        m_saved = m_replacement.committedStat();
        return {};
    }
    for (const Patch &patch : m_patches) {
        if (const int error = pwriteAll(m_descriptor, patch.bytes.constData(), patch.bytes.size(), patch.offset)) {
            fail(error, "cannot be written");
            return m_failure;
        }
    }
    m_patches.clear();
    if (::fstat(m_descriptor, &m_saved) != 0) {
        fail(errno, "cannot be read after writing");
        return m_failure;
    }
    return {};
}

TagLib::FileName AtomicSaveStream::name() const
{
    return m_path.constData();
}

TagLib::ByteVector AtomicSaveStream::readBlock(unsigned long length)
{
    if (m_failed || length == 0 || m_position >= m_length)
        return {};
    const long long size = std::min<long long>((long long)std::min<unsigned long>(length, LONG_MAX), m_length - m_position);
    TagLib::ByteVector bytes(static_cast<unsigned int>(size), '\0');
    if (!readAt(m_position, bytes.data(), size))
        return {};
    m_position += size;
    return bytes;
}

int AtomicSaveStream::currentDescriptor() const
{
    return m_replacement.descriptor() >= 0 ? m_replacement.descriptor() : m_descriptor;
}

bool AtomicSaveStream::readAt(long long offset, char *into, long long size)
{
    const int descriptor = currentDescriptor();
    if (size >= ReadAhead) {
        if (const int error = preadAll(descriptor, into, size, offset)) {
            fail(error, "cannot be read");
            return false;
        }
    } else {
        const bool buffered = offset >= m_bufferOffset && offset + size <= m_bufferOffset + m_buffer.size();
        if (!buffered) {
            const long long wanted = std::min(ReadAhead, m_length - offset);
            m_buffer.resize(qsizetype(wanted));
            m_bufferOffset = offset;
            if (const int error = preadAll(descriptor, m_buffer.data(), wanted, offset)) {
                m_buffer.clear();
                fail(error, "cannot be read");
                return false;
            }
        }
        std::memcpy(into, m_buffer.constData() + (offset - m_bufferOffset), size_t(size));
    }
    applyPatches(offset, into, size);
    return true;
}

void AtomicSaveStream::applyPatches(long long offset, char *into, long long size) const
{
    for (const Patch &patch : m_patches) {
        const long long begin = std::max(offset, patch.offset);
        const long long end = std::min(offset + size, patch.offset + patch.bytes.size());
        if (begin < end)
            std::memcpy(into + (begin - offset), patch.bytes.constData() + (begin - patch.offset), size_t(end - begin));
    }
}

bool AtomicSaveStream::writeAt(long long offset, const char *from, long long size)
{
    m_buffer.clear();
    if (const int error = pwriteAll(currentDescriptor(), from, size, offset)) {
        fail(error, "cannot be written");
        return false;
    }
    return true;
}

void AtomicSaveStream::writeBlock(const TagLib::ByteVector &data)
{
    if (m_failed)
        return;
    const long long end = m_position + data.size();
    if (m_replacement.descriptor() < 0 && end <= m_length) {
        m_patches.push_back({m_position, QByteArray(data.data(), data.size())});
        m_position = end;
        return;
    }
    if (m_replacement.descriptor() < 0 && !makeReplacement(m_length, 0, {}))
        return;
    if (!writeAt(m_position, data.data(), data.size()))
        return;
    m_length = std::max(m_length, end);
    m_position = end;
}

void AtomicSaveStream::insert(const TagLib::ByteVector &data, unsigned long start, unsigned long replace)
{
    if (data.size() == replace) {
        seek(long(start));
        writeBlock(data);
        return;
    }
    splice((long long)start, (long long)replace, data);
}

void AtomicSaveStream::removeBlock(unsigned long start, unsigned long length)
{
    splice((long long)start, (long long)length, {});
}

void AtomicSaveStream::splice(long long start, long long count, const TagLib::ByteVector &data)
{
    if (m_failed)
        return;
    start = std::min(start, m_length);
    count = std::min(count, m_length - start);
    if (count == 0 && data.isEmpty())
        return;
    const long long newLength = m_length - count + data.size();
    if (m_replacement.descriptor() < 0) {
        if (!makeReplacement(start, count, data))
            return;
    } else {
        if (count != (long long)data.size() && !moveTail(start + count, start + data.size()))
            return;
        if (!writeAt(start, data.data(), data.size()))
            return;
        if (newLength < m_length && ::ftruncate(m_replacement.descriptor(), off_t(newLength)) != 0) {
            fail(errno, "cannot be shortened");
            return;
        }
    }
    m_length = newLength;
    m_position = start + data.size();
}

bool AtomicSaveStream::makeReplacement(long long start, long long count, const TagLib::ByteVector &data)
{
    if (auto created = m_replacement.create(m_realPath); !created) {
        m_failed = true;
        m_failure = created.error();
        return false;
    }
    const int to = m_replacement.descriptor();
    const long long shift = (long long)data.size() - count;
    int error = copyRange(m_descriptor, 0, to, 0, start);
    if (!error)
        error = pwriteAll(to, data.data(), data.size(), start);
    if (!error)
        error = copyRange(m_descriptor, start + count, to, start + data.size(), m_length - start - count);
    // The changes held for the original go to where their bytes are now; bytes that the change
    // removed take theirs with them.
    for (const Patch &patch : m_patches) {
        if (error)
            break;
        const long long patchEnd = patch.offset + patch.bytes.size();
        if (patch.offset < start) {
            const long long end = std::min(patchEnd, start);
            error = pwriteAll(to, patch.bytes.constData(), end - patch.offset, patch.offset);
        }
        if (!error && patchEnd > start + count) {
            const long long begin = std::max(patch.offset, start + count);
            error = pwriteAll(to, patch.bytes.constData() + (begin - patch.offset), patchEnd - begin, begin + shift);
        }
    }
    m_patches.clear();
    m_buffer.clear();
    if (error) {
        fail(error, "cannot be copied");
        return false;
    }
    return true;
}

bool AtomicSaveStream::moveTail(long long from, long long to)
{
    const int descriptor = m_replacement.descriptor();
    long long remaining = m_length - from;
    QByteArray buffer(int(std::min(std::max(remaining, 1LL), CopyChunk)), Qt::Uninitialized);
    m_buffer.clear();
    // Moving towards the end starts at the end, so that no byte is overwritten before it moved.
    const bool backwards = to > from;
    long long done = 0;
    while (remaining > 0) {
        const long long chunk = std::min<long long>(remaining, buffer.size());
        const long long offset = backwards ? from + remaining - chunk : from + done;
        int error = preadAll(descriptor, buffer.data(), chunk, offset);
        if (!error)
            error = pwriteAll(descriptor, buffer.constData(), chunk, offset - from + to);
        if (error) {
            fail(error, "cannot be rewritten");
            return false;
        }
        remaining -= chunk;
        done += chunk;
    }
    return true;
}

bool AtomicSaveStream::readOnly() const
{
    return false;
}

bool AtomicSaveStream::isOpen() const
{
    return m_descriptor >= 0;
}

void AtomicSaveStream::seek(long offset, Position p)
{
    long long base = 0;
    if (p == Current)
        base = m_position;
    else if (p == End)
        base = m_length;
    m_position = std::max(0LL, base + offset);
}

long AtomicSaveStream::tell() const
{
    return long(m_position);
}

long AtomicSaveStream::length()
{
    return long(m_length);
}

void AtomicSaveStream::truncate(long length)
{
    if (m_failed || length < 0 || length == m_length)
        return;
    if (length < m_length) {
        const long long position = m_position;
        splice(length, m_length - length, {});
        m_position = position;
        return;
    }
    if (m_replacement.descriptor() < 0 && !makeReplacement(m_length, 0, {}))
        return;
    if (::ftruncate(m_replacement.descriptor(), off_t(length)) != 0) {
        fail(errno, "cannot be lengthened");
        return;
    }
    m_buffer.clear();
    m_length = length;
}

void AtomicSaveStream::fail(int error, const char *what)
{
    if (m_failed)
        return;
    m_failed = true;
    m_failure = systemError(error, m_path, what);
    m_patches.clear();
    m_buffer.clear();
    m_replacement.discard();
}
