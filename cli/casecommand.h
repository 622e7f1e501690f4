#pragma once

#include "savingcommand.h"

// "case": rewrites the text fields of the songs in title, upper or lower case by the
// capitalization tool; --keep-capitals acts as the alternate key held (title case then keeps
// capitals typed inside words).
class CaseCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("case"); }
    const char *summaryKey() const override { return "CliSummaryCase"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

protected:
    CommandOutcome apply(CommandContext &context) override;

private:
    QString m_modeKey; // null for the stored mode
    bool m_keepCapitals = false;
};
