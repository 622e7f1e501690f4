#include "importcommand.h"

#include "console.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "tools/tsvcontroller.h"

Result<void> ImportCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(options);
    if (operands->isEmpty())
        return Error{ErrorCode::InvalidArgument, Localized::text("CliMissingTsvFile")};
    const Argument tsv = operands->takeFirst();
    // A name that is not valid UTF-8 would open another file than the one given.
    if (!tsv.isValidUtf8)
        return Error{ErrorCode::InvalidArgument, Localized::text("CliTsvPathNotUtf8X").arg(tsv.text)};
    m_tsvPath = tsv.text;
    return {};
}

ExitCode ImportCommand::prepare(CommandContext &context)
{
    TsvController tsv(*context.editor);
    const TsvReport report = tsv.importSongsFromTsv(m_tsvPath);
    if (!report.failed())
        return ExitCode::Success;
    // A refused list has been reported through the user interface; a list the reader found
    // malformed is dropped silently by the editor, but a script must learn why it failed.
    if (report.errorCode == 0)
        Console::errLine(Localized::text("CliImportMalformedXY").arg(m_tsvPath, report.errorText));
    return ExitCode::Failures;
}

CommandOutcome ImportCommand::apply(CommandContext &context)
{
    // The list was applied in prepare(), where a failure still ends the run before the save.
    Q_UNUSED(context);
    return {};
}
