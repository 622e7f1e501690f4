#include "model/fileidentity.h"

#include <QFile>

#include <sys/stat.h>

namespace FileIdentity {

QByteArray ofPath(const QString &path)
{
    if (path.isEmpty())
        return {};
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return ofStat(st);
}

QByteArray ofStat(const struct stat &st)
{
#if defined(__APPLE__)
    const qint64 seconds = qint64(st.st_mtimespec.tv_sec);
    const qint64 nanoseconds = qint64(st.st_mtimespec.tv_nsec);
#else
    const qint64 seconds = qint64(st.st_mtim.tv_sec);
    const qint64 nanoseconds = qint64(st.st_mtim.tv_nsec);
#endif
    return QByteArray::number(quint64(st.st_dev)) + ':' + QByteArray::number(quint64(st.st_ino))
        + ':' + QByteArray::number(qint64(st.st_size)) + ':' + QByteArray::number(seconds) + '.'
        + QByteArray::number(nanoseconds).rightJustified(9, '0');
}

} // namespace FileIdentity
