#pragma once

#include "command.h"

class Song;

// "read": prints the loaded songs, as text or (with --json) as the JSON array scripts read.
class ReadCommand : public Command {
public:
    QString name() const override { return QStringLiteral("read"); }
    const char *summaryKey() const override { return "CliSummaryRead"; }
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;
    ExitCode run(CommandContext &context) override;

    // The text form of one song: its path, then one line per field that has a value.
    static QString describe(const Song &song);
};
