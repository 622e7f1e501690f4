#pragma once

#include <QString>

#include <memory>

class QCoreApplication;

// "quorl-bench window": the desktop window over songs made in memory (no files), on the
// offscreen platform unless another is asked for: a header click that sorts by title and by
// track and repaints, selecting every song with the field area and the cover panel following,
// one field changed across 10 000 selected songs and repainted, and the memory of the whole
// process. With --dir, also the start of the window on a corpus of files until every row shows,
// against `quorl-cli read` of the same folder, each in processes of their own.
struct WindowBenchmark {
    int songs = 100000;
    int runs = 5;
    int corpusSongs = 2000;
    QString corpusParent;
    QString cliPath;
    bool keep = false;

    int run(const QString &selfPath) const;

    // Whether the command line asks for the window (it needs a GUI application object).
    static bool isWindowCommand(int argc, char **argv);
    static std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv);
    // Child process: opens the window on the folder and ends once every song is in the table and
    // painted. Returns the exit status (1 when not every file became a row).
    static int startOnFolder(const QString &folder, int expectedSongs);
};
