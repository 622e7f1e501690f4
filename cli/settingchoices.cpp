#include "settingchoices.h"

#include "model/localized.h"
#include "tools/compositioncontroller.h"
#include "tools/extractioncontroller.h"
#include "tools/namingcontroller.h"
#include "tools/tokenutil.h"

#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include <algorithm>

namespace SettingChoices {

namespace {

template <typename Choice>
QStringList valuesOf(const QList<Choice> &choices)
{
    QStringList values;
    for (const Choice &choice : choices)
        values.append(choice.value);
    return values;
}

Error outside(const QString &key, const QVariant &value, const QString &allowed)
{
    return Error{ErrorCode::InvalidArgument,
                 Localized::text("CliSettingAllowsXYZ").arg(value.toString(), key, allowed)};
}

// Texts are literals and one-entry records naming a token string are tokens; the tools would
// read anything else as a token without a field.
bool isStoredPattern(const QVariantList &elements)
{
    for (const QVariant &element : elements) {
        if (element.typeId() == QMetaType::QString)
            continue;
        const QVariantMap record = element.toMap();
        const QVariant field = record.value(QLatin1String(PatternUtil::TokenFieldKey));
        if (element.typeId() != QMetaType::QVariantMap || record.size() != 1
            || field.typeId() != QMetaType::QString || !TokenUtil::isTokenString(field.toString()))
            return false;
    }
    return true;
}

bool isTextList(const QVariantList &elements)
{
    return std::all_of(elements.begin(), elements.end(),
                       [](const QVariant &element) { return element.typeId() == QMetaType::QString; });
}

QString listText(const QVariant &value)
{
    QStringList parts;
    for (const QVariant &element : value.toList())
        parts.append(element.toString());
    return parts.join(QStringLiteral(", "));
}

} // namespace

Result<void> check(const QString &key, const QVariant &value)
{
    const auto oneOf = [&](const QStringList &allowed) -> Result<void> {
        if (allowed.contains(value.toString()))
            return {};
        return outside(key, value, allowed.join(QStringLiteral(", ")));
    };
    if (key == ExtractionController::SourceKey)
        return oneOf(valuesOf(ExtractionController::sources()));
    if (key == CompositionController::TargetKey)
        return oneOf(valuesOf(CompositionController::targets()));
    if (key == NamingController::CustomSchemeKey || key == ExtractionController::CustomSchemeKey
        || key == CompositionController::CustomSchemeKey) {
        if (isStoredPattern(value.toList()))
            return {};
        return Error{ErrorCode::InvalidArgument, Localized::text("CliSettingNeedsPatternXY").arg(listText(value), key)};
    }
    if (key == u"GENRE_HISTORY" && !isTextList(value.toList()))
        return outside(key, listText(value), Localized::text("CliAllowedTexts"));
    if (key == u"SCALE_MAX_PIXEL_SIZE" && value.toLongLong() < 1)
        return outside(key, value, Localized::text("CliAllowedPositiveNumber"));
    if (key == u"DISCOGS_API_URL") {
        const QUrl url(value.toString());
        if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"http" && url.scheme() != u"https"))
            return outside(key, value, Localized::text("CliAllowedWebAddress"));
    }
    return {};
}

} // namespace SettingChoices
