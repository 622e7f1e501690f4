#pragma once

#include "options.h"

#include "model/result.h"
#include "tools/pattern.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The choices a tool command makes for its run only, as the tool panel's select commands would
// make them but through setting overrides, so that nothing is stored.
namespace ToolSelection {

// One value an option accepts and the setting it stands for.
struct Choice {
    QString name;
    QString key;
};

// The names of the choices, in order.
QStringList names(const QList<Choice> &choices);
// The key for the option's value among the choices; a usage error for any other value.
Result<QString> choose(const QList<Choice> &choices, const QString &option, const QString &value);
// Turns the key on and every other key of the group off, for this run.
void selectForRun(const QStringList &group, const QString &key);

// The --scheme and --pattern options of the pattern tools. A pattern implies the custom scheme
// and is used in place of the stored custom pattern.
class SchemeOptions {
public:
    SchemeOptions(QList<Choice> schemes, QStringList group, QString customKey, QString customPatternKey);

    // For the tools that use the custom pattern when no scheme of the group is on.
    void setCustomWhenNoneSelected(bool custom) { m_customWhenNoneSelected = custom; }

    // Usage errors: an unknown scheme, a pattern that does not parse, a pattern with another
    // scheme than custom, and an empty pattern in effect (given, or the stored one of the custom
    // scheme): it would empty every field it writes or name nothing. The settings of the run
    // (-D) must be in place.
    Result<void> parse(const ParsedOptions &options);
    // Makes the choices for this run; nothing when neither option was given.
    void selectForRun() const;

    const std::optional<Pattern> &pattern() const { return m_pattern; }
    // The scheme the tool will use: the chosen one, else the first of the group that is on.
    QString effectiveKey() const;

    // --scheme with the names of the schemes.
    OptionDefinition schemeText(const char *helpKey) const;
    static OptionDefinition patternText();

private:
    bool usesCustom() const;

    QList<Choice> m_schemes;
    QStringList m_group;
    QString m_customKey;
    QString m_customPatternKey;
    QString m_chosenKey;
    std::optional<Pattern> m_pattern;
    bool m_customWhenNoneSelected = false;
};

} // namespace ToolSelection
