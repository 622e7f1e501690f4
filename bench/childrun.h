#pragma once

#include "measurement.h"

#include <QString>
#include <QStringList>

// What the benchmark commands share: running one mode in a fresh process of this tool, and
// printing its figures.
namespace ChildRun {

// Starts this tool with the arguments and reads the sample line it prints; false when the child
// failed or printed none. With steadyHeap the child (and any process it starts) runs with the C
// library's heap trimming off: after each file the allocator otherwise hands memory back to the
// system and asks for it again, at a cost that depends on what else the heap holds, not on the
// work measured.
bool measure(const QString &selfPath, const QStringList &arguments, Measurement::Sample *sample,
             bool steadyHeap);

// Measures each mode (the arguments of its child) rounds times, the modes taking turns, so that
// a slow spell of a shared machine falls on every mode alike; a mode's sample gathers the runs
// of all its children, with the highest peak. Returns the index of the first mode whose child
// failed, or -1.
int measureInRounds(const QString &selfPath, const QList<QStringList> &modes, int rounds, bool steadyHeap,
                    QList<Measurement::Sample> *samples);

void print(const QString &text);
QString mebibytes(qint64 bytes);
// Every timed run, in whole milliseconds.
QString timesText(const Measurement::Sample &sample);
// "<label> <median> ms (runs: ...), fastest <ms>, processor <median> ms, peak <size>" and a
// line break.
QString figureLine(const QString &label, const Measurement::Sample &sample);
QString verdict(bool met);

} // namespace ChildRun
