#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// Every setting of the application with its type and registered default. The defaults are
// registered as the fallback layer of UserDefaults before any setting is read; the command
// line's -D KEY=VALUE uses the types to parse its values.
namespace SettingsRegistry {

enum class Type {
    Boolean,
    Integer,
    Text,
    List,
};

struct Entry {
    QString key;
    Type type;
    QVariant defaultValue;
    // False for keys that are known but have no registered default (LAST_CAMPAIGN_VERSION).
    bool registered = true;
    // Integers that must not be negative.
    bool isUnsigned = false;
};

// All known keys, registered or not, in a fixed order.
const QList<Entry> &entries();
const Entry *entryForKey(const QString &key);
bool isKnownKey(const QString &key);

// Registers the defaults of every registered key with UserDefaults::shared(). Calling it again
// registers the same values again (harmless).
void registerDefaults();
// Registers the defaults the first time it is called in this process; later calls do nothing.
void registerDefaultsOnce();

// Parses a command-line value by the type of its key: booleans true/false/1/0/yes/no (any case),
// decimal integers, texts as given, lists as JSON arrays. nullopt for an unknown key or a value
// that does not fit the key's type.
std::optional<QVariant> parseValue(const QString &key, const QString &text);

// The choices of the preferences sheet for SCALE_MAX_PIXEL_SIZE, in display order. The labels
// ("300 × 300 px") come from the string table at each call.
struct PixelSizeChoice {
    QString label;
    int value;
};
QList<PixelSizeChoice> pixelSizeChoices();

} // namespace SettingsRegistry
