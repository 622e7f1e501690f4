#include "savingcommand.h"

#include "console.h"
#include "songjson.h"

#include "editor/editorcontroller.h"
#include "editor/savecontroller.h"
#include "model/localized.h"
#include "tags/tagswriter.h"

ExitCode SavingCommand::run(CommandContext &context)
{
    const ExitCode prepared = prepare(context);
    if (prepared != ExitCode::Success)
        return prepared;
    const quint64 commandFailures = apply(context);

    TagsWriter writer;
    writer.setDryRun(context.global.dryRun);
    SaveController saver(*context.editor, writer);
    const SaveReport report = context.global.force ? saver.saveSongsForced() : saver.saveSongs();

    if (context.global.json)
        Console::out(SongJson::songsDocument(context.editor->selectedObjects()));
    else
        printSummary(report, context.global.dryRun);
    return commandFailures > 0 || report.hasErrors() ? ExitCode::Failures : ExitCode::Success;
}

void SavingCommand::printSummary(const SaveReport &report, bool dryRun)
{
    const char *key = dryRun ? "CliDryRunSummaryXY" : "CliSaveSummaryXY";
    Console::out(Localized::text(key).arg(report.savedCount).arg(report.renamedCount) + QLatin1Char('\n'));
}
