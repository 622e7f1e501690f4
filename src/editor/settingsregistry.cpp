#include "editor/settingsregistry.h"

#include "model/localized.h"
#include "model/userdefaults.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QVariantHash>

#include <mutex>

namespace SettingsRegistry {

namespace {

Entry boolean(const char *key, bool value)
{
    return Entry{QString::fromLatin1(key), Type::Boolean, QVariant(value)};
}

Entry text(const char *key, const char *value)
{
    return Entry{QString::fromLatin1(key), Type::Text, QVariant(QString::fromUtf8(value))};
}

Entry list(const char *key)
{
    return Entry{QString::fromLatin1(key), Type::List, QVariant(QVariantList())};
}

QList<Entry> makeEntries()
{
    QList<Entry> all = {
        boolean("ALL_IN_ONE_AFTER_APPLY", false),
        boolean("SEARCH_FOR_CDS_ONLY", true),
        boolean("WRITE_ID3_V1_TAGS", false),
        boolean("WRITE_ID3_V23_TAGS", false),
        boolean("NUMBERING_LEADING_ZERO", true),
        boolean("NUMBERING_TRACK_COUNT", true),
        boolean("NAMING_ARTIST_AND_TITLE", false),
        boolean("NAMING_TRACK_AND_TITLE", false),
        boolean("NAMING_TRACK_ARTIST_AND_TITLE", true),
        boolean("NAMING_CUSTOM", false),
        list("NAMING_CUSTOM_SCHEME"),
        boolean("NAMING_SEPARATE_BY_HYPHEN", true),
        boolean("DISABLE_NEW_YORK_STYLE", false),
        boolean("CAPITALIZATION_TITLE_CASE", true),
        boolean("CAPITALIZATION_UPPER_CASE", false),
        boolean("CAPITALIZATION_LOWER_CASE", false),
        boolean("COLUMN_HIDE_TRACK", false),
        boolean("COLUMN_HIDE_TITLE", false),
        boolean("COLUMN_HIDE_ARTIST", false),
        boolean("COLUMN_HIDE_ALBUM_ARTIST", true),
        boolean("COLUMN_HIDE_COMPOSER", true),
        boolean("COLUMN_HIDE_ALBUM", true),
        boolean("COLUMN_HIDE_DISC", true),
        boolean("COLUMN_HIDE_GENRE", true),
        boolean("COLUMN_HIDE_YEAR", true),
        boolean("COLUMN_HIDE_COMMENT", true),
        boolean("COLUMN_HIDE_COMPILATION", true),
        boolean("COLUMN_HIDE_BITRATE", true),
        boolean("COLUMN_HIDE_LENGTH", true),
        boolean("COLUMN_HIDE_FILE_NAME", false),
        boolean("BIND_ALBUM_ARTIST_TO_ARTIST", false),
        boolean("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS", false),
        boolean("CONFIRMED_ADD_TO_ITUNES", false),
        boolean("CONFIRMED_RENAME_RESTRICTION", false),
        boolean("NUMBERING_PANEL_VISIBLE", false),
        boolean("NAMING_PANEL_VISIBLE", false),
        boolean("CAPITALIZATION_PANEL_VISIBLE", false),
        boolean("EXTRACTION_PANEL_VISIBLE", false),
        boolean("LYRICS_PANEL_VISIBLE", false),
        boolean("COMPOSITION_PANEL_VISIBLE", false),
        boolean("RESTORE_PANELS_ON_STARTUP", true),
        boolean("EXTRACT_TRACK_AND_TITLE", true),
        boolean("EXTRACT_TRACK_ARTIST_AND_TITLE", false),
        boolean("EXTRACT_CUSTOM", false),
        list("EXTRACT_CUSTOM_SCHEME"),
        text("EXTRACTION_SOURCE", "fileNameWithoutExtension"),
        boolean("COMPOSE_TITLE_AND_TRACK", true),
        boolean("COMPOSE_CUSTOM", false),
        list("COMPOSE_CUSTOM_SCHEME"),
        text("COMPOSITION_TARGET", "title"),
        text("AMAZON_TLD", ".com"),
        list("GENRE_HISTORY"),
        boolean("SINGLE_CLICK_TO_EDIT", true),
        boolean("SCALE_IMAGES", false),
        Entry{QStringLiteral("SCALE_MAX_PIXEL_SIZE"), Type::Integer, QVariant(qint64(500)), true, true},
        boolean("ENSURE_VALID_WINDOWS_FILES", true),
        text("DISCOGS_API_URL", "https://api.discogs.com"),
        text("DISCOGS_TOKEN", ""),
        // The player's command of the music-library hand-off; empty until the person sets one.
        text("LIBRARY_HANDOFF_COMMAND", ""),
    };
    // Known so that it can be set from the command line, but never registered: its absence
    // means that the review prompt was never answered.
    Entry lastCampaign = text("LAST_CAMPAIGN_VERSION", "");
    lastCampaign.defaultValue = QVariant();
    lastCampaign.registered = false;
    all.append(lastCampaign);
    return all;
}

const QHash<QString, qsizetype> &indexByKey()
{
    static const QHash<QString, qsizetype> index = [] {
        QHash<QString, qsizetype> result;
        const QList<Entry> &all = entries();
        for (qsizetype i = 0; i < all.size(); ++i)
            result.insert(all.at(i).key, i);
        return result;
    }();
    return index;
}

std::optional<QVariant> parseBoolean(const QString &text)
{
    const QString value = text.trimmed().toLower();
    if (value == u"true" || value == u"1" || value == u"yes")
        return QVariant(true);
    if (value == u"false" || value == u"0" || value == u"no")
        return QVariant(false);
    return std::nullopt;
}

std::optional<QVariant> parseInteger(const QString &text, bool isUnsigned)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || (isUnsigned && value < 0))
        return std::nullopt;
    return QVariant(value);
}

std::optional<QVariant> parseList(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    return QVariant(document.array().toVariantList());
}

} // namespace

const QList<Entry> &entries()
{
    static const QList<Entry> all = makeEntries();
    return all;
}

const Entry *entryForKey(const QString &key)
{
    const auto found = indexByKey().constFind(key);
    if (found == indexByKey().constEnd())
        return nullptr;
    return &entries().at(*found);
}

bool isKnownKey(const QString &key)
{
    return entryForKey(key) != nullptr;
}

void registerDefaults()
{
    QVariantHash defaults;
    for (const Entry &entry : entries()) {
        if (entry.registered)
            defaults.insert(entry.key, entry.defaultValue);
    }
    UserDefaults::shared().registerDefaults(defaults);
}

void registerDefaultsOnce()
{
    static std::once_flag once;
    std::call_once(once, registerDefaults);
}

std::optional<QVariant> parseValue(const QString &key, const QString &text)
{
    const Entry *entry = entryForKey(key);
    if (!entry)
        return std::nullopt;
    switch (entry->type) {
    case Type::Boolean:
        return parseBoolean(text);
    case Type::Integer:
        return parseInteger(text, entry->isUnsigned);
    case Type::Text:
        return QVariant(text);
    case Type::List:
        return parseList(text);
    }
    return std::nullopt;
}

QList<PixelSizeChoice> pixelSizeChoices()
{
    static constexpr int Sizes[] = {300, 500, 600, 900, 1000, 1200, 1400};
    QList<PixelSizeChoice> choices;
    for (int size : Sizes)
        choices.append({Localized::text("PixelSizeXByX").arg(size), size});
    return choices;
}

} // namespace SettingsRegistry
