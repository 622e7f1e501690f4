#pragma once

#include "command.h"

#include <QString>

// "export": writes the tab-separated song list of the loaded songs to standard output, or with
// -o to a file, which is replaced in one step; a write that fails is reported on standard error.
// With --dry-run the file is not written.
class ExportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export"); }
    const char *summaryKey() const override { return "CliSummaryExport"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;
    ExitCode run(CommandContext &context) override;

private:
    // Empty for standard output.
    QString m_outputPath;
};
