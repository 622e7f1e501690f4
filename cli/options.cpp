#include "options.h"

#include "settingchoices.h"
#include "sortoption.h"

#include "editor/settingsregistry.h"
#include "model/localized.h"

namespace {

Error usageError(const char *key, const QString &argument)
{
    return Error{ErrorCode::InvalidArgument, Localized::text(key).arg(argument)};
}

const OptionDefinition *findLong(const QList<OptionDefinition> &definitions, const QString &name)
{
    for (const OptionDefinition &definition : definitions)
        if (!definition.longName.isEmpty() && definition.longName == name)
            return &definition;
    return nullptr;
}

const OptionDefinition *findShort(const QList<OptionDefinition> &definitions, QChar name)
{
    for (const OptionDefinition &definition : definitions)
        if (!definition.shortName.isNull() && definition.shortName == name)
            return &definition;
    return nullptr;
}

// "KEY=" for every setting, as -D takes them.
QStringList settingAssignments()
{
    QStringList assignments;
    for (const SettingsRegistry::Entry &entry : SettingsRegistry::entries())
        assignments.append(entry.key + QLatin1Char('='));
    return assignments;
}

QString displayName(const OptionDefinition &definition)
{
    return definition.longName.isEmpty() ? QStringLiteral("-") + definition.shortName
                                   : QStringLiteral("--") + definition.longName;
}

QString keyName(const OptionDefinition &definition)
{
    return definition.longName.isEmpty() ? QString(definition.shortName) : definition.longName;
}

// Walks the words once; knows which definitions apply before and after the command name.
class Parser {
public:
    Parser(const QList<Argument> &arguments, const CommandOptionsLookup &lookup)
        : m_arguments(arguments), m_lookup(lookup)
    {
    }

    Result<CommandLine> parse()
    {
        bool optionsEnded = false;
        for (m_index = 0; m_index < m_arguments.size(); ++m_index) {
            const Argument &argument = m_arguments.at(m_index);
            const QString &word = argument.text;
            if (!optionsEnded && word == u"--") {
                optionsEnded = true;
                continue;
            }
            const bool isOption = !optionsEnded && word.size() > 1 && word.startsWith(u'-');
            Result<void> step = isOption ? option(word) : operand(argument);
            if (!step)
                return step.error();
        }
        if (m_line.commandName.isEmpty() && !m_line.global.help && !m_line.global.version)
            return Error{ErrorCode::InvalidArgument, Localized::text("CliMissingCommand")};
        return m_line;
    }

private:
    Result<void> operand(const Argument &argument)
    {
        if (!m_line.commandName.isEmpty()) {
            m_line.operands.append(argument);
            return {};
        }
        m_commandDefinitions = m_lookup(argument.text);
        if (!m_commandDefinitions)
            return usageError("CliUnknownCommandX", argument.text);
        m_line.commandName = argument.text;
        return {};
    }

    Result<void> option(const QString &word)
    {
        const bool isLong = word.startsWith(u"--");
        QString name;
        QString inlineValue;
        bool hasInlineValue = false;
        if (isLong) {
            name = word.mid(2);
            const qsizetype equals = name.indexOf(u'=');
            if (equals >= 0) {
                inlineValue = name.mid(equals + 1);
                name.truncate(equals);
                hasInlineValue = true;
            }
        } else {
            name = word.mid(1, 1);
            if (word.size() > 2) {
                inlineValue = word.mid(2);
                hasInlineValue = true;
            }
        }

        bool isGlobal = true;
        const OptionDefinition *definition = find(globalOptionDefinitions(), name, isLong);
        if (!definition && m_commandDefinitions) {
            definition = find(*m_commandDefinitions, name, isLong);
            isGlobal = false;
        }
        if (!definition)
            return usageError("CliUnknownOptionX", isLong ? word.section(u'=', 0, 0) : word.left(2));

        QString value;
        if (definition->valueName.isEmpty()) {
            if (hasInlineValue)
                return usageError(isLong ? "CliOptionTakesNoValueX" : "CliUnknownOptionX",
                                  isLong ? displayName(*definition) : word);
        } else if (hasInlineValue) {
            value = inlineValue;
        } else if (m_index + 1 < m_arguments.size()) {
            value = m_arguments.at(++m_index).text;
        } else {
            return usageError("CliMissingValueX", displayName(*definition));
        }
        return isGlobal ? applyGlobal(*definition, value) : addCommandOption(*definition, value);
    }

    static const OptionDefinition *find(const QList<OptionDefinition> &definitions, const QString &name, bool isLong)
    {
        return isLong ? findLong(definitions, name) : findShort(definitions, name.at(0));
    }

    Result<void> addCommandOption(const OptionDefinition &definition, const QString &value)
    {
        m_line.commandOptions.add(keyName(definition), value);
        return {};
    }

    Result<void> applyGlobal(const OptionDefinition &definition, const QString &value)
    {
        GlobalOptions &global = m_line.global;
        const QString key = keyName(definition);
        if (key == u"D") {
            Result<QPair<QString, QVariant>> setting = parseSettingOverride(value);
            if (!setting)
                return setting.error();
            global.settingOverrides.append(setting.value());
        } else if (key == u"json") {
            global.json = true;
        } else if (key == u"dry-run") {
            global.dryRun = true;
        } else if (key == u"force") {
            global.force = true;
        } else if (key == u"yes") {
            global.yes = true;
        } else if (key == u"quiet") {
            global.quiet = true;
        } else if (key == u"sort") {
            Result<QList<SortDescriptor>> order = SortOption::parse(value);
            if (!order)
                return order.error();
            global.sortOrder = order.value();
        } else if (key == u"help") {
            global.help = true;
        } else if (key == u"version") {
            global.version = true;
        }
        return {};
    }

    const QList<Argument> &m_arguments;
    const CommandOptionsLookup &m_lookup;
    const QList<OptionDefinition> *m_commandDefinitions = nullptr;
    qsizetype m_index = 0;
    CommandLine m_line;
};

} // namespace

bool ParsedOptions::has(const QString &name) const
{
    for (const auto &entry : m_entries)
        if (entry.first == name)
            return true;
    return false;
}

QString ParsedOptions::value(const QString &name) const
{
    QString result;
    for (const auto &entry : m_entries)
        if (entry.first == name)
            result = entry.second;
    return result;
}

QStringList ParsedOptions::values(const QString &name) const
{
    QStringList result;
    for (const auto &entry : m_entries)
        if (entry.first == name)
            result.append(entry.second);
    return result;
}

const QList<OptionDefinition> &globalOptionDefinitions()
{
    static const QList<OptionDefinition> definitions = {
        {QString(), QLatin1Char('D'), QStringLiteral("KEY=VALUE"), "CliHelpOptionSetting", settingAssignments()},
        {QStringLiteral("json"), QChar(), QString(), "CliHelpOptionJson"},
        {QStringLiteral("dry-run"), QChar(), QString(), "CliHelpOptionDryRun"},
        {QStringLiteral("force"), QChar(), QString(), "CliHelpOptionForce"},
        {QStringLiteral("yes"), QChar(), QString(), "CliHelpOptionYes"},
        {QStringLiteral("quiet"), QChar(), QString(), "CliHelpOptionQuiet"},
        {QStringLiteral("sort"), QChar(), QStringLiteral("KEY,..."), "CliHelpOptionSort", SortOption::keys()},
        {QStringLiteral("help"), QLatin1Char('h'), QString(), "CliHelpOptionHelp"},
        {QStringLiteral("version"), QChar(), QString(), "CliHelpOptionVersion"},
    };
    return definitions;
}

Result<CommandLine> parseCommandLine(const QList<Argument> &arguments,
                                     const CommandOptionsLookup &commandOptions)
{
    return Parser(arguments, commandOptions).parse();
}

Result<QPair<QString, QVariant>> parseSettingOverride(const QString &assignment)
{
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals <= 0)
        return usageError("CliSettingNeedsValueX", assignment);
    const QString key = assignment.left(equals);
    const QString text = assignment.mid(equals + 1);
    if (!SettingsRegistry::isKnownKey(key))
        return usageError("CliUnknownSettingX", key);
    const std::optional<QVariant> value = SettingsRegistry::parseValue(key, text);
    if (!value)
        return Error{ErrorCode::InvalidArgument,
                     Localized::text("CliBadSettingValueXY").arg(text, key)};
    if (Result<void> allowed = SettingChoices::check(key, *value); !allowed)
        return allowed.error();
    return QPair<QString, QVariant>(key, *value);
}
