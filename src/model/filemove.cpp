#include "model/filemove.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

namespace FileMove {

namespace {

Error errorFor(int error, const QString &from, const QString &to)
{
    const ErrorCode code = error == ENOENT         ? ErrorCode::NotFound
                         : error == ENAMETOOLONG ? ErrorCode::InvalidName
                                                 : ErrorCode::Unwritable;
    return Error{code, QStringLiteral("%1 -> %2: %3").arg(from, to, QString::fromLocal8Bit(std::strerror(error)))};
}

bool existsNoFollow(const QByteArray &path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 || errno != ENOENT;
}

// 0 on success, else the errno of the no-replace rename (ENOSYS/EINVAL/ENOTSUP where the
// system or file system does not have it).
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
#if defined(__linux__) && defined(SYS_renameat2)
    // Called through syscall() so that the build does not depend on the C library's wrapper.
    if (::syscall(SYS_renameat2, AT_FDCWD, from.constData(), AT_FDCWD, to.constData(),
                  RENAME_NOREPLACE) == 0)
        return 0;
    return errno;
#elif defined(__APPLE__) && defined(RENAME_EXCL)
    return ::renamex_np(from.constData(), to.constData(), RENAME_EXCL) == 0 ? 0 : errno;
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    return ENOSYS;
#endif
}

bool lacksFeature(int error)
{
    return error == ENOSYS || error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP;
}

} // namespace

Result<void> moveByLink(const QString &from, const QString &to)
{
    const QByteArray nativeFrom = QFile::encodeName(from);
    const QByteArray nativeTo = QFile::encodeName(to);
    if (::link(nativeFrom.constData(), nativeTo.constData()) != 0)
        return errorFor(errno, from, to);
    if (::unlink(nativeFrom.constData()) != 0) {
        const int error = errno;
        ::unlink(nativeTo.constData());
        return errorFor(error, from, to);
    }
    return {};
}

Result<void> moveNoReplace(const QString &from, const QString &to)
{
    const QByteArray nativeFrom = QFile::encodeName(from);
    const QByteArray nativeTo = QFile::encodeName(to);
    const int error = renameNoReplace(nativeFrom, nativeTo);
    if (error == 0)
        return {};
    if (!lacksFeature(error))
        return errorFor(error, from, to);

    if (::link(nativeFrom.constData(), nativeTo.constData()) == 0) {
        if (::unlink(nativeFrom.constData()) == 0)
            return {};
        const int unlinkError = errno;
        ::unlink(nativeTo.constData());
        return errorFor(unlinkError, from, to);
    }
    const int linkError = errno;
    // File systems without hard links (FAT on removable media) answer EPERM or ENOTSUP; the
    // last resort is to look for the target first, which leaves only a short race.
    if (linkError != EPERM && !lacksFeature(linkError))
        return errorFor(linkError, from, to);
    if (existsNoFollow(nativeTo))
        return errorFor(EEXIST, from, to);
    if (std::rename(nativeFrom.constData(), nativeTo.constData()) != 0)
        return errorFor(errno, from, to);
    return {};
}

} // namespace FileMove
