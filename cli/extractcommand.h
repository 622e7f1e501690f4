#pragma once

#include "savingcommand.h"
#include "toolselection.h"

// "extract": fills tags of the songs from their file names or titles by the extraction tool.
class ExtractCommand : public SavingCommand {
public:
    ExtractCommand();

    QString name() const override { return QStringLiteral("extract"); }
    const char *summaryKey() const override { return "CliSummaryExtract"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    CommandOutcome apply(CommandContext &context) override;

private:
    ToolSelection::SchemeOptions m_scheme;
    QString m_source; // the song property to read, or null for the stored choice
};
