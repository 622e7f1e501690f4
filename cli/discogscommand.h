#pragma once

#include "savingcommand.h"

#include <QList>
#include <QString>

#include <memory>

#include "lookup/browsercontroller.h"
class TerminalUserInterface;

// "discogs apply": searches, then copies the chosen release into the songs and saves.
class DiscogsApplyCommand : public SavingCommand {
public:
    QString name() const override { return QStringLiteral("discogs"); }
    const char *summaryKey() const override { return "CliSummaryDiscogs"; }
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;

    QString text;
    int releaseNumber = 0;
    int coverNumber = 0;
    QList<int> uncheckedRows;

protected:
    ExitCode prepare(CommandContext &context) override;
    CommandOutcome apply(CommandContext &context) override;

private:
    std::unique_ptr<BrowserController> m_browser;
};

// "discogs search TEXT" prints the releases found; "discogs apply TEXT PATHS..." applies one.
class DiscogsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("discogs"); }
    const char *summaryKey() const override { return "CliSummaryDiscogs"; }
    QString synopsis() const override;
    const QList<OptionDefinition> &options() const override;
    QStringList subcommands() const override { return {QStringLiteral("search"), QStringLiteral("apply")}; }
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;
    bool loadsSongs() const override { return m_apply; }
    ExitCode run(CommandContext &context) override;

    // Runs a search to its end on this thread's event loop; Success, or Failures after printing
    // why (a failed lookup, missing credentials, a search stopped with Ctrl-C). The browser must
    // show its progress on ui.
    static ExitCode search(BrowserController &browser, TerminalUserInterface &ui, const QString &text);

private:
    bool m_apply = false;
    QString m_text;
    DiscogsApplyCommand m_applyCommand;
};
