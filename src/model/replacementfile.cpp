#include "model/replacementfile.h"

#include "model/systemerror.h"

#include <QCryptographicHash>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

std::atomic_bool unnamedFilesAllowed{true};

const QByteArray TemporarySuffix = QByteArrayLiteral(".quorl-tmp");
constexpr qsizetype NameLimit = 255;

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray fileNameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Errors that say a file system or kernel lacks a feature rather than that the write failed.
bool lacksFeature(int error)
{
    return error == EOPNOTSUPP || error == ENOTSUP || error == EISDIR || error == EINVAL
        || error == ENOSYS;
}

// Copies every extended attribute of one open file to another. Attributes the new file's file
// system or the user's rights do not allow (the security namespace of another user, a file
// system without them) are passed over; any other failure fails the copy.
bool copyAttributes(int from, int to)
{
    ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size <= 0)
        return size == 0 || lacksFeature(errno);
    std::vector<char> names(size_t(size) + 1, '\0');
    size = ::flistxattr(from, names.data(), names.size() - 1);
    if (size < 0)
        return false;
    for (const char *name = names.data(); name < names.data() + size; name += std::strlen(name) + 1) {
        const ssize_t valueSize = ::fgetxattr(from, name, nullptr, 0);
        if (valueSize < 0)
            return false;
        std::vector<char> value(size_t(valueSize) + 1);
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read < 0)
            return false;
        if (::fsetxattr(to, name, value.data(), size_t(read), 0) != 0
            && !(lacksFeature(errno) || errno == EPERM || errno == EACCES))
            return false;
    }
    return true;
}

} // namespace

ReplacementFile::~ReplacementFile()
{
    discard();
}

void ReplacementFile::setUnnamedFilesAllowed(bool allowed)
{
    unnamedFilesAllowed = allowed;
}

QByteArray ReplacementFile::temporaryName(const QByteArray &fileName)
{
    const QByteArray name = '.' + fileName + TemporarySuffix;
    if (name.size() <= NameLimit)
        return name;
    return '.' + QCryptographicHash::hash(fileName, QCryptographicHash::Sha1).toHex() + TemporarySuffix;
}

bool ReplacementFile::isTemporaryName(const QByteArray &fileName)
{
    return fileName.startsWith('.') && fileName.endsWith(TemporarySuffix);
}

Result<void> ReplacementFile::create(const QByteArray &target)
{
    discard();
    m_target = target;
    m_temporaryPath = folderOf(target) + '/' + temporaryName(fileNameOf(target));
#if defined(O_TMPFILE)
    if (unnamedFilesAllowed) {
        m_descriptor = ::open(folderOf(target).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (m_descriptor >= 0) {
            m_unnamed = true;
            return {};
        }
        if (!lacksFeature(errno) && errno != ENOENT)
            return systemError(errno, target, "cannot create its new version");
    }
#endif
    return createNamed();
}

Result<void> ReplacementFile::createNamed()
{
    // The caller holds the lock of the target, so a file under the temporary name is what an
    // interrupted save left behind.
    if (::unlink(m_temporaryPath.constData()) != 0 && errno != ENOENT)
        return systemError(errno, m_temporaryPath, "cannot remove a leftover");
    m_descriptor = ::open(m_temporaryPath.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (m_descriptor < 0) {
        const int error = errno;
        m_temporaryPath.clear();
        return systemError(error, m_target, "cannot create its new version");
    }
    m_unnamed = false;
    return {};
}

Result<void> ReplacementFile::giveName()
{
    if (!m_unnamed)
        return {};
    if (::unlink(m_temporaryPath.constData()) != 0 && errno != ENOENT)
        return systemError(errno, m_temporaryPath, "cannot remove a leftover");
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(m_descriptor);
    if (::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, m_temporaryPath.constData(), AT_SYMLINK_FOLLOW) != 0) {
        const int error = errno;
        // Without /proc the descriptor itself may be linked where the process has the right.
        if (::linkat(m_descriptor, "", AT_FDCWD, m_temporaryPath.constData(), AT_EMPTY_PATH) != 0)
            return systemError(error, m_temporaryPath, "cannot name the new version");
    }
    m_unnamed = false;
    return {};
}

Result<void> ReplacementFile::copyMetadata(int originalDescriptor, const struct stat &original)
{
    // The owner first: changing it clears the set-user and set-group bits that fchmod() sets.
    if (::fchown(m_descriptor, original.st_uid, original.st_gid) != 0)
        (void)::fchown(m_descriptor, uid_t(-1), original.st_gid); // the group alone may be allowed
    if (::fchmod(m_descriptor, original.st_mode & 07777) != 0 && errno != EPERM)
        return systemError(errno, m_target, "cannot keep its permissions");
    if (!copyAttributes(originalDescriptor, m_descriptor))
        return systemError(errno, m_target, "cannot keep its extended attributes");
    return {};
}

Result<void> ReplacementFile::commit(int originalDescriptor, const struct stat &original)
{
    if (m_descriptor < 0)
        return systemError(EBADF, m_target, "has no new version");
    if (auto copied = copyMetadata(originalDescriptor, original); !copied)
        return copied;
    if (::fsync(m_descriptor) != 0)
        return systemError(errno, m_target, "cannot write its new version to the disk");
    if (::fstat(m_descriptor, &m_committed) != 0)
        return systemError(errno, m_target, "cannot read its new version");
    // Another program may have moved or replaced the file since it was opened.
    struct stat current {};
    if (::lstat(m_target.constData(), &current) != 0)
        return systemError(errno, m_target, "is gone");
    if (current.st_dev != original.st_dev || current.st_ino != original.st_ino)
        return systemError(ESTALE, m_target, "was replaced while saving");
    if (auto named = giveName(); !named)
        return named;
    if (::rename(m_temporaryPath.constData(), m_target.constData()) != 0)
        return systemError(errno, m_target, "cannot put its new version in place");
    m_temporaryPath.clear();
    ::close(m_descriptor);
    m_descriptor = -1;
    return {};
}

void ReplacementFile::discard()
{
    if (m_descriptor >= 0 && !m_unnamed && !m_temporaryPath.isEmpty())
        ::unlink(m_temporaryPath.constData());
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    m_unnamed = false;
    m_temporaryPath.clear();
}
