#include "toolselection.h"

#include "model/localized.h"
#include "model/userdefaults.h"
#include "tools/patternsyntax.h"
#include "tools/toolpreferences.h"

namespace ToolSelection {

namespace {

const QString SchemeOption = QStringLiteral("scheme");
const QString PatternOption = QStringLiteral("pattern");

} // namespace

QStringList names(const QList<Choice> &choices)
{
    QStringList result;
    for (const Choice &choice : choices)
        result.append(choice.name);
    return result;
}

Result<QString> choose(const QList<Choice> &choices, const QString &option, const QString &value)
{
    for (const Choice &choice : choices) {
        if (value == choice.name)
            return choice.key;
    }
    return Error{ErrorCode::InvalidArgument, Localized::text("CliBadChoiceXYZ")
                                                 .arg(value, QStringLiteral("--") + option,
                                                      names(choices).join(QStringLiteral(", ")))};
}

void selectForRun(const QStringList &group, const QString &key)
{
    UserDefaults &defaults = UserDefaults::shared();
    for (const QString &member : group)
        defaults.setOverride(member, member == key);
}

SchemeOptions::SchemeOptions(QList<Choice> schemes, QStringList group, QString customKey, QString customPatternKey)
    : m_schemes(std::move(schemes))
    , m_group(std::move(group))
    , m_customKey(std::move(customKey))
    , m_customPatternKey(std::move(customPatternKey))
{
}

Result<void> SchemeOptions::parse(const ParsedOptions &options)
{
    if (options.has(SchemeOption)) {
        Result<QString> key = choose(m_schemes, SchemeOption, options.value(SchemeOption));
        if (!key)
            return key.error();
        m_chosenKey = key.value();
    }
    if (options.has(PatternOption)) {
        if (!m_chosenKey.isEmpty() && m_chosenKey != m_customKey)
            return Error{ErrorCode::InvalidArgument, Localized::text("CliPatternNeedsCustomScheme")};
        Result<Pattern> pattern = PatternSyntax::parse(options.value(PatternOption));
        if (!pattern)
            return Error{ErrorCode::InvalidArgument,
                         QStringLiteral("--pattern: ") + pattern.error().detail};
        if (pattern.value().isEmpty())
            return Error{ErrorCode::InvalidArgument, Localized::text("CliEmptyPatternX").arg(QStringLiteral("--pattern"))};
        m_chosenKey = m_customKey;
        m_pattern = pattern.value();
    }
    if (usesCustom() && !m_pattern && PatternUtil::storedPattern(m_customPatternKey).isEmpty())
        return Error{ErrorCode::InvalidArgument, Localized::text("CliNoStoredPatternX").arg(m_customPatternKey)};
    return {};
}

bool SchemeOptions::usesCustom() const
{
    const QString key = effectiveKey();
    return key == m_customKey || (key.isEmpty() && m_customWhenNoneSelected);
}

void SchemeOptions::selectForRun() const
{
    if (!m_chosenKey.isEmpty())
        ToolSelection::selectForRun(m_group, m_chosenKey);
    if (m_pattern)
        UserDefaults::shared().setOverride(m_customPatternKey, PatternUtil::toStoredForm(*m_pattern));
}

QString SchemeOptions::effectiveKey() const
{
    return m_chosenKey.isEmpty() ? ToolPreferences::selectedKey(m_group) : m_chosenKey;
}

OptionDefinition SchemeOptions::schemeText(const char *helpKey) const
{
    return {SchemeOption, QChar(), QStringLiteral("SCHEME"), helpKey, names(m_schemes)};
}

OptionDefinition SchemeOptions::patternText()
{
    return {PatternOption, QChar(), QStringLiteral("PATTERN"), "CliHelpOptionPattern"};
}

} // namespace ToolSelection
