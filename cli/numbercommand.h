#pragma once

#include "savingcommand.h"

#include <QList>

#include <optional>

// "number": numbers the tracks of the songs in list order by the numbering tool; with
// --disc-starts each disc is numbered from 1 and the songs get their disc numbers.
class NumberCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("number"); }
    const char *summaryKey() const override { return "CliSummaryNumber"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

    // The --disc-starts option as number and all-in-one take it.
    static OptionDefinition discStartsText();
    static Result<std::optional<QList<int>>> parseDiscStarts(const ParsedOptions &options);
    // The segment starts for the loaded songs; prints a usage error and returns nullopt when a
    // start lies beyond the last song.
    static std::optional<QList<int>> segmentStarts(const QList<int> &discStarts, const CommandContext &context);

protected:
    ExitCode prepare(CommandContext &context) override;
    CommandOutcome apply(CommandContext &context) override;

private:
    std::optional<QList<int>> m_discStarts;
    QList<int> m_segments;
};
