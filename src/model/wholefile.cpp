#include "model/wholefile.h"

#include "model/filemove.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace WholeFile {

namespace {

Error failure(const QString &reason)
{
    return Error{ErrorCode::Unwritable, reason};
}

// Writes, flushes and syncs the open file; empty when every step succeeded, else the reason.
// The flush is checked here because a failed flush inside QSaveFile::commit() (Qt 6.4) still
// counts as a success there, and a close cannot report a failed sync.
QString writeThrough(QFileDevice &file, const QByteArray &bytes)
{
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return file.errorString();
    if (::fsync(file.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString();
}

} // namespace

Result<void> replace(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    const QString reason = writeThrough(file, bytes);
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return failure(reason);
    }
    if (!file.commit())
        return failure(file.errorString());
    return {};
}

Result<void> createNew(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.quorl-new-XXXXXX"));
    if (!temporary.open())
        return failure(temporary.errorString());
    temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString reason = writeThrough(temporary, bytes);
    if (!reason.isEmpty())
        return failure(reason);
    temporary.close();
    if (temporary.error() != QFileDevice::NoError)
        return failure(temporary.errorString());
    // A plain rename would replace a file that appeared meanwhile; this one refuses.
    Result<void> moved = FileMove::moveNoReplace(temporary.fileName(), path);
    if (!moved)
        return moved;
    temporary.setAutoRemove(false);
    return {};
}

} // namespace WholeFile
