#pragma once

#include <QList>
#include <QString>

// "quorl-bench load": makes (or reuses) a corpus, measures the plain TagLib baseline and the
// editor's load on each thread count in child processes, and prints the figures against the
// targets. Returns the process exit status (1 when a target is missed or a run failed).
struct LoadBenchmark {
    int songs = 2000;
    QString parentFolder;
    QList<int> threadCounts = {1, 2};
    bool keep = false;
    bool steadyHeap = false; // see ChildRun::measure()
    int runs = 5;
    int rounds = 1;

    int run(const QString &selfPath) const;
};
