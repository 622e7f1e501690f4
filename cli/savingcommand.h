#pragma once

#include "command.h"

#include <QList>

class BatchReport;
class Song;
struct SaveReport;

// What a command reported: how many failures, and the songs they were about.
struct CommandOutcome {
    quint64 failures = 0;
    QList<const Song *> failedSongs;

    static CommandOutcome of(const BatchReport &report);
};

// A command that changes songs and ends with the editor's save pass: only the modified songs,
// or every song in full with --force; with --dry-run everything runs but no file is written or
// renamed, and what would change is printed per song. A song the command reported as failed is
// put back as it was loaded and not saved: a script cannot review a tool's partial result the way
// a person at the window can. The reports of the command and of the save go to standard error;
// afterwards the songs are printed as "read --json" prints them (with --json) or a one-line
// summary. Ctrl-C or SIGTERM during the save finishes the file in hand, saves no further one,
// lists the files not saved on standard error and ends with ExitCode::Interrupted or
// ExitCode::Terminated.
class SavingCommand : public Command {
public:
    ExitCode run(CommandContext &context) final;

protected:
    // Checks what can only be checked once the songs are loaded (files the command reads,
    // values every song must accept). Anything but Success ends the run before a song is
    // changed; the messages have been printed.
    virtual ExitCode prepare(CommandContext &context)
    {
        Q_UNUSED(context);
        return ExitCode::Success;
    }
    // Changes the songs and returns the failures the command reported; its report has been
    // shown by then.
    virtual CommandOutcome apply(CommandContext &context) = 0;

private:
    static void printSummary(const SaveReport &report, bool dryRun);
    // After a signal stopped the save: how many files were saved and which were not.
    static void printInterruption(const SaveReport &report, const QList<Song *> &songs);
};
