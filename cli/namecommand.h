#pragma once

#include "savingcommand.h"
#include "toolselection.h"

// "name": gives the songs file names built from their tags by the naming tool; the files are
// renamed by the save pass.
class NameCommand : public SavingCommand {
public:
    NameCommand();

    QString name() const override { return QStringLiteral("name"); }
    const char *summaryKey() const override { return "CliSummaryName"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    CommandOutcome apply(CommandContext &context) override;

private:
    ToolSelection::SchemeOptions m_scheme;
};
