#pragma once

#include "savingcommand.h"

#include <QList>

#include <optional>

// "all-in-one": numbering, capitalization and naming in one go, each with its stored settings;
// with --disc-starts the numbering goes by discs.
class AllInOneCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("all-in-one"); }
    const char *summaryKey() const override { return "CliSummaryAllInOne"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    ExitCode prepare(CommandContext &context) override;
    CommandOutcome apply(CommandContext &context) override;

private:
    std::optional<QList<int>> m_discStarts;
    QList<int> m_segments;
};
