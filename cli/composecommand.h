#pragma once

#include "savingcommand.h"
#include "toolselection.h"

// "compose": sets the title or the comment of the songs to a text built from their own values
// by the composition tool.
class ComposeCommand : public SavingCommand {
public:
    ComposeCommand();

    QString name() const override { return QStringLiteral("compose"); }
    const char *summaryKey() const override { return "CliSummaryCompose"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    CommandOutcome apply(CommandContext &context) override;

private:
    ToolSelection::SchemeOptions m_scheme;
    QString m_target; // the field to set, or null for the stored choice
};
