#include "songloader.h"

#include "console.h"
#include "terminalui.h"
#include "terminaltext.h"

#include "editor/editorcontroller.h"
#include "editor/folderlisting.h"
#include "model/localized.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>

namespace SongLoader {

namespace {

// The walk passes over a folder it cannot list as if it were empty.
bool canList(const QString &folder)
{
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return false;
    ::closedir(listing);
    return true;
}

// The absolute form of a path given on the command line, or null when it cannot be loaded.
QString loadablePath(const Argument &path)
{
    if (!path.isValidUtf8) {
        Console::errLine(Localized::text("CliPathNotUtf8X").arg(FolderListing::printableName(path.raw)));
        return QString();
    }
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path.text));
    const QFileInfo info(absolute);
    const char *refusal = nullptr;
    if (!info.exists())
        refusal = info.isSymLink() ? "CliPathBrokenLinkX" : "CliPathMissingX";
    else if (info.isDir())
        refusal = canList(absolute) ? nullptr : "CliFolderNotListedX";
    else if (!info.isFile() || !EditorController::hasMusicExtension(absolute))
        refusal = "CliPathNotMusicX";
    if (refusal) {
        Console::errLine(Localized::text(refusal).arg(TerminalText::escaped(path.text)));
        return QString();
    }
    return absolute;
}

} // namespace

Outcome load(EditorController *editor, const TerminalUserInterface &ui, const QList<Argument> &paths)
{
    Outcome outcome;
    QStringList loadable;
    for (const Argument &path : paths) {
        const QString absolute = loadablePath(path);
        if (absolute.isNull())
            ++outcome.skippedPaths;
        else
            loadable.append(absolute);
    }
    const int cancelledBefore = ui.cancelledCount();
    const size_t countBefore = editor->songs().size();
    if (!loadable.isEmpty())
        editor->traverseFiles(loadable, false);
    for (const QString &skipped : editor->skippedPaths())
        Console::errLine(Localized::text("CliPathNotUtf8X").arg(skipped));
    outcome.skippedPaths += int(editor->skippedPaths().size());
    for (const QString &stranded : editor->strandedPaths())
        Console::errLine(Localized::text("InterruptedRenameLeftFileXY").arg(stranded, stranded.section(u'/', -1)));
    outcome.skippedPaths += int(editor->strandedPaths().size());
    outcome.cancelled = ui.cancelledCount() > cancelledBefore && editor->songs().size() == countBefore;
    if (outcome.cancelled)
        Console::errLine(Localized::text("CliLoadingCancelled"));
    return outcome;
}

} // namespace SongLoader
