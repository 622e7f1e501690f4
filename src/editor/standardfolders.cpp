#include "editor/standardfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

const char *const StandardFolders::BundleIdentifier = "org.quorl.Quorl";

namespace {

QMutex folderMutex;
std::optional<StandardFolders::Folders> processFolders;

// "/Users/bob" gives "/", "Users", "bob"; empty pieces from doubled or trailing slashes are
// dropped.
QStringList pathComponents(const QString &path)
{
    QStringList components = path.split(u'/', Qt::SkipEmptyParts);
    if (path.startsWith(u'/'))
        components.prepend(QStringLiteral("/"));
    return components;
}

StandardFolders::Environment processEnvironment()
{
    StandardFolders::Environment environment;
    environment.homePath = QDir::homePath();
#if defined(Q_OS_LINUX)
    environment.linuxSandboxed = QFileInfo::exists(QStringLiteral("/.flatpak-info"));
    environment.unsandboxed = !environment.linuxSandboxed;
    if (environment.linuxSandboxed) {
        environment.xdgMusic = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        environment.xdgDownloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    }
#endif
    return environment;
}

} // namespace

StandardFolders::Folders StandardFolders::compute(const Environment &environment)
{
    const QString &home = environment.homePath;
    const QStringList components = pathComponents(home);
    if (components.size() > 2 && components.at(0) == u"/" && components.at(1) == u"Users") {
        const QString user = QStringLiteral("/Users/") + components.at(2);
        return {user + QStringLiteral("/Music"), user + QStringLiteral("/Downloads")};
    }

    const QString marker = QStringLiteral("/Library/Containers/") + QString::fromLatin1(BundleIdentifier)
        + QStringLiteral("/Data");
    const qsizetype position = home.indexOf(marker);
    if (position >= 0) {
        // Up to and including the slash that begins the marker.
        const QString base = home.left(position + 1);
        return {base + QStringLiteral("Music"), base + QStringLiteral("Downloads")};
    }

    if (environment.linuxSandboxed && !environment.xdgMusic.isEmpty()
        && !environment.xdgDownloads.isEmpty())
        return {environment.xdgMusic, environment.xdgDownloads};

    // Every folder path begins with "/": nothing named directly is excluded from renaming.
    if (environment.unsandboxed)
        return {QStringLiteral("/"), QStringLiteral("/")};

    // No real folder begins with these, so every directly named file is excluded.
    return {QStringLiteral("__MUSIC_DIRECTORY_CANNOT_BE_DETERMINED__"),
            QStringLiteral("__DOWNLOADS_DIRECTORY_CANNOT_BE_DETERMINED__")};
}

const StandardFolders::Folders &StandardFolders::current()
{
    QMutexLocker lock(&folderMutex);
    if (!processFolders)
        processFolders = compute(processEnvironment());
    return *processFolders;
}

void StandardFolders::setForTesting(const Folders &folders)
{
    QMutexLocker lock(&folderMutex);
    processFolders = folders;
}

void StandardFolders::reset()
{
    QMutexLocker lock(&folderMutex);
    processFolders.reset();
}
