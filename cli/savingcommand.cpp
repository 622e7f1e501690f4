#include "savingcommand.h"

#include "console.h"
#include "interruptwatch.h"
#include "songjson.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "tags/tagswriter.h"

#include <QSet>

#include <csignal>

ExitCode SavingCommand::run(CommandContext &context)
{
    const ExitCode prepared = prepare(context);
    if (prepared != ExitCode::Success)
        return prepared;
    const quint64 commandFailures = apply(context);

    TagsWriter writer;
    writer.setDryRun(context.global.dryRun);
    // Ctrl-C or SIGTERM lets the file in hand be finished and stops the pass before the next.
    InterruptWatch interrupts({SIGINT, SIGTERM});
    writer.setStopFlag(&interrupts.stopFlag());
    SaveController saver(*context.editor, writer);
    interrupts.arm();
    const SaveReport report = context.global.force ? saver.saveSongsForced() : saver.saveSongs();
    interrupts.disarm();

    if (context.global.json)
        Console::out(SongJson::songsDocument(context.editor->selectedObjects()));
    else
        printSummary(report, context.global.dryRun);
    if (const int signalNumber = interrupts.caughtSignal()) {
        printInterruption(report, context.editor->selectedObjects());
        return signalNumber == SIGTERM ? ExitCode::Terminated : ExitCode::Interrupted;
    }
    return commandFailures > 0 || report.hasErrors() ? ExitCode::Failures : ExitCode::Success;
}

void SavingCommand::printInterruption(const SaveReport &report, const QList<Song *> &songs)
{
    // The songs left modified (failed or not reached) and, in a forced pass, the unmodified
    // ones it did not reach, in list order.
    const QSet<QString> notReached(report.notReachedPaths.cbegin(), report.notReachedPaths.cend());
    QStringList unsaved;
    for (const Song *song : songs)
        if (song->isModified() || notReached.contains(song->filePath()))
            unsaved.append(song->filePath());
    Console::errLine(Localized::text("CliSaveInterruptedXY").arg(report.savedCount).arg(unsaved.size()));
    for (const QString &path : std::as_const(unsaved))
        Console::errLine(QStringLiteral("  ") + path);
}

void SavingCommand::printSummary(const SaveReport &report, bool dryRun)
{
    const char *key = dryRun ? "CliDryRunSummaryXY" : "CliSaveSummaryXY";
    Console::out(Localized::text(key).arg(report.savedCount).arg(report.renamedCount) + QLatin1Char('\n'));
}
