#pragma once

#include <QString>

// "quorl-bench save": makes (or reuses) a corpus, then measures in child processes the bare
// TagLib title change, the editor's change and save pass, and "quorl-cli edit --title" as a
// whole process, each on fresh copies of the corpus, and prints the figures against the
// targets. Returns the process exit status (1 when a target is missed or a run failed).
struct SaveBenchmark {
    int songs = 2000;
    QString parentFolder;
    QString cliPath;
    bool keep = false;
    bool steadyHeap = false; // see ChildRun::measure()
    int runs = 5;
    int rounds = 1;

    int run(const QString &selfPath) const;
};
