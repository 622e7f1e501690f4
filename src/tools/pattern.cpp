#include "tools/pattern.h"

#include "model/userdefaults.h"

#include <QVariantHash>
#include <QVariantMap>

QVariant PatternElement::toVariant() const
{
    if (!m_isToken)
        return m_text;
    return QVariantMap{{QString::fromLatin1(PatternUtil::TokenFieldKey), m_text}};
}

std::optional<PatternElement> PatternElement::fromVariant(const QVariant &value)
{
    const QString key = QString::fromLatin1(PatternUtil::TokenFieldKey);
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
        return token(value.toMap().value(key).toString());
    case QMetaType::QVariantHash:
        return token(value.toHash().value(key).toString());
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return std::nullopt;
    default:
        break;
    }
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return literal(value.toString());
}

namespace PatternUtil {

QVariantList toStoredForm(const Pattern &pattern)
{
    QVariantList stored;
    stored.reserve(pattern.size());
    for (const PatternElement &element : pattern)
        stored.append(element.toVariant());
    return stored;
}

Pattern fromStoredForm(const QVariantList &stored)
{
    Pattern pattern;
    pattern.reserve(stored.size());
    for (const QVariant &value : stored) {
        if (const std::optional<PatternElement> element = PatternElement::fromVariant(value))
            pattern.append(*element);
    }
    return pattern;
}

Pattern storedPattern(const QString &key)
{
    return fromStoredForm(UserDefaults::shared().arrayForKey(key));
}

void storePattern(const Pattern &pattern, const QString &key)
{
    UserDefaults::shared().setObject(toStoredForm(pattern), key);
}

bool hasNeighbouringTokens(const Pattern &pattern)
{
    for (qsizetype i = 1; i < pattern.size(); ++i) {
        if (pattern[i - 1].isToken() && pattern[i].isToken())
            return true;
    }
    return false;
}

qsizetype width(const Pattern &pattern)
{
    qsizetype total = 0;
    for (const PatternElement &element : pattern)
        total += element.width();
    return total;
}

} // namespace PatternUtil
