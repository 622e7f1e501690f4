#pragma once

#include "measurement.h"

#include <QString>
#include <QStringList>

// What the benchmark commands share: running one mode in a fresh process of this tool, and
// printing its figures.
namespace ChildRun {

// Starts this tool with the arguments and reads the sample line it prints; false when the child
// failed or printed none.
bool measure(const QString &selfPath, const QStringList &arguments, Measurement::Sample *sample);

void print(const QString &text);
QString mebibytes(qint64 bytes);
// Every timed run, in whole milliseconds.
QString timesText(const Measurement::Sample &sample);
// "<label> <median> ms (runs: ...), peak <size>" and a line break.
QString figureLine(const QString &label, const Measurement::Sample &sample);
QString verdict(bool met);

} // namespace ChildRun
