#pragma once

#include "command.h"

#include "tools/pattern.h"

#include <QStringList>

#include <optional>

class Song;

// "read": prints the loaded songs, as text, as one line per song from a pattern (--format), or
// (with --json, or --fields to keep some of its keys) as the JSON array scripts read.
class ReadCommand : public Command {
public:
    QString name() const override { return QStringLiteral("read"); }
    const char *summaryKey() const override { return "CliSummaryRead"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;
    ExitCode run(CommandContext &context) override;

    // The text form of one song: its path, then one line per field that has a value; control
    // characters are escaped.
    static QString describe(const Song &song);

private:
    std::optional<Pattern> m_format;
    QStringList m_fields;
};
