#include "smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Runs a system tool; empty on success, else what went wrong.
QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("%1 did not run: %2").arg(program, process.errorString());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()).trimmed());
    return QString();
}

qint64 blockSize(const QByteArray &path)
{
    struct statvfs info = {};
    return ::statvfs(path.constData(), &info) == 0 ? qint64(info.f_bsize) : 4096;
}

} // namespace

SmallFileSystem::SmallFileSystem(qint64 sizeBytes, Kind kind)
{
    if (!m_mountPoint.isValid()) {
        m_failure = QStringLiteral("no folder to mount on: %1").arg(m_mountPoint.errorString());
        return;
    }
    QString tmpfsFailure = QStringLiteral("not tried");
    if (kind != Kind::LoopImage) {
        if (mountTmpfs(sizeBytes))
            return;
        tmpfsFailure = m_failure;
    }
    QString imageFailure = QStringLiteral("not tried");
    if (kind != Kind::Tmpfs) {
        if (mountImage(sizeBytes))
            return;
        imageFailure = m_failure;
    }
    m_failure = QStringLiteral("cannot mount a small file system: tmpfs: %1; loop image: %2")
                    .arg(tmpfsFailure, imageFailure);
}

SmallFileSystem::~SmallFileSystem()
{
    if (!m_mounted)
        return;
    const QByteArray path = QFile::encodeName(m_mountPoint.path());
    // A file still open in it (a child process the test killed) makes it busy: detach it then,
    // and the kernel lets it go with the last user.
    if (::umount2(path.constData(), 0) != 0)
        ::umount2(path.constData(), MNT_DETACH);
}

bool SmallFileSystem::mountTmpfs(qint64 sizeBytes)
{
    const QByteArray path = QFile::encodeName(m_mountPoint.path());
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0755";
    if (::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0) {
        m_failure = systemError();
        return false;
    }
    m_mounted = true;
    return true;
}

bool SmallFileSystem::mountImage(qint64 sizeBytes)
{
    if (!m_imageFolder.isValid()) {
        m_failure = m_imageFolder.errorString();
        return false;
    }
    const QString image = m_imageFolder.filePath(QStringLiteral("disk.img"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(std::max<qint64>(sizeBytes, 64 * 1024))) {
        m_failure = file.errorString();
        return false;
    }
    file.close();
    // No blocks kept for the superuser: the tests run as root and must see the disk full.
    m_failure = runTool(QStringLiteral("mke2fs"), {"-q", "-F", "-m", "0", "-b", "1024", image});
    if (m_failure.isEmpty())
        m_failure = runTool(QStringLiteral("mount"), {"-o", "loop", image, m_mountPoint.path()});
    if (!m_failure.isEmpty())
        return false;
    m_mounted = true;
    // Everything written below the mount point goes to the image; lost+found is not the test's.
    QDir(m_mountPoint.path()).rmdir(QStringLiteral("lost+found"));
    return true;
}

QString SmallFileSystem::fillerPath() const
{
    return m_mountPoint.filePath(QStringLiteral(".filler"));
}

qint64 SmallFileSystem::freeBytes() const
{
    if (!m_mounted)
        return -1;
    struct statvfs info = {};
    if (::statvfs(QFile::encodeName(m_mountPoint.path()).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool SmallFileSystem::fillLeaving(qint64 leftBytes)
{
    if (!m_mounted) {
        m_failure = QStringLiteral("nothing mounted to fill");
        return false;
    }
    const QByteArray path = QFile::encodeName(fillerPath());
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        m_failure = QStringLiteral("cannot make the filler: %1").arg(systemError());
        return false;
    }
    const QByteArray zeros(64 * 1024, '\0');
    qint64 wanted = freeBytes() - leftBytes;
    while (wanted > 0) {
        const ssize_t written = ::write(descriptor, zeros.constData(), size_t(std::min<qint64>(wanted, zeros.size())));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == ENOSPC)
            break;
        if (written <= 0) {
            m_failure = QStringLiteral("cannot fill: %1").arg(systemError());
            ::close(descriptor);
            return false;
        }
        wanted -= written;
    }
    // The filler's own bookkeeping blocks may have taken more than was left: give back whole
    // blocks until the wanted space is free again.
    const qint64 block = blockSize(QFile::encodeName(m_mountPoint.path()));
    const qint64 missing = leftBytes - freeBytes();
    if (missing > 0) {
        const qint64 size = ::lseek(descriptor, 0, SEEK_END);
        const qint64 shrunk = std::max<qint64>(0, size - (missing + block - 1) / block * block);
        if (::ftruncate(descriptor, shrunk) != 0) {
            m_failure = QStringLiteral("cannot trim the filler: %1").arg(systemError());
            ::close(descriptor);
            return false;
        }
    }
    ::fsync(descriptor);
    ::close(descriptor);
    const qint64 left = freeBytes();
    if (left < 0 || left > leftBytes + 2 * block) {
        m_failure = QStringLiteral("filled to %1 free bytes instead of %2").arg(left).arg(leftBytes);
        return false;
    }
    return true;
}

void SmallFileSystem::unfill()
{
    QFile::remove(fillerPath());
}
