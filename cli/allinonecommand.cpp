#include "allinonecommand.h"

#include "numbercommand.h"

#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

const QList<OptionDefinition> &AllInOneCommand::options() const
{
    static const QList<OptionDefinition> definitions = {NumberCommand::discStartsText()};
    return definitions;
}

Result<void> AllInOneCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    Result<std::optional<QList<int>>> starts = NumberCommand::parseDiscStarts(options);
    if (!starts)
        return starts.error();
    m_discStarts = starts.value();
    return {};
}

ExitCode AllInOneCommand::prepare(CommandContext &context)
{
    if (!m_discStarts)
        return ExitCode::Success;
    const std::optional<QList<int>> segments = NumberCommand::segmentStarts(*m_discStarts, context);
    if (!segments)
        return ExitCode::Usage;
    m_segments = *segments;
    return ExitCode::Success;
}

CommandOutcome AllInOneCommand::apply(CommandContext &context)
{
    NumberingController numbering(context.editor);
    CapitalizationController capitalization(context.editor);
    NamingController naming(*context.editor);
    AllInOneController allInOne(&numbering, &capitalization, &naming);
    const BatchReport report = m_discStarts ? allInOne.doAllInOneHonoringDiscNumbers(m_segments)
                                            : allInOne.doAllInOne();
    return CommandOutcome::of(report);
}
