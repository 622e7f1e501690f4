#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ProgressDisplay;
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
// not end in time (a message with the failures and a way to write to support). A program that
// cannot be started stops the hand-off, as does one that hangs (it is killed); a song the
// program refuses does not stop the others.
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
            // Did not end within the timeout and was killed.
            TimedOut,
        };
        Result result = Result::Done;
        int exitCode = 0;
        // The last line the program wrote to its error output, if any.
        QString errorLine;
    };
    static Run runForFile(const Command &command, const QString &filePath, int timeoutMs);

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
    };

    // The questions and the progress line must outlive the hand-off; progress may be null.
    explicit LibraryHandoff(UserQuestions *questions, ProgressDisplay *progress = nullptr);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // What the buttons "OpenPreferences" and "SendEmail" do.
    void setOpenPreferences(std::function<void()> open) { m_openPreferences = std::move(open); }
    void setSendFeedback(std::function<void()> send) { m_sendFeedback = std::move(send); }

    // The one-time recommendation about players that copy what they are handed: true to go on.
    // "ITurnedItOff" stores CONFIRMED_ADD_TO_ITUNES, after which it is not asked again.
    bool confirmAdding(const QString &playerName);
    // The command: the selected songs to the player.
    Report addToLibrary(const QList<Song *> &selected);

private:
    void askWithPreferences(const char *messageKey, const QString &informativeText);
    void reportFailures(const QString &playerName, const QStringList &failures);

    UserQuestions *m_questions;
    ProgressDisplay *m_progress;
    int m_timeoutMs = DefaultTimeoutMs;
    std::function<void()> m_openPreferences;
    std::function<void()> m_sendFeedback;
};
