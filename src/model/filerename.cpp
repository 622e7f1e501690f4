#include "model/filerename.h"

#include "model/filemove.h"
#include "model/localized.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileRename {

namespace {

// The hidden folder of a detour: this prefix and six letters or digits that make it unique.
constexpr QStringView TemporaryPrefix = u".quorl-rename-";
constexpr qsizetype TemporaryUniqueLength = 6;
constexpr qint64 UsualNameLimit = 255;

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool lookUp(const QString &path, struct stat *st)
{
    return ::lstat(QFile::encodeName(path).constData(), st) == 0;
}

bool isSameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the process may write in the folder and its permission bits allow writing at all: the
// superuser passes access() for everything, yet a folder the user made read-only is left alone.
bool isWritableFolder(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    struct stat st {};
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && ::access(native.constData(), W_OK) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Whether the folder lists an entry of exactly this name. Asked only when a new name finds the
// file itself: an entry of its own is another link to the file; without one the file system has
// matched the name regardless of case.
bool hasEntryNamed(const QString &folder, const QString &name)
{
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return true; // unknown: taken as the case that refuses
    const QByteArray wanted = QFile::encodeName(name);
    bool found = false;
    while (const dirent *entry = ::readdir(directory)) {
        if (wanted == entry->d_name) {
            found = true;
            break;
        }
    }
    ::closedir(directory);
    return found;
}

// What stands in the way of moving the file at from to to, as far as can be told without moving
// it; Done when nothing does. *sameFile tells that the new name finds the file itself.
Status obstacle(const QString &from, const QString &to, bool *sameFile)
{
    *sameFile = false;
    const Status name = checkName(to);
    if (name != Status::Done)
        return name;
    struct stat fromStat {};
    if (!lookUp(from, &fromStat) || !isWritableFolder(folderOf(from)))
        return Status::Failed;
    struct stat toStat {};
    if (lookUp(to, &toStat)) {
        *sameFile = isSameFile(fromStat, toStat) && !hasEntryNamed(folderOf(to), nameOf(to));
        return *sameFile ? Status::Done : Status::Exists;
    }
    return errno == ENOENT ? Status::Done : Status::Failed;
}

} // namespace

qint64 nameLimit(const QString &folder)
{
    errno = 0;
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    if (limit > 0)
        return limit;
    return limit < 0 && errno == 0 ? std::numeric_limits<qint64>::max() : UsualNameLimit;
}

Status checkName(const QString &path)
{
    const QString name = nameOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QStringView stem = QStringView(name).first(dot < 0 ? name.size() : dot);
    // Dots and blanks alone make no name, only "." or ".." or a hidden file that shows nothing.
    const bool onlyDots = std::all_of(stem.begin(), stem.end(), [](QChar c) { return c == u'.' || c.isSpace(); });
    // The sanitizer leaves none before the extension; a name that bypassed it may hold them after.
    const bool hasControl = std::any_of(name.begin(), name.end(),
                                        [](QChar c) { return c.category() == QChar::Other_Control; });
    if (onlyDots || hasControl)
        return Status::InvalidName;
    if (QFile::encodeName(name).size() > nameLimit(folderOf(path)))
        return Status::TooLong;
    return Status::Done;
}

QString nameRefusal(Status status, const QString &shownName, const QString &wanted, const QString &folder)
{
    switch (status) {
    case Status::InvalidName:
        return Localized::text("FileNameInvalidXY").arg(shownName, wanted);
    case Status::TooLong:
        return Localized::text("FileNameTooLongXYZ").arg(shownName, wanted).arg(nameLimit(folder));
    default:
        return QString();
    }
}

Status wouldRename(const QString &from, const QString &to)
{
    if (from == to)
        return Status::Done;
    bool sameFile = false;
    return obstacle(from, to, &sameFile);
}

Status rename(const QString &from, const QString &to)
{
    if (from == to)
        return Status::Done;
    bool sameFile = false;
    const Status status = obstacle(from, to, &sameFile);
    if (status != Status::Done)
        return status;
    if (sameFile)
        return renameThroughParking(from, to);
    const Result<void> moved = FileMove::moveNoReplace(from, to);
    if (moved.ok())
        return Status::Done;
    // The byte limit is not the only one: some file systems count characters.
    if (moved.error().code == ErrorCode::InvalidName)
        return Status::TooLong;
    struct stat st {};
    return lookUp(to, &st) ? Status::Exists : Status::Failed;
}

Status renameThroughParking(const QString &from, const QString &to)
{
    QByteArray folder = QFile::encodeName(childPath(folderOf(from), TemporaryPrefix.toString()
                                                                        + QString(TemporaryUniqueLength, u'X')));
    if (!::mkdtemp(folder.data()))
        return Status::Failed;
    const QString parked = childPath(QFile::decodeName(folder), nameOf(from));
    Status status = Status::Failed;
    if (FileMove::moveNoReplace(from, parked).ok()) {
        if (FileMove::moveNoReplace(parked, to).ok())
            status = Status::Done;
        else if (!FileMove::moveNoReplace(parked, from).ok())
            return Status::Failed; // still parked; the next load of the folder tries again
    }
    // Empty by now; should it stay, the next load of the folder removes it.
    ::rmdir(folder.constData());
    return status;
}

bool isTemporaryName(const QString &name)
{
    if (name.size() != TemporaryPrefix.size() + TemporaryUniqueLength || !name.startsWith(TemporaryPrefix))
        return false;
    const QStringView unique = QStringView(name).last(TemporaryUniqueLength);
    return std::all_of(unique.begin(), unique.end(), [](QChar c) {
        return c.unicode() < 0x80 && c.isLetterOrNumber();
    });
}

Restoration restore(const QString &folder, const QString &temporaryName)
{
    Restoration restoration;
    const QString parking = childPath(folder, temporaryName);
    struct stat st {};
    if (!lookUp(parking, &st) || !S_ISDIR(st.st_mode))
        return restoration;
    const QStringList parked = QDir(parking).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                       | QDir::NoDotAndDotDot);
    for (const QString &name : parked) {
        if (FileMove::moveNoReplace(childPath(parking, name), childPath(folder, name)).ok())
            restoration.restoredNames.append(name);
        else
            restoration.strandedPaths.append(childPath(parking, name));
    }
    // Should it stay although empty, the next load tries again.
    if (restoration.strandedPaths.isEmpty())
        ::rmdir(QFile::encodeName(parking).constData());
    return restoration;
}

} // namespace FileRename
