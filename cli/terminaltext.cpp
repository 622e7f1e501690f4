#include "terminaltext.h"

#include <QStringList>

#include <algorithm>

namespace TerminalText {

namespace {

bool isControl(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7f && unit <= 0x9f);
}

QString escapeOf(char16_t unit)
{
    switch (unit) {
    case 0x1b: return QStringLiteral("\\e");
    case u'\t': return QStringLiteral("\\t");
    case u'\n': return QStringLiteral("\\n");
    case u'\r': return QStringLiteral("\\r");
    default: return QStringLiteral("\\x%1").arg(uint(unit), 2, 16, QLatin1Char('0'));
    }
}

} // namespace

QString escaped(const QString &text)
{
    // Most texts have nothing to escape.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return isControl(c.unicode()); }))
        return text;
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            result += escapeOf(c.unicode());
        else
            result += c;
    }
    return result;
}

QString escapedLines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = escaped(line);
    return lines.join(QLatin1Char('\n'));
}

} // namespace TerminalText
