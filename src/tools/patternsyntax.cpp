#include "tools/patternsyntax.h"

#include "model/localized.h"
#include "tools/tokenutil.h"

namespace {

constexpr QChar Open = u'{';
constexpr QChar Close = u'}';

bool doubled(const QString &text, qsizetype i, QChar brace)
{
    return i + 1 < text.size() && text[i + 1] == brace;
}

Error syntaxError(const char *key, const QString &argument)
{
    return Error{ErrorCode::InvalidArgument, Localized::text(key).arg(argument)};
}

void flushLiteral(QString *literal, Pattern *pattern)
{
    if (literal->isEmpty())
        return;
    pattern->append(PatternElement::literal(*literal));
    literal->clear();
}

QString escaped(const QString &literal)
{
    QString text = literal;
    text.replace(QStringLiteral("{"), QStringLiteral("{{"));
    text.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return text;
}

} // namespace

namespace PatternSyntax {

Result<Pattern> parse(const QString &text)
{
    Pattern pattern;
    QString literal;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if ((c == Open || c == Close) && doubled(text, i, c)) {
            literal.append(c);
            i += 2;
            continue;
        }
        if (c != Open) {
            literal.append(c);
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf(Close, i + 1);
        if (close < 0)
            return syntaxError("PatternHasUnclosedBraceX", text.mid(i));
        const QString name = text.mid(i + 1, close - i - 1);
        if (!TokenUtil::isTokenString(name))
            return syntaxError("PatternHasUnknownTokenX", name);
        flushLiteral(&literal, &pattern);
        pattern.append(PatternElement::token(name));
        i = close + 1;
    }
    flushLiteral(&literal, &pattern);
    return pattern;
}

QString format(const Pattern &pattern)
{
    QString text;
    for (const PatternElement &element : pattern) {
        if (element.isToken())
            text += Open + element.text() + Close;
        else
            text += escaped(element.text());
    }
    return text;
}

} // namespace PatternSyntax
