#pragma once

#include "tools/tsvcontroller.h"

#include <QObject>

class MainWindow;
class QAction;

// The song-list commands of the File menu: export the selected songs to a tab-separated file
// chosen in a save dialog (proposing "songs.tsv"), and apply such a file, chosen in an open
// dialog, to them. Dialogs and reports are window-modal on the main window; a list that cannot
// be applied changes nothing. Both commands need a selection and wait while a save runs.
class TsvDialogs : public QObject {
    Q_OBJECT

public:
    explicit TsvDialogs(MainWindow &window);

    QAction *exportAction() const { return m_export; }
    QAction *importAction() const { return m_import; }

    TsvReport exportSelection();
    TsvReport importIntoSelection();

private:
    MainWindow &m_window;
    TsvController m_tsv;
    QAction *m_export;
    QAction *m_import;
};
