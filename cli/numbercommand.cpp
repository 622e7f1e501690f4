#include "numbercommand.h"

#include "console.h"
#include "discstarts.h"

#include "editor/editorcontroller.h"
#include "tools/numberingcontroller.h"

const QList<OptionDefinition> &NumberCommand::options() const
{
    static const QList<OptionDefinition> definitions = {discStartsText()};
    return definitions;
}

OptionDefinition NumberCommand::discStartsText()
{
    return {QLatin1String(DiscStarts::OptionName), QChar(), QStringLiteral("N,N,..."), "CliHelpOptionDiscStarts"};
}

Result<std::optional<QList<int>>> NumberCommand::parseDiscStarts(const ParsedOptions &options)
{
    const QString option = QLatin1String(DiscStarts::OptionName);
    if (!options.has(option))
        return std::optional<QList<int>>();
    Result<QList<int>> starts = DiscStarts::parse(options.value(option));
    if (!starts)
        return starts.error();
    return std::optional<QList<int>>(starts.value());
}

std::optional<QList<int>> NumberCommand::segmentStarts(const QList<int> &discStarts, const CommandContext &context)
{
    Result<QList<int>> segments = DiscStarts::segmentStarts(discStarts, int(context.editor->songs().size()));
    if (!segments) {
        Console::errLine(QStringLiteral("quorl-cli: ") + segments.error().detail);
        return std::nullopt;
    }
    return segments.value();
}

Result<void> NumberCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    Result<std::optional<QList<int>>> starts = parseDiscStarts(options);
    if (!starts)
        return starts.error();
    m_discStarts = starts.value();
    return {};
}

ExitCode NumberCommand::prepare(CommandContext &context)
{
    if (!m_discStarts)
        return ExitCode::Success;
    const std::optional<QList<int>> segments = segmentStarts(*m_discStarts, context);
    if (!segments)
        return ExitCode::Usage;
    m_segments = *segments;
    return ExitCode::Success;
}

CommandOutcome NumberCommand::apply(CommandContext &context)
{
    NumberingController numbering(context.editor);
    if (m_discStarts)
        numbering.applyNumberingToSongs(m_segments);
    else
        numbering.applyNumberingToSongs();
    // Numbering never fails.
    return {};
}
