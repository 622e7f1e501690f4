#include "editor/settingsregistry.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QTest>

using SettingsRegistry::Type;

class TestSettingsRegistry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void registeredDefaultsReadBack_data();
    void registeredDefaultsReadBack();
    void everyRegisteredKeyHasItsType();
    void lastCampaignVersionIsKnownButNotRegistered();
    void radioGroupsHaveExactlyOneChoiceOn_data();
    void radioGroupsHaveExactlyOneChoiceOn();
    void freshStoreHidesAllButFourColumns();
    void storedValueWinsOverDefault();

    void parsesValuesByType_data();
    void parsesValuesByType();
    void rejectsValuesThatDoNotFit_data();
    void rejectsValuesThatDoNotFit();

    void pixelSizeChoices();

private:
    QTemporaryDir m_dir;
};

void TestSettingsRegistry::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UserDefaults::shared().openStore(m_dir.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
    QVERIFY(Localized::installStringTable());
}

void TestSettingsRegistry::init()
{
    UserDefaults::shared().openStore(m_dir.filePath(QStringLiteral("settings.ini")));
    for (const SettingsRegistry::Entry &entry : SettingsRegistry::entries())
        UserDefaults::shared().removeObjectForKey(entry.key);
}

void TestSettingsRegistry::registeredDefaultsReadBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("cds only") << "SEARCH_FOR_CDS_ONLY" << QVariant(true);
    QTest::newRow("id3v1") << "WRITE_ID3_V1_TAGS" << QVariant(false);
    QTest::newRow("leading zero") << "NUMBERING_LEADING_ZERO" << QVariant(true);
    QTest::newRow("naming track artist title") << "NAMING_TRACK_ARTIST_AND_TITLE" << QVariant(true);
    QTest::newRow("naming hyphen") << "NAMING_SEPARATE_BY_HYPHEN" << QVariant(true);
    QTest::newRow("restore panels") << "RESTORE_PANELS_ON_STARTUP" << QVariant(true);
    QTest::newRow("extraction source") << "EXTRACTION_SOURCE" << QVariant(QStringLiteral("fileNameWithoutExtension"));
    QTest::newRow("composition target") << "COMPOSITION_TARGET" << QVariant(QStringLiteral("title"));
    QTest::newRow("store domain") << "AMAZON_TLD" << QVariant(QStringLiteral(".com"));
    QTest::newRow("single click") << "SINGLE_CLICK_TO_EDIT" << QVariant(true);
    QTest::newRow("scale") << "SCALE_IMAGES" << QVariant(false);
    QTest::newRow("pixel size") << "SCALE_MAX_PIXEL_SIZE" << QVariant(qint64(500));
    QTest::newRow("windows names") << "ENSURE_VALID_WINDOWS_FILES" << QVariant(true);
    QTest::newRow("api url") << "DISCOGS_API_URL" << QVariant(QStringLiteral("https://api.discogs.com"));
    QTest::newRow("token") << "DISCOGS_TOKEN" << QVariant(QString());
    QTest::newRow("player command") << "LIBRARY_HANDOFF_COMMAND" << QVariant(QString());
    QTest::newRow("genres") << "GENRE_HISTORY" << QVariant(QVariantList());
    QTest::newRow("naming scheme") << "NAMING_CUSTOM_SCHEME" << QVariant(QVariantList());
}

void TestSettingsRegistry::registeredDefaultsReadBack()
{
    QFETCH(QString, key);
    QFETCH(QVariant, expected);
    const UserDefaults &defaults = UserDefaults::shared();
    QVERIFY(defaults.isRegistered(key));
    switch (expected.typeId()) {
    case QMetaType::Bool:
        QCOMPARE(defaults.boolForKey(key), expected.toBool());
        break;
    case QMetaType::LongLong:
        QCOMPARE(defaults.integerForKey(key), expected.toLongLong());
        break;
    case QMetaType::QVariantList:
        QCOMPARE(defaults.arrayForKey(key), expected.toList());
        break;
    default:
        QCOMPARE(defaults.stringForKey(key), expected.toString());
    }
}

void TestSettingsRegistry::everyRegisteredKeyHasItsType()
{
    // 57 keys of the settings table (one of them unregistered), the two lookup settings and the
    // player's command.
    QCOMPARE(SettingsRegistry::entries().size(), 60);
    QStringList registered;
    for (const SettingsRegistry::Entry &entry : SettingsRegistry::entries()) {
        if (!entry.registered)
            continue;
        registered.append(entry.key);
        const QVariant value = UserDefaults::shared().registeredValue(entry.key);
        switch (entry.type) {
        case Type::Boolean: QCOMPARE(value.typeId(), int(QMetaType::Bool)); break;
        case Type::Integer: QCOMPARE(value.typeId(), int(QMetaType::LongLong)); break;
        case Type::Text: QCOMPARE(value.typeId(), int(QMetaType::QString)); break;
        case Type::List: QCOMPARE(value.typeId(), int(QMetaType::QVariantList)); break;
        }
    }
    registered.sort();
    QCOMPARE(UserDefaults::shared().registeredKeys(), registered);
}

void TestSettingsRegistry::lastCampaignVersionIsKnownButNotRegistered()
{
    QVERIFY(SettingsRegistry::isKnownKey(QStringLiteral("LAST_CAMPAIGN_VERSION")));
    QVERIFY(!UserDefaults::shared().isRegistered(QStringLiteral("LAST_CAMPAIGN_VERSION")));
    QVERIFY(!UserDefaults::shared().objectForKey(QStringLiteral("LAST_CAMPAIGN_VERSION")).isValid());
    QVERIFY(!SettingsRegistry::isKnownKey(QStringLiteral("NO_SUCH_KEY")));
    QVERIFY(!SettingsRegistry::isKnownKey(QStringLiteral("numbering_leading_zero")));
}

void TestSettingsRegistry::radioGroupsHaveExactlyOneChoiceOn_data()
{
    QTest::addColumn<QStringList>("group");
    QTest::newRow("naming") << QStringList{"NAMING_ARTIST_AND_TITLE", "NAMING_TRACK_AND_TITLE",
                                           "NAMING_TRACK_ARTIST_AND_TITLE", "NAMING_CUSTOM"};
    QTest::newRow("capitalization") << QStringList{"CAPITALIZATION_TITLE_CASE", "CAPITALIZATION_UPPER_CASE",
                                                   "CAPITALIZATION_LOWER_CASE"};
    QTest::newRow("extraction") << QStringList{"EXTRACT_TRACK_AND_TITLE", "EXTRACT_TRACK_ARTIST_AND_TITLE",
                                               "EXTRACT_CUSTOM"};
    QTest::newRow("composition") << QStringList{"COMPOSE_TITLE_AND_TRACK", "COMPOSE_CUSTOM"};
}

void TestSettingsRegistry::radioGroupsHaveExactlyOneChoiceOn()
{
    QFETCH(QStringList, group);
    int on = 0;
    for (const QString &key : group) {
        QVERIFY2(UserDefaults::shared().isRegistered(key), qPrintable(key));
        on += UserDefaults::shared().boolForKey(key) ? 1 : 0;
    }
    QCOMPARE(on, 1);
}

void TestSettingsRegistry::freshStoreHidesAllButFourColumns()
{
    QStringList shown;
    for (const SettingsRegistry::Entry &entry : SettingsRegistry::entries()) {
        if (entry.key.startsWith(QStringLiteral("COLUMN_HIDE_")) && !UserDefaults::shared().boolForKey(entry.key))
            shown.append(entry.key.mid(12));
    }
    QCOMPARE(shown, (QStringList{"TRACK", "TITLE", "ARTIST", "FILE_NAME"}));
}

void TestSettingsRegistry::storedValueWinsOverDefault()
{
    UserDefaults &defaults = UserDefaults::shared();
    defaults.setBool(false, QStringLiteral("NUMBERING_LEADING_ZERO"));
    QCOMPARE(defaults.boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")), false);
    // Registering again (a second controller, the command line) does not undo the stored value.
    SettingsRegistry::registerDefaultsOnce();
    SettingsRegistry::registerDefaults();
    QCOMPARE(defaults.boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")), false);
    defaults.removeObjectForKey(QStringLiteral("NUMBERING_LEADING_ZERO"));
    QCOMPARE(defaults.boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")), true);
}

void TestSettingsRegistry::parsesValuesByType_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");

    const QString flag = QStringLiteral("SCALE_IMAGES");
    QTest::newRow("true") << flag << "true" << QVariant(true);
    QTest::newRow("TRUE") << flag << "TRUE" << QVariant(true);
    QTest::newRow("1") << flag << "1" << QVariant(true);
    QTest::newRow("yes") << flag << "Yes" << QVariant(true);
    QTest::newRow("false") << flag << "false" << QVariant(false);
    QTest::newRow("0") << flag << "0" << QVariant(false);
    QTest::newRow("no") << flag << "no" << QVariant(false);
    QTest::newRow("integer") << "SCALE_MAX_PIXEL_SIZE" << "1200" << QVariant(qint64(1200));
    QTest::newRow("integer blanks") << "SCALE_MAX_PIXEL_SIZE" << " 300 " << QVariant(qint64(300));
    QTest::newRow("text") << "AMAZON_TLD" << ".de" << QVariant(QStringLiteral(".de"));
    QTest::newRow("text kept as given") << "COMPOSITION_TARGET" << " album " << QVariant(QStringLiteral(" album "));
    QTest::newRow("empty text") << "DISCOGS_TOKEN" << "" << QVariant(QString());
    QTest::newRow("campaign version") << "LAST_CAMPAIGN_VERSION" << "2.3.0" << QVariant(QStringLiteral("2.3.0"));
    QTest::newRow("genre list") << "GENRE_HISTORY" << R"(["Rock", "Jazz"])"
                                << QVariant(QVariantList{QStringLiteral("Rock"), QStringLiteral("Jazz")});
    QTest::newRow("empty list") << "EXTRACT_CUSTOM_SCHEME" << "[]" << QVariant(QVariantList());

    QVariantMap token;
    token.insert(QStringLiteral("tokenField"), QStringLiteral("[Track]"));
    QTest::newRow("pattern") << "NAMING_CUSTOM_SCHEME" << R"([{"tokenField": "[Track]"}, " - "])"
                             << QVariant(QVariantList{token, QStringLiteral(" - ")});
}

void TestSettingsRegistry::parsesValuesByType()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    const std::optional<QVariant> value = SettingsRegistry::parseValue(key, text);
    QVERIFY(value.has_value());
    QCOMPARE(value->typeId(), expected.typeId());
    QCOMPARE(*value, expected);
}

void TestSettingsRegistry::rejectsValuesThatDoNotFit_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    QTest::newRow("unknown key") << "NO_SUCH_KEY" << "true";
    QTest::newRow("key in lower case") << "scale_images" << "true";
    QTest::newRow("boolean word") << "SCALE_IMAGES" << "maybe";
    QTest::newRow("boolean 2") << "SCALE_IMAGES" << "2";
    QTest::newRow("empty boolean") << "SCALE_IMAGES" << "";
    QTest::newRow("integer word") << "SCALE_MAX_PIXEL_SIZE" << "large";
    QTest::newRow("integer fraction") << "SCALE_MAX_PIXEL_SIZE" << "500.5";
    QTest::newRow("negative size") << "SCALE_MAX_PIXEL_SIZE" << "-300";
    QTest::newRow("list not json") << "GENRE_HISTORY" << "Rock, Jazz";
    QTest::newRow("list object") << "GENRE_HISTORY" << R"({"a": 1})";
    QTest::newRow("list unclosed") << "NAMING_CUSTOM_SCHEME" << R"(["a")";
}

void TestSettingsRegistry::rejectsValuesThatDoNotFit()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QVERIFY(!SettingsRegistry::parseValue(key, text).has_value());
}

void TestSettingsRegistry::pixelSizeChoices()
{
    const QList<SettingsRegistry::PixelSizeChoice> choices = SettingsRegistry::pixelSizeChoices();
    QList<int> values;
    for (const auto &choice : choices)
        values.append(choice.value);
    QCOMPARE(values, (QList<int>{300, 500, 600, 900, 1000, 1200, 1400}));
    QCOMPARE(choices.first().label, QStringLiteral("300 × 300 px"));
    QCOMPARE(choices.last().label, QStringLiteral("1400 × 1400 px"));
    // The registered size is one of the choices.
    QVERIFY(values.contains(int(UserDefaults::shared().integerForKey(QStringLiteral("SCALE_MAX_PIXEL_SIZE")))));
}

QTEST_GUILESS_MAIN(TestSettingsRegistry)
#include "test_settingsregistry.moc"
