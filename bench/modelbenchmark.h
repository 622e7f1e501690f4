#pragma once

// "quorl-bench model": the song table model over a list of songs made in memory (no files):
// attaching the model to the list, the model's part of a reset and of inserting every row, a
// sort by title, data() for one screen of cells, and the memory of the whole process. Prints
// the figures against the targets; returns the process exit status (1 when a target is missed).
struct ModelBenchmark {
    int songs = 100000;
    int runs = 5;

    int run() const;
};
