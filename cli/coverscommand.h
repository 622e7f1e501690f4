#pragma once

#include "command.h"

// "covers": lists the pictures of each song; with --extract DIR writes each distinct picture
// once as DIR/<md5>.jpg, .png or .bin.
class CoversCommand : public Command {
public:
    QString name() const override { return QStringLiteral("covers"); }
    const char *summaryKey() const override { return "CliSummaryCovers"; }
    const QList<OptionDefinition> &options() const override;
    Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) override;
    ExitCode run(CommandContext &context) override;

private:
    QString m_extractFolder;
};
