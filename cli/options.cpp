#include "options.h"

#include "editor/settingsregistry.h"
#include "model/localized.h"

namespace {

Error usageError(const char *key, const QString &argument)
{
    return Error{ErrorCode::InvalidArgument, Localized::text(key).arg(argument)};
}

const OptionSpec *findLong(const QList<OptionSpec> &specs, const QString &name)
{
    for (const OptionSpec &spec : specs)
        if (!spec.longName.isEmpty() && spec.longName == name)
            return &spec;
    return nullptr;
}

const OptionSpec *findShort(const QList<OptionSpec> &specs, QChar name)
{
    for (const OptionSpec &spec : specs)
        if (!spec.shortName.isNull() && spec.shortName == name)
            return &spec;
    return nullptr;
}

QString displayName(const OptionSpec &spec)
{
    return spec.longName.isEmpty() ? QStringLiteral("-") + spec.shortName
                                   : QStringLiteral("--") + spec.longName;
}

QString keyName(const OptionSpec &spec)
{
    return spec.longName.isEmpty() ? QString(spec.shortName) : spec.longName;
}

// Walks the words once; knows which specs apply before and after the command name.
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
        m_commandSpecs = m_lookup(argument.text);
        if (!m_commandSpecs)
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
        const OptionSpec *spec = find(globalOptionSpecs(), name, isLong);
        if (!spec && m_commandSpecs) {
            spec = find(*m_commandSpecs, name, isLong);
            isGlobal = false;
        }
        if (!spec)
            return usageError("CliUnknownOptionX", isLong ? word.section(u'=', 0, 0) : word.left(2));

        QString value;
        if (spec->valueName.isEmpty()) {
            if (hasInlineValue)
                return usageError(isLong ? "CliOptionTakesNoValueX" : "CliUnknownOptionX",
                                  isLong ? displayName(*spec) : word);
        } else if (hasInlineValue) {
            value = inlineValue;
        } else if (m_index + 1 < m_arguments.size()) {
            value = m_arguments.at(++m_index).text;
        } else {
            return usageError("CliMissingValueX", displayName(*spec));
        }
        return isGlobal ? applyGlobal(*spec, value) : addCommandOption(*spec, value);
    }

    static const OptionSpec *find(const QList<OptionSpec> &specs, const QString &name, bool isLong)
    {
        return isLong ? findLong(specs, name) : findShort(specs, name.at(0));
    }

    Result<void> addCommandOption(const OptionSpec &spec, const QString &value)
    {
        m_line.commandOptions.add(keyName(spec), value);
        return {};
    }

    Result<void> applyGlobal(const OptionSpec &spec, const QString &value)
    {
        GlobalOptions &global = m_line.global;
        const QString key = keyName(spec);
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
        } else if (key == u"help") {
            global.help = true;
        } else if (key == u"version") {
            global.version = true;
        }
        return {};
    }

    const QList<Argument> &m_arguments;
    const CommandOptionsLookup &m_lookup;
    const QList<OptionSpec> *m_commandSpecs = nullptr;
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

const QList<OptionSpec> &globalOptionSpecs()
{
    static const QList<OptionSpec> specs = {
        {QString(), QLatin1Char('D'), QStringLiteral("KEY=VALUE"), "CliHelpOptionSetting"},
        {QStringLiteral("json"), QChar(), QString(), "CliHelpOptionJson"},
        {QStringLiteral("dry-run"), QChar(), QString(), "CliHelpOptionDryRun"},
        {QStringLiteral("force"), QChar(), QString(), "CliHelpOptionForce"},
        {QStringLiteral("yes"), QChar(), QString(), "CliHelpOptionYes"},
        {QStringLiteral("help"), QLatin1Char('h'), QString(), "CliHelpOptionHelp"},
        {QStringLiteral("version"), QChar(), QString(), "CliHelpOptionVersion"},
    };
    return specs;
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
    return QPair<QString, QVariant>(key, *value);
}
