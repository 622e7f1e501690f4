#include "editor/transformers.h"

#include "model/noneindex.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "model/variantnumber.h"

#include <QRegularExpression>
#include <QSequentialIterable>
#include <QSet>

#include <algorithm>

#include <limits>

namespace {

// Texts and byte arrays are containers to QVariant, but never lists to these rules.
bool holdsList(const QVariant &value)
{
    if (!value.isValid())
        return false;
    const int type = value.typeId();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return false;
    return value.canConvert<QSequentialIterable>();
}

std::optional<qsizetype> listSize(const QVariant &value)
{
    if (!holdsList(value))
        return std::nullopt;
    return value.value<QSequentialIterable>().size();
}

// The value of the text's leading decimal integer after blanks and an optional sign; 0 without
// one. Values beyond the 64-bit range are clamped.
qint64 leadingInteger(const QString &text)
{
    static const QRegularExpression leading(QStringLiteral("\\A\\s*([+-]?)([0-9]+)"));
    const QRegularExpressionMatch match = leading.match(text);
    if (!match.hasMatch())
        return 0;
    const bool negative = match.captured(1) == u"-";
    bool ok = false;
    const qint64 value = (match.captured(1) + match.captured(2)).toLongLong(&ok);
    if (ok)
        return value;
    return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

} // namespace

QVariantList valuesForKey(const QList<Song *> &songs, QStringView key)
{
    QVariantList values;
    values.reserve(songs.size());
    for (const Song *song : songs)
        values.append(song->valueForKey(key));
    return values;
}

std::optional<QStringList> Array2SetAsArrayTransformer::transformedValue(const QVariant &values) const
{
    if (!holdsList(values))
        return std::nullopt;
    QStringList choices;
    QSet<QString> seen;
    for (const QVariant &value : values.value<QSequentialIterable>()) {
        const QString text = value.toString();
        if (text.isEmpty() || text == u"0" || seen.contains(text))
            continue;
        seen.insert(text);
        choices.append(text);
    }
    return postTransform(choices);
}

QStringList Genre2ArrayTransformer::genreHistory()
{
    return UserDefaults::shared().stringArrayForKey(QStringLiteral("GENRE_HISTORY"));
}

QStringList Genre2ArrayTransformer::postTransform(const QStringList &choices) const
{
    QStringList result = choices;
    for (const QString &genre : genreHistory()) {
        if (!result.contains(genre))
            result.append(genre);
    }
    return result;
}

QStringList Disc2ArrayTransformer::postTransform(const QStringList &choices) const
{
    QStringList result = choices;
    if (!choices.contains(QStringLiteral("1")))
        result.append(QStringLiteral("1"));
    if (!choices.contains(QStringLiteral("1/1")))
        result.append(QStringLiteral("1/1"));
    return result;
}

QString Number2StringTransformer::transformedValue(const QVariant &number)
{
    if (!number.isValid() || number.isNull())
        return QStringLiteral("");
    if (VariantNumber::isNumber(number) && number.toDouble() == 0)
        return QStringLiteral("");
    return number.toString();
}

QVariant Number2StringTransformer::reverseTransformedValue(const QString &text)
{
    if (text.isNull())
        return QVariant();
    return QVariant(leadingInteger(text));
}

QString Number2LengthTransformer::transformValue(const QVariant &seconds)
{
    // Fractions of a second are cut off (QVariant would round them). Lengths are never
    // negative; a negative number shows as no length.
    qint64 total = 0;
    if (seconds.typeId() == QMetaType::Double || seconds.typeId() == QMetaType::Float)
        total = qint64(seconds.toDouble());
    else if (VariantNumber::isNumber(seconds))
        total = seconds.toLongLong();
    if (total <= 0)
        return QStringLiteral("0:00");
    const qint64 hours = total / 3600;
    const qint64 minutes = total % 3600 / 60;
    const qint64 rest = total % 60;
    if (hours == 0)
        return QStringLiteral("%1:%2").arg(minutes).arg(rest, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(rest, 2, 10, QLatin1Char('0'));
}

bool Songs2IsDirtyTransformer::transformedValue(const QList<bool> &isModified)
{
    return isModified.contains(true);
}

bool Songs2IsDirtyTransformer::transformedValue(const QList<Song *> &songs)
{
    return std::any_of(songs.cbegin(), songs.cend(), [](const Song *song) { return song->isModified(); });
}

TextColor Song2TextColorTransformer::transformedValue(const Song *song)
{
    if (!song)
        return TextColor::Normal;
    if (!song->isRenamable())
        return TextColor::Disabled;
    return song->isFileNameSane() ? TextColor::Normal : TextColor::Red;
}

bool Array2IsNonEmptyTransformer::transformedValue(const QVariant &list)
{
    return listSize(list).value_or(0) > 0;
}

bool Array2IsMultipleTransformer::transformedValue(const QVariant &list)
{
    return listSize(list).value_or(0) > 1;
}

bool SelectionIndex2IsValidTransformer::transformedValue(qint64 selectionIndex)
{
    return selectionIndex != NoneIndex;
}

bool String2IsEmptyTransformer::transformedValue(const QString &text)
{
    return !text.isEmpty();
}

QString AttributedString2StringTransformer::reverseTransformedValue(const QString &plainText)
{
    return plainText.isNull() ? QStringLiteral("") : plainText;
}

std::optional<QList<Image>> ImagesOfSongs2ArrayTransformer::transformedValue(
    const std::optional<QList<QList<Image>>> &imageLists)
{
    if (!imageLists)
        return std::nullopt;
    QList<Image> pictures;
    QSet<QByteArray> seen;
    for (const QList<Image> &images : *imageLists) {
        for (const Image &image : images) {
            if (seen.contains(image.hash()))
                continue;
            seen.insert(image.hash());
            pictures.append(image);
        }
    }
    return pictures;
}

std::optional<QList<Image>> ImagesOfSongs2ArrayTransformer::transformedValue(const QList<Song *> &songs)
{
    if (songs.isEmpty())
        return std::nullopt;
    QList<QList<Image>> imageLists;
    imageLists.reserve(songs.size());
    for (const Song *song : songs)
        imageLists.append(song->images());
    return transformedValue(imageLists);
}
