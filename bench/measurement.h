#pragma once

#include <QList>
#include <QString>

// One measured mode of the load benchmark, run in a process of its own so that its peak memory
// is its own: one untimed pass to warm the caches, then the timed runs.
namespace Measurement {

enum class Mode { Baseline, Load };

struct Sample {
    QList<double> milliseconds; // one per timed run
    qint64 peakBytes = 0;       // the process's peak resident size
    qint64 songs = 0;           // files read (baseline) or songs loaded, per run
    quint64 checksum = 0;

    double median() const;
    // The line the child prints and the parent parses.
    QString toLine() const;
    static bool fromLine(const QString &line, Sample *sample);
};

// The peak resident size of this process, or of the largest of its finished child processes.
qint64 peakResidentBytes(bool ofChildren = false);

// Runs in the child process. threads applies to Load only.
Sample run(Mode mode, const QString &corpusFolder, int threads, int runs);

} // namespace Measurement
