#include "lookup/json2releasewalker.h"

#include "lookup/release.h"

#include <QJsonValue>
#include <QRegularExpression>

#include <limits>

namespace {

// Text of a value, empty when it is absent or not text.
QString textOf(const QJsonValue &value)
{
    return value.isString() ? value.toString() : QString();
}

bool hasText(const QJsonObject &object, QLatin1String key)
{
    return object.value(key).isString();
}

QJsonArray arrayOf(const QJsonValue &value)
{
    return value.isArray() ? value.toArray() : QJsonArray();
}

bool isTrackEntry(const QJsonObject &entry)
{
    return textOf(entry.value(QLatin1String("type_")))
               .compare(QLatin1String("track"), Qt::CaseInsensitive)
        == 0;
}

// The value of the leading decimal digits after optional white space and an optional sign; 0
// when there are none. Saturates instead of overflowing.
qint64 integerValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    constexpr qint64 Max = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        const int digit = text.at(i).unicode() - u'0';
        value = value > (Max - digit) / 10 ? Max : value * 10 + digit;
    }
    return negative ? -value : value;
}

bool matchesWhole(const QRegularExpression &pattern, const QString &text)
{
    return pattern.match(text).hasMatch();
}

const QRegularExpression &consistentPosition()
{
    static const QRegularExpression pattern(
        QStringLiteral("\\A(?:(?:[0-9]+(?:-[0-9]+)?|[a-zA-Z][0-9]+))\\z"));
    return pattern;
}

const QRegularExpression &sidePosition()
{
    static const QRegularExpression pattern(QStringLiteral("\\A(?:[a-zA-Z][0-9]+)\\z"));
    return pattern;
}

} // namespace

std::unique_ptr<Release> Json2ReleaseWalker::walkJson(const QJsonObject &document) const
{
    auto release = std::make_unique<Release>();
    release->setAlbum(textOf(document.value(QLatin1String("title"))));
    release->setArtist(removeTrailingDiscogsParentheses(artist(document)));
    const QJsonArray genres = arrayOf(document.value(QLatin1String("genres")));
    if (!genres.isEmpty())
        release->setGenre(textOf(genres.first()));
    release->setYear(document.value(QLatin1String("year")).toInteger(0));

    const QJsonValue tracklist = document.value(QLatin1String("tracklist"));
    if (!tracklist.isArray())
        return nullptr;

    // Headings, index entries and entries without a type give no row.
    QJsonArray tracks;
    for (const QJsonValue &value : tracklist.toArray()) {
        const QJsonObject entry = value.toObject();
        if (hasText(entry, QLatin1String("title")) && isTrackEntry(entry))
            tracks.append(entry);
    }
    const bool inconsistent = areTracksInconsistent(tracks);

    for (qsizetype i = 0; i < tracks.size(); ++i) {
        const QJsonObject track = tracks.at(i).toObject();
        const QString position = textOf(track.value(QLatin1String("position")));
        const QString number = inconsistent ? QString::number(i + 1) : normalizedTrack(position);
        const QString disc = inconsistent ? QStringLiteral("1") : normalizedDisc(position);
        QString titleArtist = removeTrailingDiscogsParentheses(artist(track));
        if (titleArtist.isEmpty())
            titleArtist = release->artist();
        QString title = textOf(track.value(QLatin1String("title")));
        const QString featuring = removeTrailingDiscogsParentheses(featuringArtist(track));
        if (!featuring.isEmpty())
            title = QStringLiteral("%1 (feat. %2)").arg(title, featuring);

        release->addTrack(number);
        release->addDisc(disc);
        release->addTitleArtist(titleArtist);
        release->addTitle(title);
        release->addFlag(1);
    }
    return release;
}

QString Json2ReleaseWalker::artist(const QJsonObject &object) const
{
    const QJsonArray artists = arrayOf(object.value(QLatin1String("artists")));
    if (artists.isEmpty())
        return {};
    return textOf(artists.first().toObject().value(QLatin1String("name")));
}

QString Json2ReleaseWalker::featuringArtist(const QJsonObject &track) const
{
    for (const QJsonValue &value : arrayOf(track.value(QLatin1String("extraartists")))) {
        const QJsonObject extraArtist = value.toObject();
        if (textOf(extraArtist.value(QLatin1String("role"))) == QLatin1String("Featuring"))
            return textOf(extraArtist.value(QLatin1String("name")));
    }
    return {};
}

bool Json2ReleaseWalker::areTracksInconsistent(const QJsonArray &tracks) const
{
    for (const QJsonValue &value : tracks) {
        const QJsonObject track = value.toObject();
        if (!isTrackEntry(track))
            continue;
        // A missing position matches nothing.
        if (!matchesWhole(consistentPosition(), textOf(track.value(QLatin1String("position")))))
            return true;
    }
    return false;
}

QString Json2ReleaseWalker::normalizedTrack(const QString &position) const
{
    if (matchesWhole(sidePosition(), position)) {
        static const QRegularExpression side(QStringLiteral("[a-zA-Z]([0-9]+)"),
                                             QRegularExpression::CaseInsensitiveOption);
        return QString::number(
            integerValue(QString(position).replace(side, QStringLiteral("\\1"))));
    }
    if (position.contains(u'-')) {
        static const QRegularExpression discTrack(QStringLiteral("[0-9]+-([0-9]+)"),
                                                  QRegularExpression::CaseInsensitiveOption);
        return QString::number(
            integerValue(QString(position).replace(discTrack, QStringLiteral("\\1"))));
    }
    return position;
}

QString Json2ReleaseWalker::normalizedDisc(const QString &position) const
{
    if (matchesWhole(sidePosition(), position)) {
        static const QRegularExpression side(QStringLiteral("([a-zA-Z])[0-9]+"),
                                             QRegularExpression::CaseInsensitiveOption);
        const QString letter = QString(position).replace(side, QStringLiteral("\\1")).toUpper();
        return QString::number(letter.at(0).unicode() - u'A' + 1);
    }
    if (position.contains(u'-')) {
        static const QRegularExpression discTrack(QStringLiteral("([0-9]+)-([0-9]+)"),
                                                  QRegularExpression::CaseInsensitiveOption);
        return QString::number(
            integerValue(QString(position).replace(discTrack, QStringLiteral("\\1"))));
    }
    return QStringLiteral("1");
}

QString Json2ReleaseWalker::removeTrailingDiscogsParentheses(const QString &text) const
{
    // Unicode white space, as the names may carry a no-break space.
    static const QRegularExpression suffix(QStringLiteral("\\s\\([0-9]+\\)$"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    return QString(text).remove(suffix);
}
