#pragma once

#include "editor/editorcontroller.h"
#include "model/song.h"

#include <QList>

#include <functional>

// "quorl-bench model": the song table model over a list of songs made in memory (no files):
// attaching the model to the list, the model's part of a reset and of inserting every row, a
// sort by title, data() for one screen of cells, and the memory of the whole process. Prints
// the figures against the targets; returns the process exit status (1 when a target is missed).
struct ModelBenchmark {
    int songs = 100000;
    int runs = 5;

    int run() const;
};

// Songs as loading leaves them, made in memory: albums of 12 with values of the sizes a music
// library has.
SongList makeMemorySongs(int count);
// The wall time of the work, in milliseconds.
double millisecondsOf(const std::function<void()> &work);
// One line of figures: the median and the fastest of the times, against the target (0: none).
void reportTimes(const char *what, const QList<double> &ms, double target);
