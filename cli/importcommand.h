#pragma once

#include "savingcommand.h"

#include <QString>

// "import TSV-FILE PATH...": applies the tab-separated song list to the loaded songs, row k to
// the k-th song, and saves. A list is applied only as a whole, so the import runs before the
// save pass: when it fails no song has changed, its error report goes to standard error and the
// run ends there without saving anything (not even with --force).
class ImportCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("import"); }
    const char *summaryKey() const override { return "CliSummaryImport"; }
    QString synopsis() const override { return QStringLiteral("TSV-FILE PATH..."); }
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    ExitCode prepare(CommandContext &context) override;
    CommandOutcome apply(CommandContext &context) override;

private:
    QString m_tsvPath;
};
