#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/tagfieldrules.h"
#include "tools/tokenutil.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

PatternElement lit(const char *text)
{
    return PatternElement::literal(QString::fromUtf8(text));
}

PatternElement tok(const char *tokenString)
{
    return TokenUtil::tokenWithTokenString(QString::fromLatin1(tokenString));
}

} // namespace

class TestTokenUtil : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void vocabulary_data();
    void vocabulary();
    void tokenStringsAreExact_data();
    void tokenStringsAreExact();
    void misuseThrows();
    void settableKeysReachSongFields();
    void propertiesReadSongValues();
    void storedFormHasOneEntryRecords();
    void storedPatternSurvivesTheIniStore();
    void storedFormToleratesForeignElements();
    void tokenInsertion_data();
    void tokenInsertion();
    void insertionReplacesSelection_data();
    void insertionReplacesSelection();
    void typedAndShownText();

private:
    QTemporaryDir m_dir;
};

void TestTokenUtil::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
}

void TestTokenUtil::vocabulary_data()
{
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QString>("tokenString");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("settableKey");
    QTest::addColumn<QString>("displayKey");

    const struct {
        const char *token, *property, *settable, *display;
    } rows[] = {
        {"Album", "album", "album", "Album"},
        {"Album Artist", "albumArtist", "albumArtist", "AlbumArtist"},
        {"Artist", "artist", "artist", "Artist"},
        {"Disc", "discNumber", "disc", "Disc"},
        {"Disc Total", "discCount", "discCount", "DiscTotal"},
        {"Genre", "genre", "genre", "Genre"},
        {"Title", "title", "title", "Title"},
        {"Track", "trackNumber", "track", "Track"},
        {"Track Total", "trackCount", "trackCount", "TrackTotal"},
        {"Year", "year", "year", "Year"},
        {"Comment", "comment", "comment", "Comment"},
        {"Composer", "composer", "composer", "Composer"},
        {"Bitrate", "bitrate", "bitrate", nullptr},
        {"Length", "length", "length", nullptr},
        {"File Name", "fileName", "fileName", "FileName"},
        {"File Path", "filePath", "filePath", "FilePath"},
    };
    uint tag = 0;
    for (const auto &row : rows) {
        QTest::newRow(row.token) << tag++ << row.token << row.property << row.settable
                                 << (row.display ? QString::fromLatin1(row.display) : QString());
    }
}

void TestTokenUtil::vocabulary()
{
    QFETCH(uint, tag);
    QFETCH(QString, tokenString);
    QFETCH(QString, property);
    QFETCH(QString, settableKey);
    QFETCH(QString, displayKey);

    QCOMPARE(TokenUtil::tokenStrings().size(), TokenCount);
    QCOMPARE(TokenUtil::tokenStrings().at(tag), tokenString);
    const PatternElement token = TokenUtil::tokenWithTag(tag);
    QVERIFY(TokenUtil::isToken(token));
    QVERIFY(TokenUtil::isToken(token.toVariant()));
    QCOMPARE(TokenUtil::stringFromToken(token), tokenString);
    QCOMPARE(TokenUtil::tokenWithTokenString(tokenString), token);
    QCOMPARE(TokenUtil::propertyStringFromToken(token), property);
    QCOMPARE(TokenUtil::propertyStringFromTag(tokenString), property);
    QCOMPARE(TokenUtil::propertyStringKVOCompliantFromTag(tokenString), settableKey);

    const QString shown = TokenUtil::localizedTokenString(tokenString);
    if (displayKey.isEmpty()) {
        QCOMPARE(shown, tokenString);
    } else {
        // The display name comes from the string table, which has an entry for every key.
        QCOMPARE(shown, Localized::text(displayKey));
        QVERIFY2(shown != displayKey || displayKey == tokenString, qPrintable(displayKey));
        QVERIFY(!shown.isEmpty());
    }
}

void TestTokenUtil::tokenStringsAreExact_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isTokenString");

    QTest::newRow("with its blank") << "Album Artist" << true;
    QTest::newRow("lower case") << "album artist" << false;
    QTest::newRow("display key") << "AlbumArtist" << false;
    QTest::newRow("trailing blank") << "Album Artist " << false;
    QTest::newRow("leading blank") << " Track" << false;
    QTest::newRow("property name") << "trackNumber" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("null") << QString() << false;
    QTest::newRow("Track Total") << "Track Total" << true;
    QTest::newRow("File Path") << "File Path" << true;
}

void TestTokenUtil::tokenStringsAreExact()
{
    QFETCH(QString, text);
    QFETCH(bool, isTokenString);

    QCOMPARE(TokenUtil::isTokenString(text), isTokenString);
    QCOMPARE(TokenUtil::propertyStringFromTag(text).isNull(), !isTokenString);
    QCOMPARE(TokenUtil::propertyStringKVOCompliantFromTag(text).isNull(), !isTokenString);
    if (!isTokenString)
        QCOMPARE(TokenUtil::localizedTokenString(text), text);
}

void TestTokenUtil::misuseThrows()
{
    try {
        TokenUtil::tokenWithTokenString(QStringLiteral("Tracks"));
        QFAIL("no exception for a text that is no token string");
    } catch (const InvalidTokenString &error) {
        QVERIFY(error.reason().contains(QStringLiteral("Tracks")));
        QCOMPARE(QString::fromUtf8(error.what()), error.reason());
    }
    try {
        TokenUtil::stringFromToken(lit("Title"));
        QFAIL("no exception for a literal taken as a token");
    } catch (const InvalidToken &error) {
        QVERIFY(error.reason().contains(QStringLiteral("Title")));
    }
    QVERIFY_THROWS_EXCEPTION(InvalidToken, TokenUtil::propertyStringFromToken(lit("x")));
    QVERIFY_THROWS_EXCEPTION(InvalidTokenTag, TokenUtil::tokenWithTag(16));
    // All of them are standard logic errors, so a catch-all for programming errors sees them.
    QVERIFY_THROWS_EXCEPTION(std::logic_error, TokenUtil::tokenWithTokenString(QString()));
    QVERIFY(!TokenUtil::isToken(QVariant(QStringLiteral("Title"))));
}

void TestTokenUtil::settableKeysReachSongFields()
{
    // The TSV import writes a column through its settable key: every key that names a stored
    // field must reach that field by name.
    Song song;
    song.setFilePath(QStringLiteral("/music/a.mp3"));
    const QHash<QString, QString> values{
        {"Album", "Al"}, {"Album Artist", "AA"}, {"Artist", "Ar"}, {"Disc", "1/2"}, {"Genre", "Ge"},
        {"Title", "Ti"}, {"Track", "03/12"}, {"Comment", "Co"}, {"Composer", "Cp"}, {"File Name", "b.mp3"},
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        song.setValueForKey(TokenUtil::propertyStringKVOCompliantFromTag(it.key()), it.value());
    song.setValueForKey(TokenUtil::propertyStringKVOCompliantFromTag(QStringLiteral("Year")), QStringLiteral("1999"));
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        QCOMPARE(song.valueForKey(TokenUtil::propertyStringKVOCompliantFromTag(it.key())).toString(), it.value());
    QCOMPARE(song.year(), 1999);
}

void TestTokenUtil::propertiesReadSongValues()
{
    Song song;
    song.setFilePath(QStringLiteral("/music/a.flac"));
    song.setFileName(QStringLiteral("x.y.flac"));
    song.setTrack(QStringLiteral("07/12"));
    song.setDisc(QStringLiteral("/3"));
    const auto read = [&song](const char *token) {
        return song.valueForKey(TokenUtil::propertyStringFromTag(QString::fromLatin1(token)));
    };
    QCOMPARE(read("Track").toInt(), 7);
    QCOMPARE(read("Track Total").toInt(), 12);
    QCOMPARE(read("Disc").toInt(), 0);
    QCOMPARE(read("Disc Total").toInt(), 3);
    QCOMPARE(read("File Name").toString(), QStringLiteral("x.y.flac"));
    QCOMPARE(song.valueForKey(u"fileNameWithoutExtension").toString(), QStringLiteral("x.y"));
    // Derived values cannot be written.
    song.setValueForKey(u"trackNumber", 9);
    QCOMPARE(song.track(), QStringLiteral("07/12"));
}

void TestTokenUtil::storedFormHasOneEntryRecords()
{
    const Pattern pattern{tok("Track"), lit(" - "), tok("Album Artist")};
    const QVariantList stored = PatternUtil::toStoredForm(pattern);
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored[0].typeId(), QMetaType::QVariantMap);
    QCOMPARE(stored[0].toMap(), (QVariantMap{{"tokenField", "Track"}}));
    QCOMPARE(stored[1].typeId(), QMetaType::QString);
    QCOMPARE(stored[1].toString(), QStringLiteral(" - "));
    QCOMPARE(stored[2].toMap(), (QVariantMap{{"tokenField", "Album Artist"}}));
    QCOMPARE(PatternUtil::fromStoredForm(stored), pattern);
}

void TestTokenUtil::storedPatternSurvivesTheIniStore()
{
    const QString key = QStringLiteral("NAMING_CUSTOM_SCHEME");
    QCOMPARE(PatternUtil::storedPattern(key), Pattern());

    const Pattern pattern{lit("Ü-"), tok("Track"), lit(" {x} = ; # "), tok("Title"), lit("\"ß\"")};
    PatternUtil::storePattern(pattern, key);
    UserDefaults::shared().synchronize();
    // Reopening reads the file anew.
    const QString path = UserDefaults::shared().storePath();
    UserDefaults::shared().openStore(path);
    QCOMPARE(describePattern(PatternUtil::storedPattern(key)), describePattern(pattern));
    QVERIFY(QSettings(path, QSettings::IniFormat).contains(key));

    PatternUtil::storePattern({}, key);
    UserDefaults::shared().synchronize();
    UserDefaults::shared().openStore(path);
    QCOMPARE(PatternUtil::storedPattern(key), Pattern());
}

void TestTokenUtil::storedFormToleratesForeignElements()
{
    // Written by hand or by an older version: a record with another key is still a token (one
    // that names nothing), a number is literal text, a nested list is dropped.
    const QVariantList stored{QVariantMap{{"other", "Title"}}, 7, QVariantList{1}, QStringLiteral("a")};
    const Pattern pattern = PatternUtil::fromStoredForm(stored);
    QCOMPARE(describePattern(pattern), QStringLiteral("{}[7][a]"));
    QVERIFY(TokenUtil::propertyStringFromToken(pattern[0]).isNull());
}

void TestTokenUtil::tokenInsertion_data()
{
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<int>("caret");
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caretAfter");

    const Pattern trackTitle{tok("Track"), lit(" - "), tok("Title")};
    QTest::newRow("inside a literal") << Pattern{lit("01 "), tok("Title")} << 1 << 2u
                                      << "[0]{Artist}[1 ]{Title}" << 2;
    QTest::newRow("before the literal") << trackTitle << 1 << 2u << "{Track}{Artist}[ - ]{Title}" << 2;
    QTest::newRow("before Title") << trackTitle << 4 << 2u << "{Track}[ - ]{Artist}{Title}" << 5;
    QTest::newRow("at the end") << trackTitle << 5 << 2u << "{Track}[ - ]{Title}{Artist}" << 6;
    QTest::newRow("past the end") << trackTitle << 40 << 9u << "{Track}[ - ]{Title}{Year}" << 6;
    QTest::newRow("at the start") << trackTitle << 0 << 0u << "{Album}{Track}[ - ]{Title}" << 1;
    QTest::newRow("empty pattern") << Pattern() << 0 << 6u << "{Title}" << 1;
    QTest::newRow("end of a final literal") << Pattern{lit("ab")} << 2 << 6u << "[ab]{Title}" << 3;
    QTest::newRow("Unicode literal") << Pattern{lit("Ünï")} << 2 << 6u << "[Ün]{Title}[ï]" << 3;
}

void TestTokenUtil::tokenInsertion()
{
    QFETCH(Pattern, pattern);
    QFETCH(int, caret);
    QFETCH(uint, tag);
    QFETCH(QString, expected);
    QFETCH(int, caretAfter);

    const TagFieldRules::Insertion insertion = TagFieldRules::addToken(pattern, caret, tag);
    QCOMPARE(describePattern(insertion.pattern), expected);
    QCOMPARE(insertion.caret, caretAfter);
}

void TestTokenUtil::insertionReplacesSelection_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");

    // Pattern [Track][ - ]{Title}[ (live)]: positions Track 0, " - " 1-3, Title 4, " (live)" 5-11.
    QTest::newRow("no selection") << 4 << 0 << "{Track}[ - ]{Artist}{Title}[ (live)]";
    QTest::newRow("a token") << 4 << 1 << "{Track}[ - ]{Artist}[ (live)]";
    QTest::newRow("part of a literal") << 2 << 1 << "{Track}[ ]{Artist}[ ]{Title}[ (live)]";
    QTest::newRow("across a token") << 3 << 3 << "{Track}[ -]{Artist}[(live)]";
    QTest::newRow("everything") << 0 << 12 << "{Artist}";
}

void TestTokenUtil::insertionReplacesSelection()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);

    const Pattern pattern{tok("Track"), lit(" - "), tok("Title"), lit(" (live)")};
    QCOMPARE(PatternUtil::width(pattern), 12);
    const TagFieldRules::Insertion insertion = TagFieldRules::addToken(pattern, start, length, 2u);
    QCOMPARE(describePattern(insertion.pattern), expected);
    QCOMPARE(insertion.caret, start + 1);
}

void TestTokenUtil::typedAndShownText()
{
    QCOMPARE(TagFieldRules::elementForTypedText(QStringLiteral("Title")), tok("Title"));
    QCOMPARE(TagFieldRules::elementForTypedText(QStringLiteral("title")), lit("title"));
    QCOMPARE(TagFieldRules::elementForTypedText(QStringLiteral("Title ")), lit("Title "));
    QCOMPARE(TagFieldRules::elementForTypedText(QStringLiteral("Track Total")), tok("Track Total"));

    QCOMPARE(TagFieldRules::displayText(tok("Track Total")), Localized::text("TrackTotal"));
    QCOMPARE(TagFieldRules::displayText(tok("Bitrate")), QStringLiteral("Bitrate"));
    QCOMPARE(TagFieldRules::displayText(lit("Track Total")), QStringLiteral("Track Total"));
    QVERIFY(TagFieldRules::isDrawnAsToken(tok("Year")));
    QVERIFY(!TagFieldRules::isDrawnAsToken(lit("Year")));
    QVERIFY(!TagFieldRules::editableText(tok("Year")).has_value());
    QCOMPARE(TagFieldRules::editableText(lit(" - ")).value_or(QString()), QStringLiteral(" - "));
}

QTEST_GUILESS_MAIN(TestTokenUtil)
#include "test_tokenutil.moc"
