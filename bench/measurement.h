#pragma once

#include <QList>
#include <QString>

// One measured mode of the load benchmark, run in a process of its own so that its peak memory
// is its own: one untimed pass to warm the caches, then the timed runs.
namespace Measurement {

enum class Mode { Baseline, Load };

struct Sample {
    QList<double> milliseconds;    // wall time, one per timed run
    QList<double> cpuMilliseconds; // processor time (user and system) of the same runs
    qint64 peakBytes = 0;          // the process's peak resident size
    qint64 songs = 0;              // files read (baseline) or songs loaded, per run
    quint64 checksum = 0;

    double median() const { return medianOf(milliseconds); }
    // Processor time is what a run costs whatever else the machine does; the wall time of a
    // run on one thread exceeds it by the time the run waited for a processor.
    double cpuMedian() const { return medianOf(cpuMilliseconds); }
    // The fastest run: on a shared machine, the one least disturbed by other work.
    double fastest() const;
    static double medianOf(QList<double> values);
    // The line the child prints and the parent parses.
    QString toLine() const;
    static bool fromLine(const QString &line, Sample *sample);
};

// The peak resident size of this process, or of the largest of its finished child processes.
qint64 peakResidentBytes(bool ofChildren = false);
// The processor time used so far by this process (all its threads), or by its finished child
// processes, in milliseconds.
double cpuMilliseconds(bool ofChildren = false);

// Runs in the child process. threads applies to Load only.
Sample run(Mode mode, const QString &corpusFolder, int threads, int runs);

} // namespace Measurement
