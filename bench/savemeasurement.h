#pragma once

#include "measurement.h"

#include <QString>

// One measured mode of the save benchmark, run in a process of its own. Before every pass
// (the untimed warm-up and each timed run) the work folder is made afresh as a copy of the
// corpus and flushed to disk, so that every pass changes real files; passes alternate between
// two titles, so that each save changes bytes whatever a file held before.
namespace SaveMeasurement {

enum class Mode {
    Bare, // TagLib alone: open, set the title, save
    Core, // the songs loaded (untimed), then Song::setTitle on each and the editor's save pass
    Cli,  // "quorl-cli --yes edit --title T WORK" as a whole process
    // Bare and Core with a picture of 300 KB added to every file as well: tags that grow past
    // their padding, so that the audio moves.
    BareCover,
    CoreCover,
};

struct Setup {
    QString corpusFolder;
    QString workFolder; // replaced by a copy of the corpus before every pass
    QString cliPath;    // Cli only
    int runs = 5;
};

// The title a pass sets.
QString titleForPass(int pass);

// The picture the cover modes add: 300 KB that pass for a JPEG, the same in every process.
QByteArray coverBytes();

Measurement::Sample run(Mode mode, const Setup &setup);

} // namespace SaveMeasurement
