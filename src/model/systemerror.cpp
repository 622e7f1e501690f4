#include "model/systemerror.h"

#include <cerrno>
#include <cstring>

Error systemError(int error, const QByteArray &path, const char *what)
{
    return Error{error == ENOENT ? ErrorCode::NotFound : ErrorCode::Unwritable,
                 QStringLiteral("%1: %2: %3")
                     .arg(QString::fromLocal8Bit(path), QLatin1String(what),
                          QString::fromLocal8Bit(std::strerror(error)))};
}
