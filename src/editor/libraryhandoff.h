#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

class Song;
class UserQuestions;

// Hands the selected songs' files to the music library: a command of the person's player (a
// program and its arguments, "%f" standing for the file, "%%" for a percent sign; without "%f"
// the file goes last) is run once per song in selection order, without a shell, each run
// waited for at most the timeout. The command is the LIBRARY_HANDOFF_COMMAND setting. Every
// format the editor reads is handed over; the player decides what it takes.
//
// The outcomes: all handed over (a notification), no command set or the program not found (a
// message pointing to the preferences), the program failed, ended with a non-zero status or did
// not end in time (a message with the failures and a way to write to support), stopped by the
// person (a notification of how many were handed over). A program that cannot be started stops
// the hand-off; a song the program refuses does not stop the others.
//
// A program that has not ended within the timeout is never killed: the command of many players
// becomes the player when none is running yet, so it is left running and counted as having taken
// its file, and the hand-off goes on (the next runs then normally end at once). A second such run
// in a row is a program that hangs on every call: the hand-off stops there with a failure. The
// programs left running are kept to be reaped without waiting at the next hand-off and when the
// hand-off goes away; one that ends before then remains a zombie until that moment.
//
// A hand-off goes in three steps: prepare() asks the questions and takes the command and the
// paths, runFiles() runs the command for them (on a worker thread, so that the window stays
// responsive while the player is waited for), tell() shows how it went. The first and last are
// for the interface thread.
class LibraryHandoff {
public:
    static constexpr int DefaultTimeoutMs = 10000;
    static const QString CommandKey;

    struct Command {
        QString program;
        QStringList arguments;
    };
    // The command of a setting text, split into words at blanks, double quotes grouping words
    // (no other shell syntax); nullopt for an empty or blank text.
    static std::optional<Command> parseCommand(const QString &text);
    // The arguments for one file: each "%f" replaced by the path, "%%" by "%"; the path appended
    // when no argument holds "%f".
    static QStringList argumentsForFile(const QStringList &arguments, const QString &filePath);
    // How the messages name the player: the program's file name.
    static QString playerName(const Command &command);

    // One run of the command for one file.
    struct Run {
        enum class Result {
            Done,
            // The program is missing or may not be run.
            NotStarted,
            // Ended with a non-zero status.
            Failed,
            Crashed,
            // Did not end within the timeout: left running with the file.
            TimedOut,
            // Had not ended when the stop came: left running with the file.
            LeftAtStop,
        };
        Result result = Result::Done;
        int exitCode = 0;
        // The last line the program wrote to its error output, if any.
        QString errorLine;
        // The program's process id when it was left running, else 0.
        qint64 leftRunning = 0;
    };
    // Waits until the program ends, the timeout passes or stop is set.
    static Run runForFile(const Command &command, const QString &filePath, int timeoutMs,
                          const std::atomic<bool> &stop);

    enum class Outcome {
        NothingSelected,
        NotConfigured,
        Cancelled,
        Added,
        NotReachable,
        Failed,
    };
    struct Report {
        Outcome outcome = Outcome::NothingSelected;
        // The paths handed over, in order.
        QStringList handedOver;
        // One line per song that failed: its file name and what happened.
        QStringList failures;
        // Stopped on request before every file was handed over.
        bool stopped = false;
        // The process ids of the programs left running; see keepLeftRunning().
        QList<qint64> leftRunning;
    };

    // What a hand-off runs: the command and the paths of the selected songs, taken before the
    // runs since the songs may change while the player is waited for.
    struct Plan {
        Command command;
        QStringList paths;
        int timeoutMs = DefaultTimeoutMs;
    };

    // The questions must outlive the hand-off.
    explicit LibraryHandoff(UserQuestions *questions);
    // Reaps the programs left running that have ended since; the others are left alone.
    ~LibraryHandoff();
    LibraryHandoff(const LibraryHandoff &) = delete;
    LibraryHandoff &operator=(const LibraryHandoff &) = delete;

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // What the buttons "OpenPreferences" and "SendEmail" do.
    void setOpenPreferences(std::function<void()> open) { m_openPreferences = std::move(open); }
    void setSendFeedback(std::function<void()> send) { m_sendFeedback = std::move(send); }

    // The one-time recommendation about players that copy what they are handed: true to go on.
    // "ITurnedItOff" stores CONFIRMED_ADD_TO_ITUNES, after which it is not asked again.
    bool confirmAdding(const QString &playerName);
    // The questions before a hand-off of the selected songs: the plan to run, or nullopt when
    // there is none (nothing selected, no command, the recommendation declined), report then
    // saying why and the message about it shown.
    std::optional<Plan> prepare(const QList<Song *> &selected, Report &report);
    // Runs the command for the plan's files in order. Touches no song, setting or question, so
    // it may run on any thread. Once stop is set no further file is handed over; the program in
    // hand is waited for no longer but left running, its file counted as handed over. fileDone,
    // when set, gets the number of files through after each, on the calling thread.
    static Report runFiles(const Plan &plan, const std::atomic<bool> &stop,
                           const std::function<void(qsizetype done)> &fileDone = {});
    // The message about a run of the plan.
    void tell(const Plan &plan, const Report &report);
    // Takes over a report's programs left running, to be reaped at the next prepare() or when
    // this hand-off goes away.
    void keepLeftRunning(const QList<qint64> &pids);

private:
    void askWithPreferences(const char *messageKey, const QString &informativeText);
    void reportFailures(const QString &playerName, const QStringList &failures);

    UserQuestions *m_questions;
    int m_timeoutMs = DefaultTimeoutMs;
    std::function<void()> m_openPreferences;
    std::function<void()> m_sendFeedback;
    QList<qint64> m_leftRunning;
};
