#include "exportcommand.h"

#include "console.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "tools/importexportassistant.h"
#include "tools/tsvcontroller.h"

namespace {

const QString OutputOption = QStringLiteral("output");

} // namespace

const QList<OptionDefinition> &ExportCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {OutputOption, QLatin1Char('o'), QStringLiteral("FILE"), "CliHelpOptionOutput"},
    };
    return definitions;
}

Result<void> ExportCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (options.has(OutputOption)) {
        m_outputPath = options.value(OutputOption);
        if (m_outputPath.isEmpty())
            return Error{ErrorCode::InvalidArgument, Localized::text("CliMissingValueX").arg(QStringLiteral("-o"))};
    }
    return {};
}

ExitCode ExportCommand::run(CommandContext &context)
{
    if (m_outputPath.isEmpty()) {
        Console::out(ImportExportAssistant::exportSongTagsToTSV(context.editor->selectedObjects()));
        return ExitCode::Success;
    }
    if (context.global.dryRun) {
        Console::errLine(Localized::text("CliExportWouldWriteX").arg(m_outputPath));
        return ExitCode::Success;
    }
    // The editor's export: written atomically, and a failure is shown through the terminal's
    // user interface on standard error.
    TsvController tsv(*context.editor);
    return tsv.exportSongsAsTsv(m_outputPath).failed() ? ExitCode::Failures : ExitCode::Success;
}
