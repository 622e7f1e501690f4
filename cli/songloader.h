#pragma once

#include "arguments.h"

#include <QList>

class EditorController;
class TerminalUserInterface;

// Loads the paths of the command line into the editor as its Add command does, and reports on
// standard error every path that could not be loaded: names that are not valid UTF-8, paths
// where nothing exists, given files that are no music files, given folders that cannot be
// listed, names the walk skipped, and files an interrupted rename left that could not get their
// names back. The other paths are loaded all the same; the run then ends as a failure.
namespace SongLoader {

struct Outcome {
    int skippedPaths = 0;
    bool cancelled = false; // the rename restriction question was declined; nothing was added
};

Outcome load(EditorController *editor, const TerminalUserInterface &ui, const QList<Argument> &paths);

} // namespace SongLoader
