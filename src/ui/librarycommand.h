#pragma once

#include "editor/libraryhandoff.h"

#include <QObject>

class MainWindow;
class QAction;
class QWidget;

// Add to Music Library in the Edit menu: hands the selected songs to the player through its
// command, with the questions and messages as the window's dialogs. "Open Preferences" opens the
// preferences, "Send Email" the feedback mail.
class LibraryCommand : public QObject {
    Q_OBJECT

public:
    explicit LibraryCommand(MainWindow &window);

    // The menu entry; enabled while songs are selected.
    QAction *action() const { return m_action; }
    LibraryHandoff &handoff() { return m_handoff; }

    LibraryHandoff::Report run();

    // The preferences' group for the player's command: a list of the players found on this
    // computer with their commands, in which any command can be typed, bound to the setting.
    static QWidget *preferencesGroup(QWidget *parent);

private:
    MainWindow &m_window;
    LibraryHandoff m_handoff;
    QAction *m_action;
    bool m_running = false;
};
