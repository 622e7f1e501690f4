#include "editor/musicfilewalk.h"

#include "editor/editorcontroller.h"
#include "editor/standardfolders.h"
#include "model/filerename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>

namespace {

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The path without its last component ("/a/b.mp3" gives "/a", "/b.mp3" gives "/").
QString parentFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

MusicFileWalk::MusicFileWalk(const std::atomic<bool> *stop)
    : m_stop(stop)
{
}

void MusicFileWalk::collect(const QString &path, QStringList *musicFiles, QSet<QString> *excludes)
{
    if (path.isEmpty() || isStopped())
        return;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QFileInfo info(absolute);
    if (!info.exists())
        return;

    if (info.isDir()) {
        collectFolder(absolute, info.canonicalFilePath(), false, musicFiles);
        return;
    }

    // Only regular files: a pipe or device with a music name would block or be meaningless.
    if (!info.isFile() || !EditorController::hasMusicExtension(absolute))
        return;
    musicFiles->append(absolute);
    if (!excludes)
        return;
    const StandardFolders::Folders &folders = StandardFolders::current();
    const QString folder = parentFolder(absolute);
    if (folder.startsWith(folders.music) || folder.startsWith(folders.downloads))
        return;
    excludes->insert(absolute);
}

void MusicFileWalk::collectLookedUp(const QString &path, QStringList *musicFiles)
{
    // One lookup, through links: a dangling link is nothing, a link to a folder is walked.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode))
        collectFolder(path, QFileInfo(path).canonicalFilePath(), false, musicFiles);
    else if (S_ISREG(st.st_mode) && EditorController::hasMusicExtension(path))
        musicFiles->append(path);
}

void MusicFileWalk::collectFolder(const QString &path, const QString &canonical, bool isLinkFree,
                                  QStringList *musicFiles)
{
    if (canonical.isEmpty() || m_visitedFolders.contains(canonical) || isStopped())
        return;
    m_visitedFolders.insert(canonical);

    FolderListing::Listing listing = FolderListing::list(path, !isLinkFree);
    for (const QByteArray &name : listing.invalidNames)
        m_skippedPaths.append(childPath(path, FolderListing::printableName(name)));
    restoreInterruptedRenames(path, &listing);
    // Names equal but for case keep a fixed order between them.
    QList<qsizetype> order(listing.names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&names = listing.names](qsizetype a, qsizetype b) {
        const int compared = QString::compare(names.at(a), names.at(b), Qt::CaseInsensitive);
        return compared != 0 ? compared < 0 : names.at(a) < names.at(b);
    });

    // The listing tells folders and regular files apart, so a file is looked up only when it is
    // a link or of a type the file system did not say, and a file is taken by its name alone.
    for (const qsizetype index : std::as_const(order)) {
        const QString &name = listing.names.at(index);
        const QString child = childPath(path, name);
        switch (listing.types.at(index)) {
        case FolderListing::EntryType::Folder:
            // No link: its own name completes the canonical path.
            collectFolder(child, childPath(canonical, name), true, musicFiles);
            break;
        case FolderListing::EntryType::File:
            if (EditorController::hasMusicExtension(name))
                musicFiles->append(child);
            break;
        case FolderListing::EntryType::Unknown:
            collectLookedUp(child, musicFiles);
            break;
        case FolderListing::EntryType::Other:
            break;
        }
    }
}

void MusicFileWalk::restoreInterruptedRenames(const QString &path, FolderListing::Listing *listing)
{
    for (qsizetype index = listing->names.size() - 1; index >= 0; --index) {
        const QString &name = listing->names.at(index);
        // Only hidden entries cost a second look.
        if (!name.startsWith(u'.') || !FileRename::isTemporaryName(name))
            continue;
        const FileRename::Restoration restoration = FileRename::restore(path, name);
        listing->names.removeAt(index);
        listing->types.removeAt(index);
        for (const QString &restored : restoration.restoredNames) {
            listing->names.append(restored);
            listing->types.append(FolderListing::EntryType::Unknown);
        }
        m_strandedPaths += restoration.strandedPaths;
    }
}
