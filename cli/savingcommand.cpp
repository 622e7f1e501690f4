#include "savingcommand.h"

#include "console.h"
#include "interruptwatch.h"
#include "savepreview.h"
#include "songjson.h"
#include "songsnapshot.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "tags/tagswriter.h"
#include "tools/batchreport.h"

#include <QSet>

#include <csignal>
#include <vector>

CommandOutcome CommandOutcome::of(const BatchReport &report)
{
    return {report.errorCount(), report.failedSongs()};
}

ExitCode SavingCommand::run(CommandContext &context)
{
    const QList<Song *> songs = context.editor->selectedObjects();
    std::vector<SongSnapshot> before;
    before.reserve(size_t(songs.size()));
    for (const Song *song : songs)
        before.emplace_back(*song);

    const ExitCode prepared = prepare(context);
    if (prepared != ExitCode::Success)
        return prepared;
    const CommandOutcome outcome = apply(context);
    for (const Song *failed : outcome.failedSongs) {
        const qsizetype index = songs.indexOf(failed);
        if (index >= 0)
            before.at(size_t(index)).restore(songs.at(index));
    }

    TagsWriter writer;
    writer.setDryRun(context.global.dryRun);
    // Ctrl-C or SIGTERM lets the file in hand be finished and stops the pass before the next.
    InterruptWatch interrupts({SIGINT, SIGTERM});
    writer.setStopFlag(&interrupts.stopFlag());
    SaveController saver(*context.editor, writer);
    interrupts.arm();
    const SaveReport report = context.global.force ? saver.saveSongsForced() : saver.saveSongs();
    interrupts.disarm();

    if (context.global.dryRun) {
        const QList<SavePreview::Row> rows = SavePreview::rows(songs, before, writer, context.global.force,
                                                                   outcome.failedSongs);
        if (context.global.json) {
            Console::out(SavePreview::json(rows));
        } else {
            Console::out(SavePreview::text(rows));
            printSummary(report, true);
        }
    } else if (context.global.json) {
        Console::out(SongJson::songsDocument(songs));
    } else {
        printSummary(report, false);
    }
    if (const int signalNumber = interrupts.caughtSignal()) {
        printInterruption(report, songs);
        return signalNumber == SIGTERM ? ExitCode::Terminated : ExitCode::Interrupted;
    }
    return outcome.failures > 0 || report.hasErrors() ? ExitCode::Failures : ExitCode::Success;
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
