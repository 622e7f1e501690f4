#pragma once

#include "editor/libraryhandoff.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class MainWindow;
class QAction;
class QWidget;
class WorkerHandoff;

// Add to Music Library in the Edit menu: hands the selected songs to the player through its
// command, with the questions and messages as the window's dialogs. "Open Preferences" opens the
// preferences, "Send Email" the feedback mail. The player is run on a worker thread, the count
// and Cancel in the bottom bar, so that a slow player does not hold up the window.
class LibraryCommand : public QObject {
    Q_OBJECT

public:
    explicit LibraryCommand(MainWindow &window);
    // Stops a hand-off in hand; a program still running is left running.
    ~LibraryCommand() override;

    // The menu entry; enabled while songs are selected and no hand-off is in hand.
    QAction *action() const { return m_action; }
    LibraryHandoff &handoff() { return m_handoff; }

    // Asks the questions and starts handing the selection over; the message comes when the runs
    // have ended. Nothing while a hand-off is in hand.
    void run();
    bool isRunning() const { return m_running; }
    // No further song is handed over; the message says how many were.
    void stop() { m_stop.store(true); }

    // The preferences' group for the player's command: a list of the players found on this
    // computer with their commands, in which any command can be typed, bound to the setting.
    static QWidget *preferencesGroup(QWidget *parent);

private:
    void work();
    // On the window's thread: the count while the runs go on, the message once they have ended.
    void step();
    void showCount();
    void updateAction();

    MainWindow &m_window;
    LibraryHandoff m_handoff;
    QAction *m_action;
    bool m_anySelected = false;
    // From the first question to the last message.
    bool m_running = false;

    // The hand-off in hand. The worker reads the plan and writes the report and the counts; the
    // window's thread leaves the plan alone and reads the report once the worker has ended.
    std::optional<LibraryHandoff::Plan> m_plan;
    LibraryHandoff::Report m_report;
    std::atomic<bool> m_stop{false};
    std::atomic<qsizetype> m_done{0};
    std::atomic<bool> m_ended{false};
    std::unique_ptr<WorkerHandoff> m_wake;
    std::thread m_worker;
};
