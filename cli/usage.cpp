#include "usage.h"

#include "command.h"

#include "model/localized.h"
#include "quorlversion.h"

#include <utility>

namespace Usage {

namespace {

QString optionLines(const QList<OptionDefinition> &definitions)
{
    QString text;
    for (const OptionDefinition &definition : definitions) {
        QStringList names;
        if (!definition.shortName.isNull())
            names.append(QStringLiteral("-") + definition.shortName);
        if (!definition.longName.isEmpty())
            names.append(QStringLiteral("--") + definition.longName);
        QString left = names.join(QStringLiteral(", "));
        if (!definition.valueName.isEmpty())
            left += QLatin1Char(' ') + definition.valueName;
        text += QStringLiteral("  %1  %2\n").arg(left, -24).arg(Localized::text(definition.helpKey));
    }
    return text;
}

} // namespace

const std::vector<std::pair<ExitCode, const char *>> &exitStatuses()
{
    static const std::vector<std::pair<ExitCode, const char *>> statuses = {
        {ExitCode::Success, "CliExitSuccess"},
        {ExitCode::Failures, "CliExitFailures"},
        {ExitCode::Usage, "CliExitUsage"},
        {ExitCode::Interrupted, "CliExitInterrupted"},
        {ExitCode::Terminated, "CliExitTerminated"},
    };
    return statuses;
}

QString general(const std::vector<std::unique_ptr<Command>> &commands)
{
    QString text = Localized::text("CliUsage") + QLatin1Char('\n');
    text += QLatin1Char('\n') + Localized::text("CliGlobalOptions") + QLatin1Char('\n');
    text += optionLines(globalOptionDefinitions());
    text += QLatin1Char('\n') + Localized::text("CliCommands") + QLatin1Char('\n');
    for (const auto &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(command->name(), -12).arg(Localized::text(command->summaryKey()));
    text += QLatin1Char('\n') + Localized::text("CliExitStatus") + QLatin1Char('\n');
    for (const auto &[code, key] : exitStatuses())
        text += QStringLiteral("  %1  %2\n").arg(int(code), -5).arg(Localized::text(key));
    text += QLatin1Char('\n') + Localized::text("CliCommandHelpHint") + QLatin1Char('\n');
    return text;
}

QString forCommand(const Command &command)
{
    QString text = Localized::text("CliCommandUsageXY").arg(command.name(), command.synopsis())
                   + QLatin1Char('\n');
    text += QLatin1Char('\n') + Localized::text(command.summaryKey()) + QLatin1Char('\n');
    if (!command.options().isEmpty())
        text += QLatin1Char('\n') + Localized::text("CliCommandOptions") + QLatin1Char('\n')
                + optionLines(command.options());
    text += QLatin1Char('\n') + Localized::text("CliGlobalOptions") + QLatin1Char('\n');
    text += optionLines(globalOptionDefinitions());
    return text;
}

QString hint()
{
    return Localized::text("CliUsageHint");
}

QString version()
{
    return QStringLiteral("quorl-cli %1\n").arg(QStringLiteral(QUORL_VERSION));
}

} // namespace Usage
