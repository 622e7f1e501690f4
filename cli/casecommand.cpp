#include "casecommand.h"

#include "toolselection.h"

#include "tools/capitalizationcontroller.h"

namespace {

const QString ModeOption = QStringLiteral("mode");
const QString KeepCapitalsOption = QStringLiteral("keep-capitals");

const QList<ToolSelection::Choice> &modes()
{
    static const QList<ToolSelection::Choice> choices = {
        {QStringLiteral("title"), QStringLiteral("CAPITALIZATION_TITLE_CASE")},
        {QStringLiteral("upper"), QStringLiteral("CAPITALIZATION_UPPER_CASE")},
        {QStringLiteral("lower"), QStringLiteral("CAPITALIZATION_LOWER_CASE")},
    };
    return choices;
}

} // namespace

const QList<OptionDefinition> &CaseCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        {ModeOption, QChar(), QStringLiteral("MODE"), "CliHelpOptionMode", ToolSelection::names(modes())},
        {KeepCapitalsOption, QChar(), QString(), "CliHelpOptionKeepCapitals"},
    };
    return definitions;
}

Result<void> CaseCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    m_keepCapitals = options.has(KeepCapitalsOption);
    if (!options.has(ModeOption))
        return {};
    Result<QString> key = ToolSelection::choose(modes(), ModeOption, options.value(ModeOption));
    if (!key)
        return key.error();
    m_modeKey = key.value();
    return {};
}

CommandOutcome CaseCommand::apply(CommandContext &context)
{
    if (!m_modeKey.isNull()) {
        QStringList group;
        for (const ToolSelection::Choice &mode : modes())
            group.append(mode.key);
        ToolSelection::selectForRun(group, m_modeKey);
    }
    CapitalizationController capitalization(context.editor);
    const bool keepCapitals = m_keepCapitals;
    capitalization.setAlternateKeyQuery([keepCapitals] { return keepCapitals; });
    capitalization.applyCapitalizationToSongs();
    // Capitalization never fails.
    return {};
}
