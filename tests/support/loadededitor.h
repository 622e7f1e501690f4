#pragma once

#include "editor/editorcontroller.h"
#include "fakeuserinterface.h"

#include <QList>
#include <QTemporaryDir>

class Song;

// An editor over the scripted user interface with songs read from copies of the untagged MP3
// fixture ("01.mp3", "02.mp3", ... in a temporary folder), for tests that edit songs in memory.
class LoadedEditor {
public:
    // Loads count songs; afterwards all of them are selected. False if a copy or the read failed.
    bool load(int count);
    // Selects the songs at the rows (table order).
    void select(const QList<int> &rows) { ui.rows = rows; }
    Song *song(int row) const;

    QTemporaryDir dir;
    FakeUserInterface ui;
    EditorController editor{&ui};
};
