#include "tools/tagfieldrules.h"

#include "tools/tokenutil.h"

namespace {

void appendJoined(Pattern *pattern, const PatternElement &element)
{
    if (element.isLiteral() && element.text().isEmpty())
        return;
    if (element.isLiteral() && !pattern->isEmpty() && pattern->last().isLiteral()) {
        pattern->last() = PatternElement::literal(pattern->last().text() + element.text());
        return;
    }
    pattern->append(element);
}

} // namespace

namespace TagFieldRules {

Insertion addToken(const Pattern &pattern, qsizetype caret, uint tag)
{
    return insertToken(pattern, caret, TokenUtil::tokenWithTag(tag));
}

Insertion addToken(const Pattern &pattern, qsizetype selectionStart, qsizetype selectionLength, uint tag)
{
    const PatternElement token = TokenUtil::tokenWithTag(tag);
    return insertToken(removeRange(pattern, selectionStart, selectionLength), selectionStart, token);
}

Insertion insertToken(const Pattern &pattern, qsizetype caret, const PatternElement &token)
{
    Pattern working = pattern;
    qsizetype pos = 0;
    for (qsizetype i = 0; i < working.size(); ++i) {
        if (pos == caret) {
            working.insert(i, token);
            return {working, caret + 1};
        }
        const PatternElement element = working[i];
        const qsizetype width = element.width();
        if (element.isLiteral() && pos < caret && caret < pos + width) {
            const qsizetype head = caret - pos;
            working[i] = PatternElement::literal(element.text().first(head));
            working.insert(i + 1, PatternElement::literal(element.text().sliced(head)));
            working.insert(i + 1, token);
            return {working, caret + 1};
        }
        pos += width;
    }
    working.append(token);
    return {working, PatternUtil::width(working)};
}

Pattern removeRange(const Pattern &pattern, qsizetype start, qsizetype length)
{
    if (length <= 0)
        return pattern;
    const qsizetype end = start + length;
    Pattern result;
    qsizetype pos = 0;
    for (const PatternElement &element : pattern) {
        const qsizetype width = element.width();
        const qsizetype from = qBound(qsizetype(0), start - pos, width);
        const qsizetype to = qBound(qsizetype(0), end - pos, width);
        pos += width;
        if (from >= to) {
            appendJoined(&result, element);
        } else if (element.isLiteral()) {
            QString text = element.text();
            text.remove(from, to - from);
            appendJoined(&result, PatternElement::literal(text));
        }
    }
    return result;
}

QString displayText(const PatternElement &element)
{
    return element.isToken() ? TokenUtil::localizedTokenString(element.text()) : element.text();
}

bool isDrawnAsToken(const PatternElement &element)
{
    return element.isToken();
}

PatternElement elementForTypedText(const QString &text)
{
    if (TokenUtil::isTokenString(text))
        return PatternElement::token(text);
    return PatternElement::literal(text);
}

std::optional<QString> editableText(const PatternElement &element)
{
    if (element.isToken())
        return std::nullopt;
    return element.text();
}

} // namespace TagFieldRules
