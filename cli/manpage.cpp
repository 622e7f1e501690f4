#include "manpage.h"

#include "command.h"
#include "usage.h"

#include "model/localized.h"
#include "quorlversion.h"

namespace ManPage {

namespace {

// Text as roff shows it: backslashes escaped, characters beyond ASCII by their code points (the
// page does not depend on the reader's locale), and no line that starts like a request.
QString escaped(const QString &text)
{
    QString result;
    for (const char32_t c : text.toUcs4()) {
        if (c == U'\\')
            result += QLatin1String("\\e");
        else if (c > 0x7e)
            result += QStringLiteral("\\[u%1]").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'));
        else
            result += QChar(c);
    }
    if (result.startsWith(QLatin1Char('.')) || result.startsWith(QLatin1Char('\'')))
        result.prepend(QLatin1String("\\&"));
    return result;
}

// Words that are typed as they stand: their hyphens are minus signs, not typographic ones.
QString typed(const QString &word)
{
    return escaped(word).replace(QLatin1Char('-'), QLatin1String("\\-"));
}

QString heading(const char *key)
{
    return QStringLiteral(".SH \"%1\"\n").arg(escaped(Localized::text(key)));
}

QString optionItems(const QList<OptionDefinition> &options)
{
    QString text;
    for (const OptionDefinition &option : options) {
        QStringList names;
        if (!option.shortName.isNull())
            names.append(QStringLiteral("\\fB%1\\fR").arg(typed(QStringLiteral("-") + option.shortName)));
        if (!option.longName.isEmpty())
            names.append(QStringLiteral("\\fB%1\\fR").arg(typed(QStringLiteral("--") + option.longName)));
        QString item = names.join(QStringLiteral(", "));
        if (!option.valueName.isEmpty())
            item += QStringLiteral(" \\fI%1\\fR").arg(escaped(option.valueName));
        text += QStringLiteral(".TP\n%1\n%2\n").arg(item, escaped(Localized::text(option.helpKey)));
        if (!option.choices.isEmpty()) {
            // The settings are offered as "KEY=" to the shell; the page names the keys.
            QStringList choices;
            for (QString choice : option.choices) {
                if (choice.endsWith(QLatin1Char('=')))
                    choice.chop(1);
                choices.append(typed(choice));
            }
            // Typed as they stand: neither hyphenated nor spread to the margin.
            text += QStringLiteral(".br\n.nh\n.ad l\n(%1)\n.ad\n.hy\n").arg(choices.join(QStringLiteral(", ")));
        }
    }
    return text;
}

} // namespace

QString roff(const std::vector<std::unique_ptr<Command>> &commands)
{
    QString text = QStringLiteral(".TH QUORL\\-CLI 1 \"\" \"quorl\\-cli %1\" \"%2\"\n")
                       .arg(escaped(QStringLiteral(QUORL_VERSION)), escaped(Localized::text("CliManManual")));
    text += heading("CliManNameHeading");
    text += QStringLiteral("quorl\\-cli \\- %1\n").arg(escaped(Localized::text("CliManName")));
    text += heading("CliManSynopsisHeading");
    text += QStringLiteral(".B quorl\\-cli\n[\\fIGLOBAL OPTIONS\\fR] \\fICOMMAND\\fR [\\fIOPTIONS\\fR] [\\fIPATH\\fR...]\n");
    text += heading("CliManDescriptionHeading");
    text += escaped(Localized::text("CliManDescription")) + QLatin1Char('\n');
    text += heading("CliManOptionsHeading");
    text += optionItems(globalOptionDefinitions());
    text += heading("CliManCommandsHeading");
    for (const auto &command : commands) {
        text += QStringLiteral(".SS \"\\fB%1\\fR \\fI%2\\fR\"\n")
                    .arg(typed(command->name()), escaped(command->synopsis()));
        text += escaped(Localized::text(command->summaryKey())) + QLatin1Char('\n');
        text += optionItems(command->options());
    }
    text += heading("CliManExitHeading");
    for (const auto &[code, key] : Usage::exitStatuses())
        text += QStringLiteral(".TP\n.B %1\n%2\n").arg(int(code)).arg(escaped(Localized::text(key)));
    text += heading("CliManFilesHeading");
    text += QStringLiteral(".TP\n.I $XDG_CONFIG_HOME/quorl/quorl.ini\n%1\n").arg(escaped(Localized::text("CliManSettingsFile")));
    return text;
}

} // namespace ManPage
